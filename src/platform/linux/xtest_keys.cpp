#include "xtest_keys.h"

#include "core/key_notation.h"

#include <QGuiApplication>

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

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

// Ctrl, Shift and Alt, in the order of core::Modifier.
constexpr KeySym kModifierKeys[] = {XK_Control_L, XK_Shift_L, XK_Alt_L};

KeySym keysymOf(core::Modifier m) {
    return kModifierKeys[static_cast<int>(m)];
}

} // namespace

bool xtestSendKeys(std::string_view keys, bool wait) {
    Display* dpy = qtDisplay();
    int event = 0, error = 0, major = 0, minor = 0;
    if (!dpy || !XTestQueryExtension(dpy, &event, &error, &major, &minor))
        return false;
    const bool ok = core::play_key_notation(
        keys, [dpy](core::Modifier m, bool down) { return press(dpy, keysymOf(m), down); },
        [dpy](char c) {
            const KeySym sym = static_cast<KeySym>(static_cast<unsigned char>(c));
            return press(dpy, sym, true) && press(dpy, sym, false);
        });
    if (wait)
        XSync(dpy, False);
    else
        XFlush(dpy);
    return ok;
}

} // namespace zavo::platform
