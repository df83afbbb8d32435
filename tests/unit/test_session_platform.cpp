// The platform plugin chosen before the application object exists: X11
// through XWayland wherever a Wayland session offers it.
#include "platform/linux/session_platform.h"

#include <QTest>

using zavo::platform::qtPlatformFor;
using zavo::platform::SessionEnvironment;

Q_DECLARE_METATYPE(SessionEnvironment)

class TestSessionPlatform : public QObject {
    Q_OBJECT
private slots:
    void choice_data() {
        // QT_QPA_PLATFORM, WAYLAND_DISPLAY, XDG_SESSION_TYPE=wayland, DISPLAY
        QTest::addColumn<SessionEnvironment>("environment");
        QTest::addColumn<QString>("expected"); // empty: Qt's own choice

        QTest::newRow("X11 session") << SessionEnvironment{false, false, false, true} << "";
        QTest::newRow("Wayland with XWayland")
            << SessionEnvironment{false, true, true, true} << "xcb";
        QTest::newRow("WAYLAND_DISPLAY alone names the session")
            << SessionEnvironment{false, true, false, true} << "xcb";
        QTest::newRow("XDG_SESSION_TYPE alone names the session")
            << SessionEnvironment{false, false, true, true} << "xcb";
        QTest::newRow("Wayland without XWayland: native")
            << SessionEnvironment{false, true, true, false} << "wayland";
        QTest::newRow("the user's QT_QPA_PLATFORM stands")
            << SessionEnvironment{true, true, true, true} << "";
        QTest::newRow("no display at all") << SessionEnvironment{false, false, false, false} << "";
    }

    void choice() {
        QFETCH(SessionEnvironment, environment);
        QFETCH(QString, expected);
        QCOMPARE(QString::fromLatin1(qtPlatformFor(environment)), expected);
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
