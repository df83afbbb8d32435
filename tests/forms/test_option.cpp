// The registration dialog's handlers against a real folder tree and a real
// settei.ini in the test's own current folder.
#include "core/folder_lists.h"
#include "support/doctest_strings.h"
#include "support/forms_harness.h"

#include <algorithm>
#include <functional>
#include <random>

using namespace zavo;
using namespace zavo::test;
using forms::FormId;

namespace {

const char* const kRegisterError = "登録エラーです";
const char* const kReadError = "読み取りエラー";
const std::array<std::string, 3> kNone{"未登録", "未登録", "未登録"};

// The dialog opened in a fresh folder, after `prepare` has run there.
struct Dialog : Program {
    explicit Dialog(const std::function<void(Program&)>& prepare = {}) {
        if (prepare)
            prepare(*this);
        event([&] { forms.show(FormId::Option); });
    }
    forms::frmOption& form() { return *option(); }
    RecordingOption& view() { return views.option(); }

    // Opens the row of dir_name showing `name` (a subfolder first, else an
    // ancestor), as a double click does.
    void openFolder(const std::string& name) {
        const int row = rowOf(view().folders, name, view().open);
        event([&] { form().dir_name_Open(row); });
    }
    void pick(const std::string& file) { view().selected = rowOf(view().files, file); }
    // The first row from `from` on showing `name`, else the first before it.
    static int rowOf(const std::vector<std::string>& rows, const std::string& name, int from = 0) {
        auto it = std::find(rows.begin() + from, rows.end(), name);
        if (it == rows.end())
            it = std::find(rows.begin(), rows.end(), name);
        REQUIRE(it != rows.end());
        return int(it - rows.begin());
    }
    void touroku() {
        event([&] { form().touroku_Click(); });
    }
};

} // namespace

TEST_CASE("load: the lists start on the current folder, programs only, none selected") {
    // What the system takes for a program: on Windows its name, on Linux the
    // permission to execute it. Listed in the order of the rows: by name,
    // whatever the case.
    struct Row {
        const char* name;
        bool executable;
        bool onWindows, onLinux; // listed
    };
    const Row rows[] = {
        {"a.EXE", true, true, true},         {"b.Exe", false, true, false},
        {"c.txt", false, false, false},      {"e.exe", true, true, true},
        {"exe", true, false, true},          {"f.exe.txt", true, false, true},
        {"mytool", true, false, true},       {"notes", false, false, false},
        {".hidden.exe", true, false, false},
    };
    std::vector<std::string> expected;
    for (const Row& row : rows)
#ifdef _WIN32
        if (row.onWindows)
#else
        if (row.onLinux)
#endif
            expected.push_back(row.name);
    Dialog d([&](Program&) {
        for (const Row& row : rows) {
            row.executable ? makeProgram(row.name) : makeFile(row.name);
            if (row.name[0] == '.')
                hideFile(row.name);
        }
        fs::create_directories("d.exe/sub");
#ifndef _WIN32
        // A link counts by what it leads to.
        fs::create_symlink("mytool", "mytool-link");
        fs::create_symlink("notes", "notes-link");
        fs::create_symlink("gone", "dangling");
        fs::create_symlink("d.exe", "folder-link");
        expected.insert(std::find(expected.begin(), expected.end(), "notes"), "mytool-link");
        fs::permissions("d.exe", fs::perms::all); // a folder may be searched, not run
#endif
    });
    const std::string here = fs::current_path().string();
    CHECK(d.form().dirPath() == here);
    CHECK(d.form().filePath() == here);
    CHECK(d.view().files == expected);
    CHECK(d.view().selected == -1);
    CHECK(d.view().drive >= 0);
    CHECK(d.view().Label == kNone);
    // What a screen reader calls the lists: the folder list with its folder.
    CHECK(d.view().folderListName == "フォルダ " + here);
    CHECK(d.view().fileListName == "ファイル");
    // A folder named like a program is a folder all the same.
    CHECK(std::count(d.view().folders.begin(), d.view().folders.end(), "d.exe") == 1);
    d.openFolder("d.exe");
    CHECK(d.view().files.empty());
    CHECK(d.view().folderListName == "フォルダ " + (fs::path(here) / "d.exe").string());
    CHECK(d.view().fileListName == "ファイルがありません");
}

