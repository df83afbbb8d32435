// settei.ini in the states a disk can leave it in, with the real forms: what
// the windows show, which message the program gives, that it runs on, and
// that no record but the one written changes.
#include "fault_walk.h"

#include <doctest/doctest.h>

using namespace zavo::test;

TEST_CASE("settei.ini of every length from 0 to 601 bytes") {
    // Byte 600 lies past the three records; no write may touch it.
    const std::string full = threeRecords() + "\x7f";
    for (std::size_t length = 0; length <= full.size(); ++length) {
        CAPTURE(length);
        WalkFolder folder;
        const std::string before = full.substr(0, length);
        writeFile(kSettei, before);
        checkWalk(shownFor(before), writesOf(before));
    }
}

TEST_CASE("settei.ini missing, 100 MiB, or a folder") {
    constexpr std::uint64_t kHuge = 100ull << 20;
    const auto huge = [] {
        writeFile(kSettei, threeRecords());
        fs::resize_file(kSettei, kHuge);
    };
    const auto folder = [] {
        fs::create_directory(kSettei);
        writeFile(fs::path(kSettei) / "inside", "kept");
    };
    struct Row {
        const char* name;
        std::function<void()> setUp;
        WalkExpectation shown;
        std::optional<std::string> before; // what the writes change; none: they fail
        std::uint64_t size;                // the file's size, kept by the writes
        std::optional<FileState> inside;   // settei.ini/inside after the walk
    };
    const Row rows[] = {
        {"missing", [] {}, shownFor(""), "", 0, std::nullopt},
        {"100 MiB, sparse past the records", huge, shownFor(threeRecords()), threeRecords(), kHuge,
         std::nullopt},
        // The folder keeps what it holds.
        {"a folder named settei.ini", folder, unopenableShown(), std::nullopt, 0,
         stateOfBytes("kept")},
    };
    for (const Row& row : rows) {
        CAPTURE(std::string(row.name));
        WalkFolder walkFolder;
        row.setUp();
        checkWalk(row.shown, row.before ? writesOf(*row.before, row.size) : ExpectedFiles{});
        CHECK(stateOf(fs::path(kSettei) / "inside") == row.inside);
    }
}

TEST_CASE("settei.ini changed by another writer between two clicks") {
    // The main window keeps no handle between clicks: each click reads the
    // file afresh, and the captions stay what the load read.
    WalkFolder folder;
    writeFile(kSettei, threeRecords());
    Walker p;
    REQUIRE(p.start() == "load: one.exe    | two-with-l | three.exe ");
    struct Change {
        const char* name;
        std::function<void()> change;
        int slot;
        std::string expected;
    };
    const auto write = [](const std::string& bytes) { return [=] { writeFile(kSettei, bytes); }; };
    const Change changes[] = {
        {"record 1 rewritten",
         write(withRecord(threeRecords(), 1, recordBytes("/opt/new/", "new.exe"))), 1,
         "click 1: launch /opt/new/new.exe"},
        {"cut to 280 bytes, inside the name of record 2", write(threeRecords().substr(0, 280)), 2,
         "click 2: launch /opt/two/<NUL*20>" + kReadError},
        {"deleted", [] { fs::remove(kSettei); }, 3, "click 3: launch <NUL*100>" + kReadError},
        {"replaced by a folder",
         [] {
             fs::remove(kSettei);
             fs::create_directory(kSettei);
         },
         1, "click 1:" + kReadError},
        {"written again",
         [] {
             fs::remove(kSettei);
             writeFile(kSettei, threeRecords());
         },
         2, "click 2: launch /opt/two/two-with-long-name.e"},
    };
    for (const Change& c : changes) {
        CAPTURE(std::string(c.name));
        c.change();
        CHECK(p.click(c.slot) == c.expected);
        CHECK(p.state() == "running");
    }
    CHECK(p.views.launcher().Command1[6] == "one.exe   ");
}

TEST_CASE("settei.ini deleted while the registration dialog is open") {
    WalkFolder folder;
    writeFile(kSettei, threeRecords());
    Walker p;
    p.start();
    REQUIRE(p.openDialog() == "dialog: one.exe    | two-with-l | three.exe ");

    // The register writes into a new file; labels of slots that now read as
    // unregistered keep what they showed.
    fs::remove(kSettei);
    CHECK(p.registerProgram(2) == "register 2: one.exe    | prog.exe   | three.exe  beep");
    const ExpectedFiles files = writesOf("");
    CHECK(compare(stateOf(kSettei), files.afterRegister) == "ok");

    fs::remove(kSettei);
    CHECK(p.reset() == "reset: 未登録 | 未登録 | 未登録 beep");
    CHECK(compare(stateOf(kSettei), files.afterReset) == "ok");

    fs::remove(kSettei);
    CHECK(p.back() == "back: " + std::string("１：未登録 | ２：未登録 | ３：未登録"));
    CHECK(p.state() == "running");
}
