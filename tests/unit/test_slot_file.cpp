// settei.ini through SlotFile, against bytes written by the test itself.
#include "core/slot_file.h"
#include "platform/fake/recording_services.h"
#include "support/doctest_strings.h"
#include "support/scratch_folder.h"
#include "support/settei_bytes.h"

#include <string>

using namespace zavo;
using namespace std::string_literals;
using test::fromHex;
using test::recordBytes;

namespace {

std::u16string nul(std::size_t n) {
    return std::u16string(n, u'\0');
}
std::u16string blanks(std::size_t n) {
    return std::u16string(n, u' ');
}
std::u16string bad(std::size_t n = 1) {
    return std::u16string(n, u'\xFFFD');
}
// `s` n times: narrow or wide, a string or a literal.
auto repeat(const auto& s, std::size_t n) {
    decltype(std::basic_string(s)) out;
    while (n--)
        out += s;
    return out;
}

// C:\Program Files\テスト\  and  ソフト.exe  in code page 932; ソ is 83 5C.
const std::string kJapaneseDir = fromHex("433a5c50726f6772616d2046696c65735c8365835883675c");
const std::string kJapaneseExe = fromHex("835c837483672e657865");
const std::string kHyou = fromHex("955c"); // 表
constexpr std::size_t kMiB = 1 << 20;

core::SlotRecord assigned(const std::u16string& dir, const std::u16string& exe) {
    core::SlotRecord r;
    r.assign_dir_path(dir);
    r.assign_exe_name(exe);
    return r;
}

// settei.ini in a scratch folder of its own, missing or holding `bytes`, and
// a SlotFile on it through the recording services.
struct Settei {
    Settei() : path(dir.file("settei.ini")), file(services, path) {}
    explicit Settei(const std::string& bytes) : Settei() { test::writeFile(path, bytes); }

    // Opens the file, writes `r` as `record` and closes it again.
    bool write(int record, const core::SlotRecord& r) {
        REQUIRE(file.open());
        const bool written = file.write_record(record, r);
        file.close();
        return written;
    }
    std::string bytes() const { return test::readFile(path); }

    test::ScratchFolder dir;
    std::string path;
    platform::RecordingServices services;
    core::SlotFile file;
};

} // namespace

