#include "win32_api.h"

#include "date_time_win32.h"
#include "record_file_win32.h"
#include "unique_handle.h"
#include "win32_services.h"

#include "core/key_notation.h"
#include "win32_text.h"

#include <cwctype>
#include <utility>
#include <vector>

namespace zavo::platform {
namespace {

// Per logon session, like the one desktop the launcher stands on.
constexpr const wchar_t* kInstanceMutexName = L"Local\\ZAVO_launcher.instance";

// How long a keystroke may take to be handled by the program it went to.
constexpr DWORD kKeysProcessedTimeoutMs = 5000;
constexpr DWORD kKeysProcessedPollMs = 2;

// "C:\..." or "\\server\share\...": never resolved against the current or
// any searched folder.
bool isFullPath(const std::wstring& p) {
    const bool drive =
        p.size() >= 3 && std::iswalpha(p[0]) && p[1] == L':' && (p[2] == L'\\' || p[2] == L'/');
    const bool unc = p.size() >= 2 && p[0] == L'\\' && p[1] == L'\\';
    return drive || unc;
}

bool endsWithNoCase(const std::wstring& s, const std::wstring& suffix) {
    if (s.size() < suffix.size())
        return false;
    for (std::size_t i = 0; i < suffix.size(); ++i)
        if (std::towlower(s[s.size() - suffix.size() + i]) != suffix[i])
            return false;
    return true;
}

void addKey(std::vector<INPUT>& inputs, WORD vk, bool down) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    inputs.push_back(in);
}

// Ctrl, Shift and Alt, in the order of core::Modifier.
constexpr WORD kModifierKeys[] = {VK_CONTROL, VK_SHIFT, VK_MENU};

WORD vkOf(core::Modifier m) {
    return kModifierKeys[static_cast<int>(m)];
}

// The key events of the classic key notation. False for a character the
// keyboard cannot type.
bool keyEvents(std::string_view keys, std::vector<INPUT>& inputs) {
    return core::play_key_notation(
        keys,
        [&](core::Modifier m, bool down) {
            addKey(inputs, vkOf(m), down);
            return true;
        },
        [&](char c) {
            const SHORT scan = VkKeyScanW(static_cast<wchar_t>(static_cast<unsigned char>(c)));
            if (scan == -1)
                return false;
            const WORD vk = LOBYTE(scan);
            // The Shift a character itself needs (upper case, symbols).
            const bool shift = (HIBYTE(scan) & 1) != 0;
            if (shift)
                addKey(inputs, VK_SHIFT, true);
            addKey(inputs, vk, true);
            addKey(inputs, vk, false);
            if (shift)
                addKey(inputs, VK_SHIFT, false);
            return true;
        });
}

// "Processed" means: the thread owning the foreground window has taken the
// keys from its queue, so that focusing another window next cannot take them
// over. WaitForInputIdle cannot tell: it waits only once per process, and the
// start of the media player has used that up. A window is told to paint only
// when its thread's queue holds no other message, keys included: the window
// is invalidated and waited for until it has painted. Our own window is not
// waited for: its keys are handled once the running handler returns.
void waitUntilKeysProcessed() {
    const HWND foreground = GetForegroundWindow();
    DWORD pid = 0;
    if (!foreground || !GetWindowThreadProcessId(foreground, &pid) || pid == GetCurrentProcessId())
        return;
    RedrawWindow(foreground, nullptr, nullptr, RDW_INVALIDATE);
    const ULONGLONG deadline = GetTickCount64() + kKeysProcessedTimeoutMs;
    while (GetUpdateRect(foreground, nullptr, FALSE) && GetTickCount64() < deadline)
        Sleep(kKeysProcessedPollMs);
}

// A started program's process handle, closed with it.
class Win32Process final : public Process {
public:
    explicit Win32Process(HANDLE process) : handle(process) {}
    const UniqueHandle handle;
};

} // namespace

Win32Services::Win32Services(ShutdownCalls shutdown) : shutdown_(std::move(shutdown)) {}

Win32Services::~Win32Services() {
    if (instanceMutex_)
        CloseHandle(static_cast<HANDLE>(instanceMutex_));
}

