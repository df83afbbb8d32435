// A stand-in media player for the end-to-end tests: `test_player DELAY_MS
// KEYS_FILE` maps its window DELAY_MS after it starts (never when negative)
// and appends each key it receives to KEYS_FILE as "^p <ms since the epoch>"
// ("^" for Ctrl). It ends with its X display.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <unistd.h>

namespace {

long long nowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

void record(const char* file, const XKeyEvent& key) {
    const KeySym sym = XLookupKeysym(const_cast<XKeyEvent*>(&key), 0);
    if (sym == NoSymbol || IsModifierKey(sym))
        return;
    const char* name = XKeysymToString(sym);
    if (FILE* f = std::fopen(file, "a")) {
        std::fprintf(f, "%s%s %lld\n", (key.state & ControlMask) ? "^" : "", name ? name : "?",
                     nowMs());
        std::fclose(f);
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3)
        return 2;
    const int delayMs = std::atoi(argv[1]);
    Display* dpy = XOpenDisplay(nullptr);
    if (!dpy)
        return 1;
    if (delayMs >= 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
        const Window w = XCreateSimpleWindow(dpy, DefaultRootWindow(dpy), 100, 100, 240, 120, 0, 0,
                                             WhitePixel(dpy, DefaultScreen(dpy)));
        XStoreName(dpy, w, "zavo test player");
        const long pid = ::getpid();
        XChangeProperty(dpy, w, XInternAtom(dpy, "_NET_WM_PID", False), XA_CARDINAL, 32,
                        PropModeReplace, reinterpret_cast<const unsigned char*>(&pid), 1);
        XWMHints hints{};
        hints.flags = InputHint;
        hints.input = True;
        XSetWMHints(dpy, w, &hints);
        XSelectInput(dpy, w, KeyPressMask);
        XMapWindow(dpy, w);
    }
    for (;;) { // until the display goes away
        XEvent event;
        XNextEvent(dpy, &event);
        if (event.type == KeyPress)
            record(argv[2], event.xkey);
    }
}
