#include "xtest_keys.h"

#include <QGuiApplication>

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <vector>

namespace zavo::platform {
namespace {

Display* qtDisplay() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->display() : nullptr;
}

bool press(Display* dpy, KeySym sym, bool down) {
    const KeyCode code = XKeysymToKeycode(dpy, sym);
    return code != 0 && XTestFakeKeyEvent(dpy, code, down ? True : False, CurrentTime);
}

} // namespace

bool xtestSendKeys(std::string_view keys, bool wait) {
    Display* dpy = qtDisplay();
    int event = 0, error = 0, major = 0, minor = 0;
    if (!dpy || !XTestQueryExtension(dpy, &event, &error, &major, &minor))
        return false;
    std::vector<KeySym> modifiers;
    bool ok = true;
    for (char c : keys) {
        if (c == '^' || c == '+' || c == '%') {
            const KeySym m = c == '^' ? XK_Control_L : c == '+' ? XK_Shift_L : XK_Alt_L;
            ok = ok && press(dpy, m, true);
            modifiers.push_back(m);
            continue;
        }
        const KeySym sym = static_cast<KeySym>(static_cast<unsigned char>(c));
        ok = ok && press(dpy, sym, true) && press(dpy, sym, false);
        for (auto m = modifiers.rbegin(); m != modifiers.rend(); ++m)
            ok = press(dpy, *m, false) && ok;
        modifiers.clear();
    }
    for (auto m = modifiers.rbegin(); m != modifiers.rend(); ++m)
        ok = press(dpy, *m, false) && ok;
    if (wait)
        XSync(dpy, False);
    else
        XFlush(dpy);
    return ok;
}

} // namespace zavo::platform
