// Ctrl+P through XTest under a private Xvfb: the call returns only once the X
// server has processed the keys, so they have already been delivered to the
// focused window when the call returns; without an X11 display the call fails
// instead of crashing. The X side runs in a child copy of this binary, started
// with the session's DISPLAY.
//
// The receiving window lives on a second X connection. From the first fake key
// on, that connection holds a server grab: the server serves it alone and
// leaves the keys on the launcher code's connection unprocessed. A call that
// does not wait for the server returns while the grab still stands, and the
// receiver finds no key; a call that waits is let through when the grab is
// released, after a while, and the receiver finds all four.
#include "platform/linux/xtest_keys.h"
#include "support/x_session.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QTest>
#include <QThread>

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <dlfcn.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <thread>
#include <vector>

namespace {

constexpr const char* kChildArg = "--receive-ctrl-p";

struct Key {
    int type; // KeyPress or KeyRelease
    KeySym sym;
    bool control; // Control held, as the receiver sees the key
    bool operator==(const Key&) const = default;
};

// A focused window of its own on a second X connection.
class Receiver {
public:
    Display* dpy = XOpenDisplay(nullptr);
    Window window = 0;

    ~Receiver() {
        if (dpy)
            XCloseDisplay(dpy);
    }

    bool mapAndFocus() {
        if (!dpy)
            return false;
        window = XCreateSimpleWindow(dpy, DefaultRootWindow(dpy), 0, 0, 200, 100, 0, 0, 0);
        XSelectInput(dpy, window, KeyPressMask | KeyReleaseMask);
        XMapRaised(dpy, window);
        const QDeadlineTimer deadline(20000);
        while (!deadline.hasExpired()) {
            XSetInputFocus(dpy, window, RevertToParent, CurrentTime);
            Window focus = 0;
            int revert = 0;
            XGetInputFocus(dpy, &focus, &revert);
            if (focus == window)
                return true;
            QThread::msleep(20);
        }
        return false;
    }

    // The key events the server has delivered so far: one round trip, then
    // what is queued, without waiting for more.
    std::vector<Key> delivered() {
        XSync(dpy, False);
        std::vector<Key> keys;
        XEvent e;
        while (XCheckWindowEvent(dpy, window, KeyPressMask | KeyReleaseMask, &e))
            keys.push_back({e.type, XLookupKeysym(&e.xkey, 0), (e.xkey.state & ControlMask) != 0});
        return keys;
    }
};

// The receiver's server grab, taken at the first fake key of the call.
struct Gate {
    std::atomic<Display*> armed{nullptr};
    std::mutex mutex;
    std::condition_variable changed;
    bool grabbed = false; // the grab stands
    bool used = false;    // a fake key came through XTestFakeKeyEvent
    bool looked = false;  // the receiver has looked after the call
};
Gate gate;

} // namespace

// The launcher code's fake keys pass here on their way to libXtst.
extern "C" int XTestFakeKeyEvent(Display* dpy, unsigned int keycode, Bool isPress,
                                 unsigned long delay) {
    using Real = int (*)(Display*, unsigned int, Bool, unsigned long);
    static const auto real = reinterpret_cast<Real>(dlsym(RTLD_NEXT, "XTestFakeKeyEvent"));
    if (Display* receiver = gate.armed.exchange(nullptr)) {
        std::lock_guard lock(gate.mutex);
        XGrabServer(receiver);
        XSync(receiver, False);
        gate.grabbed = gate.used = true;
        gate.changed.notify_all();
    }
    return real(dpy, keycode, isPress, delay);
}

namespace {

// Exit code 0: Ctrl+P had reached the receiving window when the call returned.
int receiveCtrlP(int argc, char* argv[]) {
    QApplication app(argc, argv);
    Receiver receiver;
    if (!receiver.mapAndFocus())
        return 2;
    receiver.delivered(); // nothing left over from mapping

    // Ends the grab two seconds after it was taken, unless the receiver has
    // looked before: only a call that waits for the server needs it ended.
    std::thread releaser([&receiver] {
        std::unique_lock lock(gate.mutex);
        gate.changed.wait(lock, [] { return gate.grabbed || gate.looked; });
        gate.changed.wait_for(lock, std::chrono::seconds(2), [] { return gate.looked; });
        if (gate.grabbed) {
            XUngrabServer(receiver.dpy);
            XFlush(receiver.dpy);
            gate.grabbed = false;
        }
    });
    gate.armed = receiver.dpy;
    const bool sent = zavo::platform::xtestSendKeys("^p", true);
    std::vector<Key> got;
    {
        std::lock_guard lock(gate.mutex);
        got = receiver.delivered();
        gate.looked = true;
        gate.changed.notify_all();
    }
    releaser.join();

    if (!sent)
        return 3;
    if (!gate.used) {
        std::printf("no key came through XTestFakeKeyEvent\n");
        return 4;
    }
    const std::vector<Key> expected = {{KeyPress, XK_Control_L, false},
                                       {KeyPress, XK_p, true},
                                       {KeyRelease, XK_p, true},
                                       {KeyRelease, XK_Control_L, true}};
    if (got != expected) {
        std::printf("%zu of the 4 key events delivered when the call returned\n", got.size());
        return 5;
    }
    return 0;
}

} // namespace

class TestXtestKeys : public QObject {
    Q_OBJECT
private slots:
    void ctrlPIsDeliveredWhenTheCallReturns();
    void failsWithoutAnX11Display();
};

void TestXtestKeys::ctrlPIsDeliveredWhenTheCallReturns() {
    zavo::test::XSession x;
    ZAVO_REQUIRE_X_SESSION(x);
    // Its exit code, and what it says: -1 when it did not start or end normally.
    QString said;
    const int code = x.run(QCoreApplication::applicationFilePath(),
                           {QString::fromLatin1(kChildArg)}, &said, 60000);
    QVERIFY2(code == 0, qPrintable(QStringLiteral("exit code %1 %2").arg(code).arg(said)));
}

void TestXtestKeys::failsWithoutAnX11Display() {
    // This process runs on the offscreen platform: there is no X11 display.
    QVERIFY(!zavo::platform::xtestSendKeys("^p", true));
}

int main(int argc, char* argv[]) {
    if (argc > 1 && std::strcmp(argv[1], kChildArg) == 0)
        return receiveCtrlP(argc, argv);
    QApplication app(argc, argv);
    TestXtestKeys test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_xtest_keys.moc"
