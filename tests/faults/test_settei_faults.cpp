// settei.ini in the states a disk can leave it in, with the real forms: what
// the windows show, which message the program gives, that it runs on, and
// that no record but the one written changes.
#include "fault_walk.h"

#include <doctest/doctest.h>

#include <filesystem>
#include <functional>

using namespace zavo::test;
namespace fs = std::filesystem;

namespace {

std::string trimBlanks(const std::string& s) {
    const auto end = s.find_last_not_of(' ');
    return end == std::string::npos ? std::string() : s.substr(0, end + 1);
}

// What the forms show for `file`, worked out from its bytes: each record is
// its 100 data bytes, zero past the end; the names here are ASCII.
WalkExpectation shownFor(const std::string& file) {
    const WalkExpectation unregistered = unregisteredShown();
    WalkExpectation e;
    for (std::size_t n = 0; n < 3; ++n) {
        const std::string record = bytesAt(file, n * kRecordSize, 100);
        const std::string exe = record.substr(80);
        const bool registered = exe[0] != '\0' && exe.substr(0, 10) != std::string(10, ' ');
        e.captions[n] = registered ? exe.substr(0, 10) : unregistered.captions[n];
        e.labels[n] = registered ? exe.substr(0, 10) : unregistered.labels[n];
        const std::string command = trimBlanks(record.substr(0, 80)) + trimBlanks(exe);
        const bool startable = !command.empty() && command.find('\0') == std::string::npos;
        e.clicks[n] = " launch " + shownText(command) + (startable ? "" : kReadError);
    }
    return e;
}

} // namespace

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
    struct Row {
        const char* name;
        std::function<void()> setUp;
        WalkExpectation shown;
        std::function<ExpectedFiles()> files; // made in the row's folder
    };
    const Row rows[] = {
        {"missing", [] {}, unregisteredShown(), [] { return writesOf(""); }},
        {"100 MiB, sparse past the records",
         [] {
             writeFile(kSettei, threeRecords());
             fs::resize_file(kSettei, kHuge);
         },
         threeRecordsShown(),
         [] {
             const std::string registered = withRecord(threeRecords(), 2, registeredRecord());
             return ExpectedFiles{stateOfBytes(registered, kHuge),
                                  stateOfBytes(afterReset(registered), kHuge)};
         }},
        {"a folder named settei.ini",
         [] {
             fs::create_directory(kSettei);
             writeFile(fs::path(kSettei) / "inside", "kept");
         },
         unopenableShown(), [] { return ExpectedFiles{}; }},
    };
    for (const Row& row : rows) {
        CAPTURE(std::string(row.name));
        WalkFolder folder;
        row.setUp();
        checkWalk(row.shown, row.files());
    }
    SUBCASE("the folder keeps what it holds") {
        WalkFolder folder;
        rows[2].setUp();
        standardWalk({});
        CHECK(stateOf(fs::path(kSettei) / "inside") == stateOfBytes("kept"));
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
    const Change changes[] = {
        {"record 1 rewritten",
         [] {
             writeFile(kSettei, withRecord(threeRecords(), 1, recordBytes("/opt/new/", "new.exe")));
         },
         1, "click 1: launch /opt/new/new.exe"},
        {"cut to 280 bytes, inside the name of record 2",
         [] { writeFile(kSettei, threeRecords().substr(0, 280)); }, 2,
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
    const std::string registered = withRecord("", 2, registeredRecord());
    CHECK(compare(stateOf(kSettei), stateOfBytes(registered)) == "ok");

    fs::remove(kSettei);
    CHECK(p.reset() == "reset: 未登録 | 未登録 | 未登録 beep");
    CHECK(compare(stateOf(kSettei), stateOfBytes(afterReset(""))) == "ok");

    fs::remove(kSettei);
    CHECK(p.back() == "back: " + std::string("１：未登録 | ２：未登録 | ３：未登録"));
    CHECK(p.state() == "running");
}
