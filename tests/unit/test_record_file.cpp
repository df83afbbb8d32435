// The record-file contract of this platform's backend (POSIX or Win32),
// through the recording services, which open real files with it.
#include "platform/fake/recording_services.h"
#include "support/doctest_strings.h"
#include "support/scratch_folder.h"
#include "support/settei_bytes.h"

#include <array>
#include <cstring>
#include <span>

#ifdef _WIN32
#include <windows.h>
#else
#include "support/child_process.h"

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace zavo;

namespace {

std::unique_ptr<platform::RecordFile> openFile(const std::string& path) {
    platform::RecordingServices services;
    std::string error;
    auto file = services.openRecordFile(path, error);
    INFO(error);
    REQUIRE(file);
    return file;
}

std::string text(std::span<const std::byte> bytes) {
    return std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

// Opens a file its reader may not write and checks that it reads as stored,
// refuses a write and stays as it was. Empty when all is well, else what went
// wrong; "skip: ..." when the file could not be made unwritable.
std::string readOnlyProbe(const std::string& path, const std::string& bytes) {
    platform::RecordingServices services;
    std::string error;
    auto file = services.openRecordFile(path, error);
    if (!file)
        return "open failed: " + error;
    std::array<std::byte, 200> got;
    got.fill(std::byte{0xAA});
    if (!file->readAt(0, got, error))
        return "read failed: " + error;
    if (text(got) != bytes)
        return "read other bytes than stored";
    const std::array<std::byte, 3> data{std::byte{'x'}, std::byte{'y'}, std::byte{'z'}};
    error.clear();
    if (file->writeAt(0, data, error))
        return "a write succeeded";
    if (error.empty())
        return "a refused write gave no reason";
    file.reset();
    if (test::readFile(path) != bytes)
        return "the file changed";
    return {};
}

#ifdef _WIN32
bool writable(const std::wstring& path) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(h);
    return true;
}

// Starts a Unix program from Wine (which runs it detached: there is no
// process to wait for) and waits up to 30 s until `done` holds.
template <class Done> bool runUnix(const std::string& commandLine, Done done) {
    std::wstring line = test::pathOf(commandLine).wstring();
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    for (int i = 0; i < 300 && !done(); ++i)
        Sleep(100);
    return done();
}

// The read-only attribute stops writers on Windows. Under Wine as root it
// stops nothing, and the file is made immutable with chattr instead.
std::string probeUnwritable(const test::ScratchFolder&, const std::string& path,
                            const std::string& bytes) {
    const std::wstring wide = test::pathOf(path).wstring();
    SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_READONLY);
    std::string result;
    if (!writable(wide)) {
        result = readOnlyProbe(path, bytes);
    } else {
        using UnixName = char*(CDECL*)(LPCWSTR);
        const auto unixName = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleW(L"kernel32"), "wine_get_unix_file_name")));
        char* name = unixName ? unixName(wide.c_str()) : nullptr;
        if (!name)
            return "writable despite the read-only attribute";
        const std::string quoted = std::string("\"") + name + "\"";
        HeapFree(GetProcessHeap(), 0, name);
        if (!runUnix("/usr/bin/chattr +i " + quoted, [&] { return !writable(wide); }))
            result = "skip: chattr +i is not possible here (Wine as root ignores read-only)";
        else
            result = readOnlyProbe(path, bytes);
        runUnix("/usr/bin/chattr -i " + quoted, [&] { return writable(wide); });
    }
    SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_NORMAL);
    return result;
}
#else
// Root writes a 0444 file anyway: then the probe runs in a child that gave up
// root for nobody (65534), on a file that stays root's.
std::string probeUnwritable(const test::ScratchFolder& dir, const std::string& path,
                            const std::string& bytes) {
    if (::chmod(path.c_str(), 0444) != 0)
        return "chmod failed";
    if (::geteuid() != 0)
        return readOnlyProbe(path, bytes);
    ::chmod(dir.path().c_str(), 0755); // nobody must reach the file
    const test::ChildResult child = test::runInChild([&] {
        const bool nobody = ::setgroups(0, nullptr) == 0 && ::setgid(65534) == 0 &&
                            ::setuid(65534) == 0 && ::geteuid() == 65534;
        return nobody ? readOnlyProbe(path, bytes) : std::string("cannot become nobody");
    });
    if (!child.started)
        return "fork failed";
    if (!child.exitedCleanly())
        return "the probe did not finish: " + child.out;
    return child.out;
}
#endif

} // namespace

