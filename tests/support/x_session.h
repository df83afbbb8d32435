// A private X display for end-to-end tests, whatever other X servers start or
// stop beside it: Xvfb on a free display number (-displayfd) with openbox, or
// a desktop's own Wayland compositor (GNOME's mutter, KDE's KWin, weston)
// headless with its XWayland and a private session bus. scripts/x_session.sh
// starts it, as it does for the scripts. The session is up once the window
// manager has mapped a probe window; a session that does not come up is
// started afresh. The servers' logs go into the failure message. Window state
// is read through Xlib (x_display.h). Everything it starts is ended by its PID
// when the session is destroyed.
#pragma once

#include "x_display.h"

#include <QDir>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <memory>
#include <vector>

namespace zavo::test {

// The window managers a session can run the launcher under. GNOME, KDE and
// weston run it as an X11 client of their XWayland, as their desktops do.
enum class Desktop { Openbox, Gnome, Kde, Weston };

// Polls until `done` holds, `stop` says waiting is in vain or the time is up.
bool pollUntil(const std::function<bool()>& done, const std::function<bool()>& stop = {},
               int timeoutMs = 30000);

// Whether a process has ended; asks for its exit status first, as no event
// loop runs in these tests to notice it.
bool ended(QProcess& p);

// What a test's surroundings (the session, the buses in it) report once
// started: a missing tool skips the test; tools that were there but did not
// come up fail it (ZAVO_REQUIRE_X_SESSION).
class Readiness {
public:
    QString skipReason() const { return skipReason_; }
    QString failure() const { return failure_; }

protected:
    QString skipReason_;
    QString failure_;
};

class XSession : public Readiness {
public:
    // `screen`: the size of the virtual screen (monitor) in pixels.
    explicit XSession(QSize screen = QSize(1280, 1024), Desktop desktop = Desktop::Openbox);
    ~XSession();
    XSession(const XSession&) = delete;
    XSession& operator=(const XSession&) = delete;

    // The last lines of the servers' logs, for a failure message.
    QString serverLogs() const;
    QString display() const { return sessionEnvironment_.value(QStringLiteral("DISPLAY")); }
    // DISPLAY of this session, a private XDG_RUNTIME_DIR, a compositor's
    // WAYLAND_DISPLAY, session bus and X authority, and whatever
    // setEnvironmentVariable() added.
    QProcessEnvironment environment() const;
    QString runtimeDir() const { return runtime_.path(); }
    // Adds a variable to the environment of everything started from now on.
    void setEnvironmentVariable(const QString& name, const QString& value);
    // A private D-Bus bus listening at RUNTIME-DIR/`socket`, owned by the
    // session; its address once it listens, empty when it did not come up.
    QString startBus(const QString& socket);
    // A private system bus for everything started from now on, with a
    // monitor that writes every method call on it to the returned file
    // (empty when the bus or its monitor did not come up). Without it the
    // session's programs see no system bus at all: no test reaches the
    // machine's own logind.
    QString recordSystemBus();
    // A Japanese desktop's locale, ja_JP.UTF-8, made privately with
    // localedef (so Xlib encodes Japanese window titles as on such a
    // desktop) for everything started from now on; false when it cannot be
    // made.
    bool useJapaneseLocale();

    // Starts the launcher binary in `workDir`; the session owns the process.
    QProcess* startLauncher(const QString& workDir);
    // Starts any program in the background; the session owns it and ends it
    // before everything started earlier (the launchers before the services
    // they talk to).
    QProcess* startProcess(const QString& program, const QStringList& args,
                           const QString& workDir = {});
    // A process not started yet, with this session's environment, owned and
    // ended as the started ones.
    QProcess& newProcess();
    // Starts any program (xdotool, import ...) with this session's DISPLAY and
    // waits for it; returns its exit code (-1 when it could not run).
    int run(const QString& program, const QStringList& args, QString* stdOut = nullptr,
            int timeoutMs = 20000);

    // X id of the mapped, viewable window whose title is exactly `title`; 0 when
    // none appears within the timeout (then whyNoWindow() goes to the log).
    quint64 waitForWindow(const QString& title, int timeoutMs = 30000);
    // Wakes openbox with a change of a root window property. openbox 3.6 can
    // fall asleep with events it has already read, a window's map request
    // among them, until the next event reaches it.
    void nudgeWindowManager();
    // For a failure message: the state of everything this session started,
    // the named windows on the display and the servers' logs.
    QString whyNoWindow(const QString& title);
    // All viewable windows titled exactly `title`.
    QList<quint64> windows(const QString& title);
    // Every named window, viewable or not (XDisplay::describeNamedWindows).
    QStringList namedWindows();
    XGeometry geometry(quint64 window);
    // The window with the frame the window manager drew around it
    // (_NET_FRAME_EXTENTS): what must lie on the screen.
    XGeometry frameGeometry(quint64 window);
    // The property as xprop prints it ("NAME(TYPE) = a, b", "NAME:  not found.").
    QString property(quint64 window, const QString& name);
    // _NET_ACTIVE_WINDOW; 0 when none.
    quint64 activeWindow();
    // _NET_CLIENT_LIST_STACKING: the managed windows, bottom first.
    QList<quint64> stacking();
    // The whole screen, or one window (a rootless XWayland's root window
    // holds no image: there it is the topmost window when none is named).
    bool screenshot(const QString& pngPath, quint64 window = 0);

    static QString launcherPath();

    Desktop desktop() const { return desktop_; }
    static QString desktopName(Desktop desktop);

private:
    // Starts the servers; empty when the window manager came up, else what
    // went wrong with the logs.
    QString startServers(int attempt);
    void stopProcesses();

    QTemporaryDir runtime_{QDir::tempPath() + QStringLiteral("/zavo-e2e-XXXXXX")};
    QSize screen_;
    Desktop desktop_;
    std::unique_ptr<XDisplay> x_;
    QProcessEnvironment sessionEnvironment_;
    QProcessEnvironment extraEnvironment_;
    std::vector<std::unique_ptr<QProcess>> processes_;
};

} // namespace zavo::test

// Skips the test where the tools are missing; fails it where they are there
// but the session (or another Readiness) did not come up.
#define ZAVO_REQUIRE_X_SESSION(session)                                                            \
    do {                                                                                           \
        if (!(session).skipReason().isEmpty())                                                     \
            QSKIP(qPrintable((session).skipReason()));                                             \
        QVERIFY2((session).failure().isEmpty(), qPrintable((session).failure()));                  \
    } while (false)