TEST_CASE("records read as stored") {
    const std::string win = "C:\\WINDOWS\\";
    const std::u16string w = u"C:\\WINDOWS\\";
    const std::string only3 = std::string(400, '\0') + recordBytes("C:\\TOOLS\\", "grep.exe");
    const std::string reset = repeat(recordBytes("", ""), 3);
    const std::string three =
        recordBytes("A\\", "a.exe") + recordBytes("B\\", "b.exe") + recordBytes("C\\", "c.exe");
    std::string three1MiB = three;
    three1MiB.resize(kMiB, '\x7f');
    struct Row {
        const char* name;
        std::string file;
        int record;
        bool registered;
        std::u16string caption;
        std::u16string commandLine;
    };
    const Row rows[] = {
        {"empty file, record 1", "", 1, false, nul(10), nul(100)},
        {"empty file, record 3", "", 3, false, nul(10), nul(100)},
        {"only record 3 written: record 2", only3, 2, false, nul(10), nul(100)},
        {"only record 3 written: record 3", only3, 3, true, u"grep.exe  ", u"C:\\TOOLS\\grep.exe"},
        {"reset: record 1", reset, 1, false, blanks(10), u""},
        {"reset: record 3", reset, 3, false, blanks(10), u""},
        {"eight characters keep their padding", recordBytes(win, "calc.exe"), 1, true,
         u"calc.exe  ", w + u"calc.exe"},
        {"eleven characters", recordBytes(win, "notepad.exe"), 1, true, u"notepad.ex",
         w + u"notepad.exe"},
        {"26 characters, stored cut to 20", recordBytes(win, "abcdefghijklmnopqrstuvwxyz.exe"), 1,
         true, u"abcdefghij", w + u"abcdefghijklmnopqrst"},
        {"blank first, name within ten", recordBytes(win, " calc.exe"), 1, true, u" calc.exe ",
         w + u" calc.exe"},
        {"ten blanks, then characters", recordBytes(win, "          x.exe"), 1, false, blanks(10),
         w + blanks(10) + u"x.exe"},
        {"NUL first, then a name", recordBytes(win, "\0calc.exe"s), 1, false, u"\0calc.exe "s,
         w + u"\0calc.exe"s},
        {"folder and no file name", recordBytes(win, ""), 1, false, blanks(10), w},
        {"record 2 among three", three, 2, true, u"b.exe     ", u"B\\b.exe"},
        {"code page 932, 0x5C second bytes", recordBytes(kJapaneseDir, kJapaneseExe), 1, true,
         u"ソフト.exe   ", u"C:\\Program Files\\テスト\\ソフト.exe"},
        {"表 in the folder", recordBytes("C:\\" + kHyou + "\\", "a.exe"), 1, true, u"a.exe     ",
         u"C:\\表\\a.exe"},
        {"full-width name", recordBytes("", fromHex("8250814696a2936f985e")), 1, true,
         u"１：未登録" + blanks(5), u"１：未登録"},
        {"invalid bytes FF 80 A0 FD", recordBytes(win, fromHex("ff80a0fd2e657865")), 1, true,
         bad(4) + u".exe  ", w + bad(4) + u".exe"},
        {"invalid pair 81 20", recordBytes(win, fromHex("8120612e657865")), 1, true,
         bad() + u" a.exe   ", w + bad() + u" a.exe"},
        {"lone lead byte ends exe_name", recordBytes(win, "abcdefghijklmnopqrs\x81"), 1, true,
         u"abcdefghij", w + u"abcdefghijklmnopqrs" + bad()},
        // The lead byte must not swallow the first byte of the next field.
        {"lone lead byte ends dir_path", recordBytes(std::string(79, 'a') + '\x81', "@x.exe"), 1,
         true, u"@x.exe    ", std::u16string(79, u'a') + bad() + u"@x.exe"},
        {"50-byte file: record 1", std::string(50, 'A'), 1, false, nul(10),
         std::u16string(50, u'A') + nul(50)},
        {"50-byte file: record 2", std::string(50, 'A'), 2, false, nul(10), nul(100)},
        {"file ends inside exe_name", recordBytes("C:\\", "notepad.exe").substr(0, 85), 1, true,
         u"notep" + nul(5), u"C:\\notep" + nul(15)},
        {"1 MiB of FF", std::string(kMiB, '\xff'), 2, true, bad(10), bad(100)},
        {"1 MiB file: record 3", three1MiB, 3, true, u"c.exe     ", u"C\\c.exe"},
    };
    for (const Row& row : rows) {
        CAPTURE(row.name);
        Settei s(row.file);
        REQUIRE(s.file.open());
        core::SlotRecord r = assigned(u"stale\\", u"stale.exe"); // every field is overwritten
        REQUIRE(s.file.read_record(row.record, r));
        s.file.close();
        CHECK(r.dir_path.size() == core::kDirPathWidth);
        CHECK(r.exe_name.size() == core::kExeNameWidth);
        CHECK(core::slot_registered(r) == row.registered);
        CHECK(core::slot_caption(r) == row.caption);
        CHECK(core::slot_command_line(r) == row.commandLine);
        CHECK_MESSAGE((s.bytes() == row.file), "reading changed the file");
    }
}

TEST_CASE("records written as bytes") {
    struct Row {
        const char* name;
        int record;
        std::u16string dir, exe;
        std::string data; // the 100 data bytes on disk
        std::u16string dirBack, exeBack;
    };
    const std::u16string jDir = u"C:\\Program Files\\テスト\\";
    const Row rows[] = {
        {"record 1", 1, u"C:\\WINDOWS\\", u"notepad.exe",
         recordBytes("C:\\WINDOWS\\", "notepad.exe"), u"C:\\WINDOWS\\" + blanks(69),
         u"notepad.exe" + blanks(9)},
        {"record 2", 2, u"D:\\", u"a.exe", recordBytes("D:\\", "a.exe"), u"D:\\" + blanks(77),
         u"a.exe" + blanks(15)},
        {"reset buffer, record 3", 3, blanks(80), blanks(20), std::string(100, ' '), blanks(80),
         blanks(20)},
        {"0x5C second bytes", 1, jDir, u"ソフト.exe", recordBytes(kJapaneseDir, kJapaneseExe),
         jDir + blanks(59), u"ソフト.exe" + blanks(13)},
        {"41 表 in dir_path: 40 fit in 80 bytes", 1, repeat(u"表", 41), u"a.exe",
         repeat(kHyou, 40) + "a.exe" + std::string(15, ' '), repeat(u"表", 40) + blanks(40),
         u"a.exe" + blanks(15)},
        {"a and 10 表 in exe_name: 19 bytes and a blank", 1, u"C:\\", u"a" + repeat(u"表", 10),
         recordBytes("C:\\", "a" + repeat(kHyou, 9)), u"C:\\" + blanks(77),
         u"a" + repeat(u"表", 9) + blanks(10)},
        {"21-character name cut to 20", 1, u"C:\\", u"abcdefghijklmnopqrstu",
         recordBytes("C:\\", "abcdefghijklmnopqrst"), u"C:\\" + blanks(77),
         u"abcdefghijklmnopqrst"},
        {"81-character folder cut to 80", 1, std::u16string(81, u'd'), u"a.exe",
         recordBytes(std::string(80, 'd'), "a.exe"), std::u16string(80, u'd'),
         u"a.exe" + blanks(15)},
        {"no code page 932 form: ?", 1, u"C:\\", u"é.exe", recordBytes("C:\\", "?.exe"),
         u"C:\\" + blanks(77), u"?.exe" + blanks(15)},
        {"yen sign never becomes a folder separator", 1, u"C:\\a¥b\\", u"x.exe",
         recordBytes("C:\\a?b\\", "x.exe"), u"C:\\a?b\\" + blanks(73), u"x.exe" + blanks(15)},
    };
    for (const Row& row : rows) {
        CAPTURE(row.name);
        Settei s;
        REQUIRE(s.write(row.record, assigned(row.dir, row.exe)));

        const std::size_t at = std::size_t(row.record - 1) * 200;
        const std::string file = s.bytes();
        REQUIRE(file.size() == at + 200);
        CHECK(file.substr(0, at) == std::string(at, '\0'));
        CHECK(file.substr(at, 100) == row.data.substr(0, 100));
        CHECK(file.substr(at + 100) == std::string(100, '\0')); // padding

        REQUIRE(s.file.open());
        core::SlotRecord back;
        REQUIRE(s.file.read_record(row.record, back));
        CHECK(back.dir_path == row.dirBack);
        CHECK(back.exe_name == row.exeBack);
    }
}

