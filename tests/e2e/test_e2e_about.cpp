// The About window of the real binary under a private Xvfb with openbox:
// opened from the Help menu in place of the main window, and closed by Esc.
// Screenshots of both windows are saved to the build folder.
#include "support/sheets.h"
#include "support/x_driver.h"

#include <QColor>
#include <QFile>
#include <QImage>
#include <QTest>

#include <tuple>

using namespace zavo::test;

class TestE2eAbout : public QObject {
    Q_OBJECT
private slots:
    void aboutReplacesTheMainWindowUntilEsc();
};

void TestE2eAbout::aboutReplacesTheMainWindowUntilEsc() {
    LauncherRun run;
    ZAVO_REQUIRE_LAUNCHER_RUN(run);
    auto [x, xd] = std::tie(run.x, run.xd);
    ZAVO_VERIFY_OK(run.start());
    const quint64 main = run.window;

    // The clock runs: its line changes from one second to the next.
    const QRect clock = designRect(zavo::forms::LauncherControl::time_display)
                            .translated(xd.designOrigin(main, kMainDesignHeight));
    QTest::qWait(1000);
    const QString first = xd.shot(QStringLiteral("e2e_clock_1"));
    QVERIFY(!first.isEmpty());
    QTest::qWait(1200);
    const QString mainShot = xd.shot(QStringLiteral("e2e_main_window"));
    QVERIFY(!mainShot.isEmpty());
    const QImage before = QImage(first).copy(clock);
    const QImage after = QImage(mainShot).copy(clock);
    QVERIFY(!before.isNull() && !after.isNull());
    QVERIFY2(before != after, "the clock line did not change");
    QFile::remove(first);

    // Help > About, by the keyboard.
    QVERIFY(xd.activate(main));
    QVERIFY(xd.keys({QStringLiteral("alt+h")}));
    QTest::qWait(300);
    QVERIFY(xd.keys({QStringLiteral("i")}));
    const quint64 about = x.waitForWindow(kAboutTitle);
    QVERIFY2(about != 0, "the About window was not mapped");

    const QRect place = designPlace(zavo::forms::kAboutWindow);
    QCOMPARE(xd.place(about), place);
    QTRY_VERIFY_WITH_TIMEOUT(x.windows(kMainTitle).isEmpty(), 10000);

    QTest::qWait(300);
    const QImage shot(xd.shot(QStringLiteral("e2e_about_window")));
    QVERIFY(!shot.isNull());
    // The dark rule above OK, 2 pixels high, where its line stands.
    const int rule = place.y() + designRect(zavo::forms::AboutControl::Line_1).top();
    for (int dx : {16, 150, 304}) {
        QCOMPARE(QColor(shot.pixel(place.x() + dx, rule)), QColor(64, 64, 64));
        QCOMPARE(QColor(shot.pixel(place.x() + dx, rule + 1)), QColor(64, 64, 64));
    }

    // Esc closes it and brings back the same main window.
    QVERIFY(xd.activate(about));
    QVERIFY(xd.keys({QStringLiteral("Escape")}));
    QTRY_COMPARE_WITH_TIMEOUT(x.windows(kMainTitle), QList<quint64>{main}, 10000);
    QTRY_VERIFY_WITH_TIMEOUT(x.windows(kAboutTitle).isEmpty(), 10000);
    QCOMPARE(run.launcher->state(), QProcess::Running);
}

QTEST_GUILESS_MAIN(TestE2eAbout)
#include "test_e2e_about.moc"