TEST_CASE("reads past the end of the file fill the caller's buffer with zeros") {
    test::ScratchFolder dir;
    const std::string path = dir.file("settei.ini");
    test::writeFile(path, "abc");
    auto file = openFile(path);
    struct Row {
        std::uint64_t offset;
        std::size_t size;
        std::string expected;
    };
    const Row rows[] = {
        {0, 8, std::string("abc") + std::string(5, '\0')}, // straddles the end
        {3, 4, std::string(4, '\0')},                      // starts at the end
        {1000, 16, std::string(16, '\0')},                 // far past it
    };
    for (const Row& row : rows) {
        CAPTURE(row.offset);
        std::vector<std::byte> buffer(row.size, std::byte{0xAA}); // the caller's garbage
        std::string error;
        REQUIRE(file->readAt(row.offset, buffer, error));
        CHECK(text(buffer) == row.expected);
    }
    CHECK(test::readFile(path) == "abc"); // reading never grows the file
}

TEST_CASE("a file that may not be written still opens for reading") {
    test::ScratchFolder dir;
    const std::string path = dir.file("settei.ini");
    const std::string bytes = test::recordBytes("C:\\", "calc.exe");
    test::writeFile(path, bytes);
    const std::string result = probeUnwritable(dir, path, bytes);
    if (result.starts_with("skip")) {
        MESSAGE(result);
        return;
    }
    CHECK(result == "");
}

TEST_CASE("a record file in memory reads and writes as this platform's file on disk") {
    // The same steps on both, from the same start; every read and the bytes
    // left at the end must agree.
    struct Step {
        bool write;
        std::uint64_t offset;
        std::string data; // what to write; for a read, the caller's garbage
    };
    const Step steps[] = {
        {false, 0, std::string(8, '\xAA')},   // straddles the end
        {false, 500, std::string(4, '\xAA')}, // far past it
        {true, 1, "XY"},                      // inside
        {true, 7, "end"},                     // across the end
        {true, 300, "gap"},                   // past the end: the gap reads as zero
        {false, 290, std::string(20, '\xAA')},
        {true, 0, ""},
    };
    for (const std::string& start : {std::string("abc"), test::recordBytes("C:\\", "calc.exe")}) {
        CAPTURE(start.size());
        test::ScratchFolder dir;
        const std::string path = dir.file("settei.ini");
        test::writeFile(path, start);
        platform::RecordingServices memory;
        memory.recordFilesInMemory = true;
        memory.memoryFiles["settei.ini"] = start;
        std::string error;
        auto inMemory = memory.openRecordFile("settei.ini", error);
        REQUIRE(inMemory);
        auto onDisk = openFile(path);
        for (const Step& step : steps) {
            CAPTURE(step.offset);
            const auto bytes = std::as_bytes(std::span(step.data));
            std::vector<std::byte> a(bytes.begin(), bytes.end()), b = a;
            if (step.write) {
                CHECK(inMemory->writeAt(step.offset, a, error));
                CHECK(onDisk->writeAt(step.offset, b, error));
            } else {
                CHECK(inMemory->readAt(step.offset, a, error));
                CHECK(onDisk->readAt(step.offset, b, error));
                CHECK(text(a) == text(b));
            }
        }
        onDisk.reset();
        CHECK(memory.memoryFiles["settei.ini"] == test::readFile(path));
    }
}
