// The idle reference: a plain Xlib window with a clock line ticking four
// times a second, as cheap as a clock on X11 gets. Between ticks it sleeps in
// poll() on the X connection; it draws only when the text changed (or the
// window was exposed). Runs until killed.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cerrno>
#include <chrono>
#include <ctime>
#include <poll.h>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

std::string clockText() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[64];
    std::strftime(text, sizeof text, "%Y/%m/%d (%a) %H:%M:%S", &local);
    return text;
}

} // namespace

int main() {
    Display* d = XOpenDisplay(nullptr);
    if (!d)
        return 1;
    const int screen = DefaultScreen(d);
    const Window w = XCreateSimpleWindow(d, RootWindow(d, screen), 686, 420, 312, 182, 0,
                                         BlackPixel(d, screen), WhitePixel(d, screen));
    XStoreName(d, w, "xlib_clock");
    XSelectInput(d, w, ExposureMask);
    XMapWindow(d, w);
    const GC gc = XCreateGC(d, w, 0, nullptr);
    XSetForeground(d, gc, BlackPixel(d, screen));

    std::string shown;
    const auto draw = [&](const std::string& text) {
        XClearWindow(d, w);
        XDrawString(d, w, gc, 16, 150, text.data(), int(text.size()));
        XFlush(d);
        shown = text;
    };
    const auto period = std::chrono::milliseconds(250);
    auto next = Clock::now() + period;
    for (;;) {
        while (XPending(d)) {
            XEvent e;
            XNextEvent(d, &e);
            if (e.type == Expose && e.xexpose.count == 0)
                draw(shown);
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(next - Clock::now()).count();
        if (left > 0) {
            pollfd p{ConnectionNumber(d), POLLIN, 0};
            if (poll(&p, 1, int(left)) < 0 && errno != EINTR)
                return 1;
            if (p.revents & POLLIN) {
                // Read what the server sent; the loop above handles it.
                XEventsQueued(d, QueuedAfterReading);
                continue;
            }
        }
        next += period;
        if (std::string text = clockText(); text != shown)
            draw(text);
    }
}
