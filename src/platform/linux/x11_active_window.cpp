#include "x11_active_window.h"

#include <QGuiApplication>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <poll.h>
#include <string>
#include <vector>

namespace zavo::platform {
namespace {

using Clock = std::chrono::steady_clock;

// A window read from the active window can be gone by the time its
// properties are read: that error of our own connection is an answer, not a
// reason to end the program (Xlib's default handler would). Errors of other
// connections still go where they went.
Display* trapped = nullptr;
XErrorHandler previousHandler = nullptr;

int ignoreTrappedErrors(Display* dpy, XErrorEvent* error) {
    if (dpy == trapped || !previousHandler)
        return 0;
    return previousHandler(dpy, error);
}

class ErrorTrap {
public:
    explicit ErrorTrap(Display* dpy) {
        trapped = dpy;
        previousHandler = XSetErrorHandler(ignoreTrappedErrors);
    }
    ~ErrorTrap() {
        XSync(trapped, False); // errors of our requests arrive while trapped
        XSetErrorHandler(previousHandler);
        trapped = nullptr;
    }
    ErrorTrap(const ErrorTrap&) = delete;
    ErrorTrap& operator=(const ErrorTrap&) = delete;
};

// The 32-bit items of a window property; nothing when it is missing.
std::vector<unsigned long> longs(Display* dpy, Window w, Atom property, Atom type,
                                 bool* exists = nullptr) {
    Atom actual = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::vector<unsigned long> out;
    if (XGetWindowProperty(dpy, w, property, 0, 4096, False, type, &actual, &format, &count, &after,
                           &data) == Success &&
        actual == type && format == 32) {
        // Xlib hands 32-bit items over as longs.
        const auto* items = reinterpret_cast<const unsigned long*>(data);
        out.assign(items, items + count);
    }
    if (exists)
        *exists = actual != None;
    if (data)
        XFree(data);
    return out;
}

pid_t parentOf(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    std::getline(stat, line);
    // "pid (name) state ppid ...": the name may hold blanks and parentheses.
    const std::size_t end = line.rfind(')');
    if (end == std::string::npos || end + 4 > line.size())
        return 0;
    try {
        return static_cast<pid_t>(std::stol(line.substr(end + 4)));
    } catch (const std::exception&) {
        return 0;
    }
}

bool descendsFrom(pid_t pid, pid_t ancestor) {
    for (int depth = 0; depth < 64 && pid > 1; ++depth, pid = parentOf(pid))
        if (pid == ancestor)
            return true;
    return false;
}

class Watch final : public ActiveWindowWatch {
public:
    Watch(Display* dpy, Atom active, Atom wmPid, std::vector<unsigned long> before)
        : dpy_(dpy), active_(active), wmPid_(wmPid), before_(std::move(before)) {}
    ~Watch() override { XCloseDisplay(dpy_); }
    Watch(const Watch&) = delete;
    Watch& operator=(const Watch&) = delete;

    bool waitForWindowOf(pid_t pid, int timeoutMs) override {
        const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
        const ErrorTrap trap(dpy_);
        bool changed = true;
        for (;;) {
            if (changed && isReady(pid))
                return true;
            changed = false;
            // The property reads may have queued notices already; otherwise
            // sleep on the connection until one comes or the bound runs out.
            if (XPending(dpy_) == 0) {
                const auto left =
                    std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
                if (left.count() <= 0)
                    return false;
                pollfd connection{ConnectionNumber(dpy_), POLLIN, 0};
                ::poll(&connection, 1, static_cast<int>(left.count()));
            }
            while (XPending(dpy_) > 0) {
                XEvent event;
                XNextEvent(dpy_, &event);
                changed =
                    changed || (event.type == PropertyNotify && event.xproperty.atom == active_);
            }
        }
    }

private:
    bool isReady(pid_t pid) {
        const Window root = DefaultRootWindow(dpy_);
        const std::vector<unsigned long> active = longs(dpy_, root, active_, XA_WINDOW);
        if (active.empty() || active.front() == None)
            return false;
        const Window window = active.front();
        if (std::find(before_.begin(), before_.end(), window) == before_.end())
            return true;
        const std::vector<unsigned long> owner = longs(dpy_, window, wmPid_, XA_CARDINAL);
        return !owner.empty() && descendsFrom(static_cast<pid_t>(owner.front()), pid);
    }

    Display* dpy_;
    Atom active_;
    Atom wmPid_;
    std::vector<unsigned long> before_; // the managed windows before the start
};

} // namespace

std::unique_ptr<ActiveWindowWatch> watchActiveWindow() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->display())
        return nullptr;
    // A connection of its own: Qt's reads its events on another thread, and
    // the root window's event mask Qt chose must stay as it is.
    Display* dpy = XOpenDisplay(DisplayString(x11->display()));
    if (!dpy)
        return nullptr;
    char names[][24] = {"_NET_ACTIVE_WINDOW", "_NET_WM_PID", "_NET_CLIENT_LIST"};
    char* list[] = {names[0], names[1], names[2]};
    Atom atoms[3] = {};
    const Window root = DefaultRootWindow(dpy);
    // Notices first: no change after the reads below goes unseen.
    XSelectInput(dpy, root, PropertyChangeMask);
    bool managed = false;
    std::vector<unsigned long> before;
    if (XInternAtoms(dpy, list, 3, False, atoms)) {
        longs(dpy, root, atoms[0], XA_WINDOW, &managed);
        before = longs(dpy, root, atoms[2], XA_WINDOW);
    }
    if (!managed) {
        XCloseDisplay(dpy);
        return nullptr;
    }
    return std::make_unique<Watch>(dpy, atoms[0], atoms[1], std::move(before));
}

} // namespace zavo::platform
