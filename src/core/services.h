// The services the windows call. One implementation per platform, chosen at
// build time, plus a recording fake in the tests. Everything here runs on the
// user-interface thread and completes before it returns.
#pragma once

#include "counted_wait.h"
#include "record_file.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace zavo::platform {

// Message-box styles and answers, with the values the callers pass and test.
inline constexpr int vbCritical = 16;        // critical icon, OK button
inline constexpr int vbYesNo = 4;            // Yes and No, no icon
inline constexpr int vbDefaultButton2 = 256; // the second button (No) answers Enter
inline constexpr int vbOK = 1;
inline constexpr int vbYes = 6;
inline constexpr int vbNo = 7;

// Window styles of the launch operation (the Windows show commands).
inline constexpr int vbNormalFocus = 1;
inline constexpr int vbMaximizedFocus = 3;

// SetWindowPos arguments used by the main window.
using WindowHandle = std::uintptr_t;
inline constexpr std::intptr_t kHwndTopmost = -1;
inline constexpr unsigned kSwpNoActivate = 0x0010;
inline constexpr unsigned kSwpShowWindow = 0x0040;

// ExitWindowsEx flags.
inline constexpr unsigned kEwxShutdown = 0x1;
inline constexpr unsigned kEwxReboot = 0x2;
inline constexpr unsigned kEwxForce = 0x4;

// One reading of the local wall clock. The weekday is derived from the date,
// so a caller that reads once gets a consistent date, weekday and time.
struct LocalDateTime {
    int year = 2000;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// A program that launch() started, held while the caller may still wait for
// it. A backend keeps in it what it needs for that (a process handle, a watch
// on the desktop's windows) and releases it with it.
class Process {
public:
    virtual ~Process() = default;
};

class Services {
public:
    virtual ~Services() = default;

    // Starts the executable whose full path is `command`; never through a
    // shell, never split at spaces. Null (with `error` filled) when it could
    // not be started.
    virtual std::unique_ptr<Process> launch(const std::string& command, int windowStyle,
                                            std::string& error) = 0;

    // Waits until `process` is ready for input, at most `timeoutMs`: until it
    // waits for input in its message loop (Windows), or until a window of it,
    // or one mapped since the launch, is the active window (X11). False when
    // the bound ran out or readiness cannot be told here.
    virtual bool waitForInputIdle(Process& process, int timeoutMs) = 0;

    // Sends keystrokes in the classic notation ("^p" is Ctrl+P) to the active
    // window. With `wait`, returns only after the keys were processed.
    virtual bool sendKeys(std::string_view keys, bool wait) = 0;

    // Modal; returns the button pressed (vbOK, vbYes, vbNo).
    virtual int messageBox(const std::string& prompt, int style, const std::string& title) = 0;

    virtual void beep() = 0;

    // True when another instance of the program already runs for this user.
    virtual bool anotherInstanceRunning() = 0;

    // Ends the program at once; no further handler runs. A fake may return.
    virtual void endProgram() = 0;

    virtual LocalDateTime now() = 0;
    // The system's short date format, and long time format without a zone.
    virtual std::string dateText(const LocalDateTime& when) = 0;
    virtual std::string timeText(const LocalDateTime& when) = 0;

    // Random-access file in the current directory, created when missing.
    // Null (with `error` filled) when it cannot be opened.
    virtual std::unique_ptr<RecordFile> openRecordFile(const std::string& name,
                                                       std::string& error) = 0;

    // user32 SetWindowPos: positions in pixels; the result is not reported.
    virtual void setWindowPos(WindowHandle window, std::intptr_t insertAfter, int x, int y, int cx,
                              int cy, unsigned flags) = 0;

    // user32 ExitWindowsEx: true when the system accepted the request.
    virtual bool exitWindowsEx(unsigned flags, unsigned reserved) = 0;

    // The busy wait of core::counted_wait, through here so a test can see
    // how many rounds the program waited; returns the count reached.
    virtual long countedWait(long rounds) { return core::counted_wait(rounds); }
};

} // namespace zavo::platform
