// The platform plugin chosen before the application object exists: X11
// through XWayland wherever a Wayland session offers it.
#include "platform/linux/session_platform.h"

#include <QTest>

using zavo::platform::qtPlatformFor;
using zavo::platform::SessionEnvironment;

class TestSessionPlatform : public QObject {
    Q_OBJECT
private slots:
    void choice_data() {
        QTest::addColumn<bool>("qtPlatformSet");
        QTest::addColumn<bool>("waylandDisplay");
        QTest::addColumn<bool>("waylandSession");
        QTest::addColumn<bool>("x11Display");
        QTest::addColumn<QString>("expected"); // empty: Qt's own choice

        QTest::newRow("X11 session") << false << false << false << true << "";
        QTest::newRow("Wayland with XWayland") << false << true << true << true << "xcb";
        QTest::newRow("WAYLAND_DISPLAY alone names the session")
            << false << true << false << true << "xcb";
        QTest::newRow("XDG_SESSION_TYPE alone names the session")
            << false << false << true << true << "xcb";
        QTest::newRow("Wayland without XWayland: native")
            << false << true << true << false << "wayland";
        QTest::newRow("the user's QT_QPA_PLATFORM stands") << true << true << true << true << "";
        QTest::newRow("no display at all") << false << false << false << false << "";
    }

    void choice() {
        QFETCH(bool, qtPlatformSet);
        QFETCH(bool, waylandDisplay);
        QFETCH(bool, waylandSession);
        QFETCH(bool, x11Display);
        QFETCH(QString, expected);
        const char* chosen = qtPlatformFor(
            SessionEnvironment{qtPlatformSet, waylandDisplay, waylandSession, x11Display});
        QCOMPARE(QString::fromLatin1(chosen), expected);
    }

    void readsTheEnvironment() {
        // Empty counts as unset; only the value "wayland" names the session type.
        qputenv("QT_QPA_PLATFORM", "");
        qputenv("WAYLAND_DISPLAY", "");
        qputenv("XDG_SESSION_TYPE", "x11");
        qputenv("DISPLAY", ":7");
        SessionEnvironment s = zavo::platform::sessionEnvironment();
        QVERIFY(!s.qtPlatformSet && !s.waylandDisplay && !s.waylandSession && s.x11Display);

        qputenv("QT_QPA_PLATFORM", "offscreen");
        qputenv("WAYLAND_DISPLAY", "wayland-0");
        qputenv("XDG_SESSION_TYPE", "wayland");
        qunsetenv("DISPLAY");
        s = zavo::platform::sessionEnvironment();
        QVERIFY(s.qtPlatformSet && s.waylandDisplay && s.waylandSession && !s.x11Display);
    }
};

QTEST_GUILESS_MAIN(TestSessionPlatform)
#include "test_session_platform.moc"
