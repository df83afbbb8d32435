// Drives the windows of a private X session as a person does, through
// xdotool: brings a window to the front, presses keys, moves and clicks the
// pointer, and reads which window is active. Every Linux and Wine end-to-end
// test goes through it. Each step answers whether xdotool did it.
// LauncherRun below is the common ground of the launcher's own tests.
#pragma once

#include "forms/zavo_launcher_sheet.h"
#include "support/x_session.h"

#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace zavo::test {

class XDriver {
public:
    explicit XDriver(XSession& session) : x_(session) {}

    bool activate(quint64 window);
    // xdotool key, `delayMs` between the keys (its own default when 0).
    bool keys(const QStringList& keys, int delayMs = 0);
    // Activates `window`, then presses `keys` there.
    bool keysTo(quint64 window, const QStringList& keys, int delayMs = 100);
    // Moves the pointer, then runs the xdotool command `then` there.
    bool moveTo(QPoint at, bool sync = false, const QStringList& then = {});
    bool click(QPoint at, bool sync = false);
    // The active window; 0 when none.
    quint64 activeWindow();
    QString activeTitle();
    // How many visible windows have the X class name `name` (Wine names a
    // program's windows after its .exe).
    int visibleWindowsOfClass(const QString& name);
    // Where the design area of the window starts on the screen: the X window
    // holds the menu bar above it, so it lies `designHeight` from the bottom.
    QPoint designOrigin(quint64 window, int designHeight);
    // The client window's place and size on the screen.
    QRect place(quint64 window);
    // The numbers of a window's property (CARDINAL, or hexadecimal as the
    // Motif hints); none when it is not set.
    QList<quint64> numbers(quint64 window, const QString& property);
    // Empty when the launcher's main window `window` holds a menu bar above
    // its design area and that stands at its place on the design sheet;
    // else where it is.
    QString misplaced(quint64 window);
    // Clicks the middle of `control` of the launcher's main window `window`,
    // at its place on the design sheet.
    bool clickControl(quint64 window, forms::LauncherControl control, bool sync = false);

    // Saves a screenshot of the screen (or of `window`) under the build
    // folder as NAME.png, never leaving an older one there; its path, empty
    // when none could be taken.
    QString shot(const QString& name, quint64 window = 0);

private:
    bool xdotool(const QStringList& args, QString* out = nullptr);
    XSession& x_;
};

// A private X session with its driver and a scratch working folder, and the
// launcher once started there. The steps answer what went wrong, or nothing
// (ZAVO_VERIFY_OK), with the messages every test gives.
struct LauncherRun {
    explicit LauncherRun(QSize screen = QSize(1280, 1024), Desktop desktop = Desktop::Openbox)
        : x(screen, desktop) {}
    XSession x;
    XDriver xd{x};
    QTemporaryDir work;
    QProcess* launcher = nullptr;
    quint64 window = 0; // the main window
    quint64 dialog = 0; // the registration dialog

    QString file(const QString& name) const { return work.filePath(name); }
    // Starts the launcher in `workDir` (the scratch folder when empty) and
    // waits for its main window.
    QString start(const QString& workDir = {});
    // Alt+O in the main window; waits for the dialog and, with `activate`,
    // gives it the keys.
    QString openDialog(bool activate = true);
    // Alt+R in the dialog: the dialog goes and the main window comes back.
    QString returnToMain();
};

// Where `window`'s design area stands at start on the design sheet, in
// pixels at 96 DPI.
QRect designPlace(const forms::WindowSpec& window);

} // namespace zavo::test

// ZAVO_REQUIRE_X_SESSION for a LauncherRun, which also needs its scratch folder.
#define ZAVO_REQUIRE_LAUNCHER_RUN(run)                                                             \
    do {                                                                                           \
        ZAVO_REQUIRE_X_SESSION((run).x);                                                           \
        QVERIFY((run).work.isValid());                                                             \
    } while (false)
// Fails the test with what a step answered, unless it answered nothing.
#define ZAVO_VERIFY_OK(step)                                                                       \
    do {                                                                                           \
        const QString whatWentWrong = (step);                                                      \
        QVERIFY2(whatWentWrong.isEmpty(), qPrintable(whatWentWrong));                              \
    } while (false)
// Asks `check` again until it answers nothing; its last answer is the message.
#define ZAVO_TRY_OK(check, timeoutMs)                                                              \
    QTRY_VERIFY2_WITH_TIMEOUT((check).isEmpty(), qPrintable(check), timeoutMs)
