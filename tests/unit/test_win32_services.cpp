// The Win32 backend, run under Wine (or on Windows): programs started from a
// temporary folder, the clock's texts, system messages, the single instance,
// the topmost placement and the shutdown request through its seam. Key
// strokes and message boxes need a desktop and a person: not tested here.
#include "core/module1.h"
#include "platform/win32/format_text.h"
#include "platform/win32/shutdown_win32.h"
#include "platform/win32/win32_services.h"
#include "platform/win32/win32_text.h"
#include "support/doctest_strings.h"
#include "support/scratch_folder.h"
#include "support/settei_bytes.h"
#include "support/win32_child.h"

#include <windows.h>

#include <cstdint>
#include <regex>
#include <string>
#include <vector>

using namespace zavo;

namespace {

// A copy of win32_child.exe, built beside this program, in `dir` under
// `name`; its UTF-8 path.
std::string childIn(const test::ScratchFolder& dir, const std::string& name) {
    const std::string path = dir.file(name);
    std::filesystem::copy_file(test::selfPath().parent_path() / "win32_child.exe",
                               test::pathOf(path));
    return path;
}

bool hasInsert(const std::string& s) {
    static const std::regex insert("%[0-9]");
    return std::regex_search(s, insert);
}

} // namespace

TEST_CASE("launch starts a program by its full path, and refuses what it cannot start") {
    test::ScratchFolder dir;
    platform::Win32Services services;
    std::string error;
    // The child reports the show command it was given: the window style.
    const struct {
        int style;
        std::string reported;
    } shown[] = {
        {platform::vbNormalFocus, "started 1 1"},    // SW_SHOWNORMAL
        {platform::vbMaximizedFocus, "started 1 3"}, // SW_SHOWMAXIMIZED
    };
    for (const auto& [style, reported] : shown) {
        CAPTURE(reported);
        const test::ScratchFolder folder; // its name holds a blank and Japanese characters
        const std::string child = childIn(folder, "起動 テスト.exe");
        REQUIRE_MESSAGE(services.launch(child, style, error), error);
        const std::string stamp = folder.file("started.txt");
        for (int i = 0; i < 600 && test::readFile(stamp).empty(); ++i)
            Sleep(100);
        CHECK(test::readFile(stamp) == reported);
    }

    test::writeFile(dir.file("text.exe"), "not a program");
    test::writeFile(dir.file("script.bat"), "@echo off\r\n");
    const std::string refused[] = {
        dir.file("missing.exe"),
        dir.file("text.exe"),
        dir.file("script.bat"), // would run through cmd.exe
        "win32_child.exe",      // relative: never searched for
        "",
    };
    for (const std::string& command : refused) {
        CAPTURE(command);
        error.clear();
        CHECK_FALSE(services.launch(command, platform::vbMaximizedFocus, error));
        CHECK_FALSE(error.empty());
        CHECK_FALSE(hasInsert(error));
    }
}

TEST_CASE("system messages come without inserts and on one line") {
    // Every message the system has for the codes 0 to 15999.
    int messages = 0;
    for (unsigned long code = 0; code < 16000; ++code) {
        const std::string text = platform::win32ErrorText(code, "C:\\x\\a.exe");
        if (text == "error " + std::to_string(code))
            continue;
        ++messages;
        CAPTURE(text);
        CHECK_FALSE(hasInsert(text));
        CHECK(text.find_first_of("\r\n\t") == std::string::npos);
    }
    CHECK(messages > 100);
    // ERROR_BAD_EXE_FORMAT names the file it is about.
    const std::string badExe = platform::win32ErrorText(ERROR_BAD_EXE_FORMAT, "C:\\x\\a.exe");
    CAPTURE(badExe);
    CHECK(badExe.starts_with("error 193: "));
}

TEST_CASE("the clock's texts, and none for a reading that is no date") {
    platform::Win32Services services;
    const platform::LocalDateTime valid{2003, 10, 1, 9, 5, 7};
    const std::string date = services.dateText(valid);
    const std::string time = services.timeText(valid);
    CAPTURE(date);
    CAPTURE(time);
    CHECK(date.starts_with("2003"));
    CHECK(date.find("10") != std::string::npos);
    CHECK(time.find("05") != std::string::npos);
    CHECK(time.find("07") != std::string::npos);
    CHECK(date.find('\0') == std::string::npos);
    CHECK(time.find('\0') == std::string::npos);

    const platform::LocalDateTime invalid[] = {
        {2003, 0, 1, 9, 5, 7},     {2003, -1, 1, 9, 5, 7},  {2003, 13, 1, 9, 5, 7},
        {2003, 65537, 1, 9, 5, 7}, {2003, 2, 30, 9, 5, 7},  {2003, 10, 0, 9, 5, 7},
        {2003, 10, 32, 9, 5, 7},   {2003, 10, 1, 24, 5, 7}, {2003, 10, 1, 9, 60, 7},
        {1600, 10, 1, 9, 5, 7},
    };
    for (const platform::LocalDateTime& t : invalid) {
        CAPTURE((std::to_string(t.year) + "-" + std::to_string(t.month) + "-" +
                 std::to_string(t.day) + " " + std::to_string(t.hour) + ":" +
                 std::to_string(t.minute)));
        CHECK(services.dateText(t) == "");
        CHECK(services.timeText(t) == "");
    }
}