TEST_CASE("load: an unreadable file is said once the dialog is on screen, which stays usable") {
    Dialog d([](Program& p) { p.rec.failRecordOpen = true; });
    // Said once the dialog is on screen, so it has a window behind it.
    CHECK(d.since(0) == Calls{"open settei.ini", "show option", msg(kRegisterError)});
    CHECK(d.view().Label == kNone);
    CHECK(d.view().visible);
}

TEST_CASE("load shows the registered slots; touroku writes folder and file into the chosen slot, "
          "relabels and beeps; a registered slot is overwritten without asking") {
    const std::string three = recordBytes("/opt/a/", "first.exe") +
                              recordBytes("/opt/b/", "old.exe") + recordBytes("/opt/c/", "x.exe");
    const std::string notepad2 = blankRecord() + recordBytes("/usr/bin/", "notepad.exe");
    struct Row {
        int slot;
        const char* file;
        const char* bytes; // exe_name as code page 932
        const char* label;
        std::string before = "";                         // settei.ini
        std::array<std::string, 3> labelsBefore = kNone; // what load shows of it
    };
    const Row rows[] = {
        {1, "hello.exe", "hello.exe", "hello.exe "},
        {2, "notepad.exe", "notepad.exe", "notepad.ex"},
        {3, "テスト.exe", "\x83\x65\x83\x58\x83\x67.exe", "テスト.exe   "},
        {3, "abcdefghijklmnop.exe", "abcdefghijklmnop.exe", "abcdefghij"}, // 20 bytes
        {1, "テストテストテス.exe",
         "\x83\x65\x83\x58\x83\x67\x83\x65\x83\x58\x83\x67\x83\x65\x83\x58.exe",
         "テストテストテス.e"}, // 20 bytes in 12 characters
        {2, "new.exe", "new.exe", "new.exe   ", three, {"first.exe ", "old.exe   ", "x.exe     "}},
        // Slot 1 reset, slot 2 of eleven characters, slot 3 never written.
        {1, "hello.exe", "hello.exe", "hello.exe ", notepad2, {"未登録", "notepad.ex", "未登録"}},
    };
    for (const Row& row : rows) {
        INFO(std::string(row.file));
        Dialog d([&](Program&) {
            makeProgram(fs::path("apps") / pathOf(row.file));
            makeProgram("apps/other.exe");
            if (!row.before.empty()) // else there is none yet
                writeFile("settei.ini", row.before);
        });
        CHECK(d.since(0) ==
              Calls{"open settei.ini", "read 0", "read 200", "read 400", "close", "show option"});
        std::array<std::string, 3> labels = d.view().Label;
        CHECK(labels == row.labelsBefore);
        d.openFolder("apps");
        const fs::path apps = d.folder.path() / "apps";
        CHECK(d.form().filePath() == apps.string());
        d.pick(row.file);
        d.view().option = row.slot;
        const auto mark = d.mark();
        d.touroku();
        const std::size_t at = 200 * std::size_t(row.slot - 1);
        CHECK(d.since(mark) == Calls{"open settei.ini", "write " + std::to_string(at), "close",
                                     "open settei.ini", "read 0", "read 200", "read 400", "close",
                                     "beep"});
        // Only the chosen record changes; one past the end is reached through NULs.
        CHECK(d.settei() == withRecord(row.before, row.slot, recordBytes(stored(apps), row.bytes)));
        labels[std::size_t(row.slot - 1)] = row.label;
        CHECK(d.view().Label == labels);
        CHECK(d.rec.beeps == 1);
        CHECK(fs::current_path() == d.folder.path()); // browsing does not move it
    }
}

