// The About window of the real binary under a private Xvfb with openbox:
// opened from the Help menu in place of the main window, and closed by Esc.
// Screenshots of both windows are saved to the build folder.
#include "support/sheets.h"
#include "support/x_driver.h"

#include <QColor>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

using zavo::test::kAboutTitle;
using zavo::test::kMainTitle;
using zavo::test::XDriver;
using zavo::test::XGeometry;
using zavo::test::XSession;

namespace {

// time_display on the screen: design area (686, 420) plus its place (16, 136).
const QRect kClockOnScreen(702, 556, 193, 25);

QString shotPath(const char* name) {
    return QStringLiteral(ZAVO_SCREENSHOT_DIR "/") + QString::fromLatin1(name);
}

} // namespace

class TestE2eAbout : public QObject {
    Q_OBJECT
private slots:
    void aboutReplacesTheMainWindowUntilEsc();
};

void TestE2eAbout::aboutReplacesTheMainWindowUntilEsc() {
    XSession x;
    ZAVO_REQUIRE_X_SESSION(x);
    QTemporaryDir work;
    QProcess* launcher = x.startLauncher(work.path());
    const quint64 main = x.waitForWindow(kMainTitle);
    QVERIFY2(main != 0, "no window titled ZAVO_launcher was mapped");

    // The clock runs: its line changes from one second to the next.
    QTest::qWait(1000);
    const QString first = shotPath("e2e_clock_1.png");
    QVERIFY(x.screenshot(first));
    QTest::qWait(1200);
    const QString mainShot = shotPath("e2e_main_window.png");
    QVERIFY(x.screenshot(mainShot));
    const QImage before = QImage(first).copy(kClockOnScreen);
    const QImage after = QImage(mainShot).copy(kClockOnScreen);
    QVERIFY(!before.isNull() && !after.isNull());
    QVERIFY2(before != after, "the clock line did not change");
    QFile::remove(first);

    // Help > About, by the keyboard.
    XDriver xd(x);
    QVERIFY(xd.activate(main));
    QVERIFY(xd.keys({QStringLiteral("alt+h")}));
    QTest::qWait(300);
    QVERIFY(xd.keys({QStringLiteral("i")}));
    const quint64 about = x.waitForWindow(kAboutTitle);
    QVERIFY2(about != 0, "the About window was not mapped");

    const XGeometry g = x.geometry(about);
    QCOMPARE(g.x, 686);
    QCOMPARE(g.y, 382);
    QCOMPARE(g.width, 318);
    QCOMPARE(g.height, 213);
    QTRY_VERIFY_WITH_TIMEOUT(x.windows(kMainTitle).isEmpty(), 10000);

    QTest::qWait(300);
    const QString aboutShot = shotPath("e2e_about_window.png");
    QVERIFY(x.screenshot(aboutShot));
    const QImage shot(aboutShot);
    // The dark rule above OK, 2 pixels high, at 144 in the client area.
    for (int dx : {16, 150, 304}) {
        QCOMPARE(QColor(shot.pixel(686 + dx, 382 + 144)), QColor(64, 64, 64));
        QCOMPARE(QColor(shot.pixel(686 + dx, 382 + 145)), QColor(64, 64, 64));
    }

    // Esc closes it and brings back the same main window.
    QVERIFY(xd.activate(about));
    QVERIFY(xd.keys({QStringLiteral("Escape")}));
    QTRY_COMPARE_WITH_TIMEOUT(x.windows(kMainTitle), QList<quint64>{main}, 10000);
    QTRY_VERIFY_WITH_TIMEOUT(x.windows(kAboutTitle).isEmpty(), 10000);
    QCOMPARE(launcher->state(), QProcess::Running);
}

QTEST_GUILESS_MAIN(TestE2eAbout)
#include "test_e2e_about.moc"