TEST_CASE("formatted text is cut at the length written, not the size asked first") {
    // Answers of a GetDateFormatEx-like call: the size it asks for, and the
    // text it writes when the buffer is big enough (the length with the NUL).
    struct Call {
        int size;
        std::wstring text;
    };
    const auto play = [](std::vector<Call> calls) {
        std::size_t next = 0;
        return platform::formatText([&](wchar_t* out, int size) -> int {
            if (!out)
                return next < calls.size() ? calls[next].size : 0;
            const Call& c = calls[next++];
            const int needed = static_cast<int>(c.text.size()) + 1;
            if (needed > size)
                return 0;
            std::copy(c.text.begin(), c.text.end(), out);
            out[c.text.size()] = L'\0';
            return needed;
        });
    };
    CHECK(play({{20, L"2003/10/1"}}) == L"2003/10/1");                       // shorter than asked
    CHECK(play({{3, L"2003/10/01"}, {11, L"2003/10/01"}}) == L"2003/10/01"); // grew in between
    CHECK(play({{1, L"x"}, {1, L"xy"}, {2, L"xyz"}}) == std::nullopt);       // never settles
    CHECK(play({}) == std::nullopt);
}

TEST_CASE("a second process sees the single instance until its holder lets go") {
    test::ScratchFolder dir;
    const std::filesystem::path probe = test::pathOf(childIn(dir, "probe.exe"));
    {
        platform::Win32Services first;
        REQUIRE_FALSE(first.anotherInstanceRunning());
        CHECK_FALSE(first.anotherInstanceRunning()); // our own window reloading
        CHECK(test::runChild(probe, L"instance") == 1);
    }
    CHECK(test::runChild(probe, L"instance") == 0);
}

TEST_CASE("setWindowPos places the outer rectangle it is given, topmost") {
    HWND window = CreateWindowExW(0, L"STATIC", L"ZAVO_launcher", WS_OVERLAPPEDWINDOW, 0, 0, 100,
                                  100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!window) {
        MESSAGE("skipped: no window can be made here (" << GetLastError() << ")");
        return;
    }
    platform::Win32Services services;
    services.setWindowPos(reinterpret_cast<platform::WindowHandle>(window), platform::kHwndTopmost,
                          686, 401, 318, 228, platform::kSwpShowWindow | platform::kSwpNoActivate);
    RECT r{};
    REQUIRE(GetWindowRect(window, &r));
    CHECK(r.left == 686);
    CHECK(r.top == 401);
    CHECK(r.right - r.left == 318);
    CHECK(r.bottom - r.top == 228);
    CHECK((GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0);
    CHECK(IsWindowVisible(window));
    DestroyWindow(window);
}

TEST_CASE("a shutdown request enables the shutdown privilege, then asks once") {
    struct Row {
        int mode;
        bool privilege;
        bool accepted;
        std::vector<std::string> calls;
        bool result;
    };
    const Row rows[] = {
        {1, true, true, {"privilege", "exit 1 0"}, true},
        {3, true, true, {"privilege", "exit 5 0"}, true},
        {4, true, false, {"privilege", "exit 6 0"}, false},
        // Where the privilege cannot be enabled the system still answers.
        {1, false, false, {"privilege", "exit 1 0"}, false},
        {2, false, true, {"privilege", "exit 2 0"}, true},
        {0, true, true, {}, false},
        {5, true, true, {}, false},
    };
    for (const Row& row : rows) {
        CAPTURE(row.mode);
        CAPTURE(row.privilege);
        CAPTURE(row.accepted);
        std::vector<std::string> calls;
        // Never the real ExitWindowsEx.
        platform::Win32Services services(platform::ShutdownCalls{
            [&] {
                calls.push_back("privilege");
                return row.privilege;
            },
            [&](unsigned flags, unsigned reserved) {
                calls.push_back("exit " + std::to_string(flags) + " " + std::to_string(reserved));
                return row.accepted;
            }});
        core::Module1 module1(services, "unused.ini");
        CHECK(module1.exit_windows(static_cast<std::int16_t>(row.mode)) == row.result);
        CHECK(calls == row.calls);
    }
}

TEST_CASE("the shutdown privilege is enabled on this process's token") {
    REQUIRE(platform::enableShutdownPrivilege());
    HANDLE token = nullptr;
    REQUIRE(OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token));
    LUID shutdown{};
    REQUIRE(LookupPrivilegeValueW(nullptr, L"SeShutdownPrivilege", &shutdown));
    DWORD size = 0;
    GetTokenInformation(token, TokenPrivileges, nullptr, 0, &size);
    std::vector<std::byte> buffer(size);
    REQUIRE(GetTokenInformation(token, TokenPrivileges, buffer.data(), size, &size));
    CloseHandle(token);
    const auto* privileges = reinterpret_cast<const TOKEN_PRIVILEGES*>(buffer.data());
    bool enabled = false;
    for (DWORD i = 0; i < privileges->PrivilegeCount; ++i) {
        const LUID_AND_ATTRIBUTES& p = privileges->Privileges[i];
        if (p.Luid.LowPart == shutdown.LowPart && p.Luid.HighPart == shutdown.HighPart)
            enabled = (p.Attributes & SE_PRIVILEGE_ENABLED) != 0;
    }
    CHECK(enabled);
}
