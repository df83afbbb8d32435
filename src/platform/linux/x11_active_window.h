// Tells when a program just started is ready for input on an X11 desktop:
// when the window manager makes a window of it the active window.
#pragma once

#include <memory>
#include <sys/types.h>

namespace zavo::platform {

class ActiveWindowWatch {
public:
    virtual ~ActiveWindowWatch() = default;
    // Waits, at most `timeoutMs`, until the active window belongs to `pid`
    // or a process it started (a start script that forks), or is a window
    // mapped since the watch began (the desktop handed the start to a
    // program already running). Sleeps between changes of the active window.
    virtual bool waitForWindowOf(pid_t pid, int timeoutMs) = 0;
};

// Begun before a start, so that the windows already there are known. Null
// where there is no X11 display or no window manager that names the active
// window (_NET_ACTIVE_WINDOW): nothing to wait for there.
std::unique_ptr<ActiveWindowWatch> watchActiveWindow();

} // namespace zavo::platform