std::unique_ptr<Process> Win32Services::launch(const std::string& command, int windowStyle,
                                               std::string& error) {
    const std::optional<std::wstring> path = widenUtf8(command);
    if (!path || path->empty() || path->find(L'\0') != std::wstring::npos) {
        error = "no program to start";
        return nullptr;
    }
    // The path is the application name, so CreateProcess never splits it at
    // a blank ("c:\program files\x" must not start "c:\program.exe") nor
    // searches for it. A quote cannot occur in a Windows file name but would
    // break the quoted command line. Batch files would run through cmd.exe,
    // which interprets the line: they are refused.
    if (!isFullPath(*path) || path->find(L'"') != std::wstring::npos ||
        endsWithNoCase(*path, L".bat") || endsWithNoCase(*path, L".cmd")) {
        error = "not the full path of a program: " + command;
        return nullptr;
    }
    std::wstring commandLine = L"\"" + *path + L"\""; // argv[0] only; CreateProcessW may write
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(windowStyle); // SW_SHOWNORMAL 1, SW_SHOWMAXIMIZED 3
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(path->c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process)) {
        error = win32ErrorText(GetLastError(), command);
        return nullptr;
    }
    CloseHandle(process.hThread);
    return std::make_unique<Win32Process>(process.hProcess);
}

bool Win32Services::waitForInputIdle(Process& process, int timeoutMs) {
    auto* started = dynamic_cast<Win32Process*>(&process);
    return started && WaitForInputIdle(started->handle.get(), static_cast<DWORD>(timeoutMs)) == 0;
}

bool Win32Services::sendKeys(std::string_view keys, bool wait) {
    std::vector<INPUT> inputs;
    if (!keyEvents(keys, inputs))
        return false;
    if (inputs.empty())
        return true;
    const UINT sent = SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    if (sent != inputs.size())
        return false;
    if (wait)
        waitUntilKeysProcessed();
    return true;
}

int Win32Services::messageBox(const std::string& prompt, int style, const std::string& title) {
    const std::wstring text = widenUtf8(prompt).value_or(L"?");
    const std::wstring caption = widenUtf8(title).value_or(L"?");
    UINT flags = (style & 0x0F) == vbYesNo ? MB_YESNO : MB_OK;
    if ((style & 0xF0) == vbCritical)
        flags |= MB_ICONSTOP;
    if ((style & 0xF00) == vbDefaultButton2)
        flags |= MB_DEFBUTTON2;
    // The active window, else the window of ours on screen.
    HWND owner = GetActiveWindow();
    if (!owner)
        EnumThreadWindows(
            GetCurrentThreadId(),
            [](HWND w, LPARAM found) -> BOOL {
                if (!IsWindowVisible(w) || GetWindow(w, GW_OWNER))
                    return TRUE;
                *reinterpret_cast<HWND*>(found) = w;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&owner));
    // Without an owner it must still stand above the topmost launcher and
    // block the program's other windows.
    if (!owner)
        flags |= MB_TOPMOST | MB_TASKMODAL | MB_SETFOREGROUND;
    return MessageBoxW(owner, text.c_str(), caption.c_str(), flags); // IDOK 1, IDYES 6, IDNO 7
}

void Win32Services::beep() {
    MessageBeep(MB_OK);
}

bool Win32Services::anotherInstanceRunning() {
    if (instanceMutex_)
        return false; // the mutex is ours: this very program reloads its window
    HANDLE mutex = CreateMutexW(nullptr, FALSE, kInstanceMutexName);
    const DWORD code = GetLastError();
    if (!mutex)
        return code == ERROR_ACCESS_DENIED; // exists, created by another account's launcher
    if (code == ERROR_ALREADY_EXISTS) {
        CloseHandle(mutex);
        return true;
    }
    instanceMutex_ = mutex;
    return false;
}

void Win32Services::endProgram() {
    ExitProcess(0);
}

LocalDateTime Win32Services::now() {
    SYSTEMTIME st{};
    GetLocalTime(&st);
    return {st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond};
}

std::string Win32Services::dateText(const LocalDateTime& when) {
    return win32DateText(when);
}

std::string Win32Services::timeText(const LocalDateTime& when) {
    return win32TimeText(when);
}

std::unique_ptr<RecordFile> Win32Services::openRecordFile(const std::string& name,
                                                          std::string& error) {
    return openWin32RecordFile(name, error);
}

// The rectangle is the outer one (frame included), as SetWindowPos takes it;
// the caller's Left, Top, Width and Height are outer measures already.
void Win32Services::setWindowPos(WindowHandle window, std::intptr_t insertAfter, int x, int y,
                                 int cx, int cy, unsigned flags) {
    SetWindowPos(reinterpret_cast<HWND>(window), reinterpret_cast<HWND>(insertAfter), x, y, cx, cy,
                 flags);
}

// Windows NT refuses the request unless the shutdown privilege, which the
// token holds but leaves disabled, is enabled first. Where it cannot be
// enabled the request still goes out, and the system's answer is the result.
bool Win32Services::exitWindowsEx(unsigned flags, unsigned reserved) {
    shutdown_.enablePrivilege();
    return shutdown_.exitWindowsEx(flags, reserved);
}

} // namespace zavo::platform