TEST_CASE("a write leaves the other records and bytes alone") {
    struct Row {
        std::size_t size;
        int record;
    };
    // Record 3 written to an empty file leaves records 1 and 2 zero.
    for (const Row row :
         {Row{600, 1}, Row{600, 2}, Row{600, 3}, Row{250, 2}, Row{kMiB, 2}, Row{0, 3}}) {
        CAPTURE(row.size);
        CAPTURE(row.record);
        const std::string before(row.size, '\xee');
        Settei s(before);
        REQUIRE(s.write(row.record, assigned(u"C:\\", u"b.exe")));
        CHECK_MESSAGE(
            (s.bytes() == test::withRecord(before, row.record, recordBytes("C:\\", "b.exe"))),
            "bytes outside the record changed");
    }
}

TEST_CASE("record numbers outside 1 to 3 are refused without a trace") {
    const std::string before = repeat(recordBytes("A\\", "a.exe"), 3);
    Settei s(before);
    REQUIRE(s.file.open());
    for (int record : {0, 4, -1}) {
        CAPTURE(record);
        CHECK_FALSE(s.file.write_record(record, assigned(u"C:\\", u"evil.exe")));
        CHECK_FALSE(s.file.last_error().empty());
        core::SlotRecord r = assigned(u"keep\\", u"keep.exe");
        CHECK_FALSE(s.file.read_record(record, r));
        CHECK(r.exe_name == u"keep.exe" + blanks(12));
        CHECK(s.file.is_open()); // a refused number does not close the file
    }
    s.file.close();
    CHECK(s.bytes() == before);
}

TEST_CASE("assigning fits a field to its width in characters") {
    struct Row {
        std::u16string text, dir, exe;
    };
    const Row rows[] = {
        {u"", blanks(80), blanks(20)},
        {u"ab", u"ab" + blanks(78), u"ab" + blanks(18)},
        {std::u16string(100, u'x'), std::u16string(80, u'x'), std::u16string(20, u'x')},
        {repeat(u"表", 30), repeat(u"表", 30) + blanks(50), repeat(u"表", 20)},
    };
    for (const Row& row : rows) {
        const core::SlotRecord r = assigned(row.text, row.text);
        CHECK(r.dir_path == row.dir);
        CHECK(r.exe_name == row.exe);
    }
}

TEST_CASE("open creates a missing file, fails on a folder; close is idempotent") {
    Settei s;
    s.file.close(); // never opened
    REQUIRE(s.file.open());
    s.file.close();
    s.file.close();
    CHECK_FALSE(s.file.is_open());
    core::SlotRecord r;
    CHECK_FALSE(s.file.read_record(1, r)); // closed means closed
    CHECK(std::filesystem::is_regular_file(test::pathOf(s.path)));
    CHECK(std::filesystem::file_size(test::pathOf(s.path)) == 0);

    Settei f;
    std::filesystem::create_directory(test::pathOf(f.path));
    CHECK_FALSE(f.file.open());
    CHECK_FALSE(f.file.is_open());
    CHECK_FALSE(f.file.last_error().empty());
    CHECK_FALSE(f.file.write_record(1, assigned(u"C:\\", u"a.exe")));
    CHECK(std::filesystem::is_directory(test::pathOf(f.path)));
}