TEST_CASE("touroku in a drive root keeps its one separator") {
    // The root must hold a program to choose; one is put there for the test.
    const fs::path root = fs::temp_directory_path().root_path();
    const std::string name = "zavo-" + std::to_string(std::random_device()()) + ".exe";
    makeProgram(root / name);
    if (!fs::exists(root / name)) {
        MESSAGE("the root folder is not writable here");
        return;
    }
    struct Remove {
        fs::path path;
        ~Remove() { fs::remove(path); }
    } remove{root / name};
    Dialog d;
    d.openFolder(d.view().folders.front());
    REQUIRE(d.form().filePath() == root.string());
    d.pick(name);
    d.touroku();
    CHECK(d.settei() == recordBytes(root.string(), name));
    CHECK(d.rec.beeps == 1);
}

TEST_CASE("touroku refuses what could not be started again, says why, and writes nothing") {
    const std::string before = recordBytes("/opt/a/", "old.exe");
    const std::string folderLimit = "フォルダのパスは半角80文字（全角40文字）までです。";
    const std::string nameLimit = "ファイル名は半角20文字（全角10文字）までです。";
    struct Row {
        const char* what;
        std::string folder; // under the current folder; "" for itself
        const char* file;   // nullptr: none selected
        std::string why;    // the line under the error; "" for none
        int slot = 1;
    };
    const Row rows[] = {
        {"no file selected", "", nullptr, "ファイルが選ばれていません。"},
        {"no slot chosen", "", "a.exe", "", 0},
        {"file name of 21 bytes", "", "abcdefghijklmnopq.exe", nameLimit},
        {"double-byte name of 22 bytes", "", "テストテストテスト.exe", nameLimit},
        {"name outside code page 932", "", "한글.exe", "「한」(U+D55C) は登録できない文字です。"},
        {"folder outside code page 932", "한", "a.exe", "「한」(U+D55C) は登録できない文字です。"},
        // An input method's wave dash; code page 932's is U+FF5E.
        {"folder with U+301C", "a〜b", "a.exe", "「〜」(U+301C) は登録できない文字です。"},
        {"character beyond the BMP", "", "𠀋.exe", "「𠀋」(U+2000B) は登録できない文字です。"},
        {"folder of 81 bytes", "*81", "a.exe", folderLimit},
    };
    for (const Row& row : rows) {
        INFO(std::string(row.what));
        fs::path where;
        Dialog d([&](Program&) {
            std::string sub = row.folder;
            if (sub == "*81") // a folder whose stored form takes 81 bytes
                sub = std::string(81 - stored(fs::current_path()).size() - 1, 'a');
            where = sub.empty() ? fs::current_path() : fs::current_path() / pathOf(sub);
            makeProgram(where / pathOf(row.file ? row.file : "a.exe"));
            writeFile("settei.ini", before);
        });
        if (where != d.folder.path())
            d.openFolder(where.filename().string());
        REQUIRE(d.form().filePath() == where.string());
        if (row.file)
            d.pick(row.file);
        d.view().option = row.slot;
        const auto mark = d.mark();
        d.touroku();
        const Calls calls = d.since(mark);
        REQUIRE(!calls.empty());
        CHECK(calls.back() ==
              msg(std::string(kRegisterError) + (row.why.empty() ? "" : "\n" + row.why)));
        CHECK(d.settei() == before);
        CHECK(d.rec.beeps == 0);
        CHECK(d.view().Label[0] == "old.exe   ");
        CHECK(!d.module1.settei.is_open());
    }
}

TEST_CASE("reset: No changes nothing; Yes blanks all three records, or says it cannot") {
    const std::string before = recordBytes("/opt/a/", "first.exe") +
                               recordBytes("/opt/b/", "second.exe") +
                               recordBytes("/opt/c/", "third.exe");
    const std::array<std::string, 3> labels{"first.exe ", "second.exe", "third.exe "};
    for (const int answer : {platform::vbNo, platform::vbYes})
        for (const bool canWrite : {true, false}) {
            CAPTURE(answer);
            CAPTURE(canWrite);
            Dialog d([&](Program&) { writeFile("settei.ini", before); });
            d.rec.answers = {answer};
            d.rec.failRecordOpen = !canWrite;
            const auto mark = d.mark();
            d.event([&] { d.form().reset_Click(); });
            // No is the default answer (style 4 + 256).
            Calls expected{msg("登録状況をリセットしますか？", 260), "open settei.ini"};
            if (canWrite)
                expected.insert(expected.end(),
                                {"write 0", "write 200", "write 400", "close", "beep"});
            else
                expected.push_back(msg(kRegisterError));
            if (answer == platform::vbNo)
                expected.resize(1);
            const bool wiped = answer == platform::vbYes && canWrite;
            CHECK(d.since(mark) == expected);
            CHECK(d.settei() == (wiped ? blankRecord() + blankRecord() + blankRecord() : before));
            CHECK(d.view().Label == (wiped ? kNone : labels));
            CHECK(d.rec.beeps == int(wiped));
        }
}

TEST_CASE("browsing moves both lists, up and down, never the current folder; a folder that "
          "cannot be listed: read error, lists unchanged, dialog usable") {
    for (const bool replacedByFile : {false, true}) {
        CAPTURE(replacedByFile);
        Dialog d([](Program&) {
            makeProgram("one/two/deep.exe");
            makeProgram("one/first.exe");
            makeProgram("top.exe");
            fs::create_directories("one/gone");
        });
        const fs::path here = d.folder.path(), one = here / "one";
        d.openFolder("one");
        d.openFolder("two");
        CHECK(d.form().dirPath() == (one / "two").string());
        CHECK(d.view().files == std::vector<std::string>{"deep.exe"});
        d.openFolder(here.filename().string()); // an ancestor row
        CHECK(d.form().filePath() == here.string());
        CHECK(d.view().files == std::vector<std::string>{"top.exe"});
        CHECK(fs::current_path() == here);
        CHECK(d.rec.beeps == 0);

        d.openFolder("one");
        const RecordingOption before = d.view();
        // Listed a moment ago, gone by the time it is opened.
        fs::remove_all("one/gone");
        if (replacedByFile)
            makeFile("one/gone");
        const auto mark = d.mark();
        d.openFolder("gone");
        CHECK(d.since(mark) == Calls{msg(kReadError)});
        CHECK(d.form().dirPath() == one.string());
        CHECK(d.form().filePath() == one.string());
        CHECK(d.view().folders == before.folders);
        CHECK(d.view().files == before.files);
        CHECK(d.view().folderListName == before.folderListName);
        CHECK(d.view().fileListName == before.fileListName);
        d.pick("first.exe");
        d.touroku();
        CHECK(d.settei() == recordBytes(stored(one), "first.exe"));
    }
}

TEST_CASE("Drv_name_Change moves both lists to the drive's folder, and back") {
    const std::vector<std::string> roots = platform::folder_lists::driveRoots();
    Dialog d([](Program&) { makeProgram("sub/x.exe"); });
    d.openFolder("sub");
    const int home = d.view().drive;
    REQUIRE(home >= 0);
    const auto listable = [](const std::string& root) {
        std::error_code ec;
        fs::directory_iterator it(pathOf(root), ec);
        return !ec;
    };

    for (std::size_t i = 0; i < roots.size(); ++i) {
        if (int(i) == home || !listable(roots[i]) || roots[i].starts_with("/proc"))
            continue;
        d.event([&] { d.form().Drv_name_Change(int(i)); });
        CHECK(d.form().dirPath() == roots[i]);
        CHECK(d.form().filePath() == roots[i]);
        // Each drive keeps the folder last shown on it.
        d.event([&] { d.form().Drv_name_Change(home); });
        CHECK(d.form().dirPath() == (d.folder.path() / "sub").string());
        CHECK(d.view().files == std::vector<std::string>{"x.exe"});
        CHECK(d.rec.calls.back() == "show option"); // no message
        break;
    }
    for (std::size_t i = 0; i < roots.size(); ++i) {
        if (listable(roots[i]))
            continue;
        // A drive without a medium: the drive list shows it, the rest stays.
        const RecordingOption before = d.view();
        d.event([&] { d.form().Drv_name_Change(int(i)); });
        CHECK(d.rec.calls.back() == msg(kReadError));
        CHECK(d.form().dirPath() == (d.folder.path() / "sub").string());
        CHECK(d.view().folders == before.folders);
        CHECK(d.view().files == before.files);
        return;
    }
    MESSAGE("every drive can be listed here; the failing change is not tried");
}
