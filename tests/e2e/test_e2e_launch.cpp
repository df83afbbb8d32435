// The launch buttons of the real binary, clicked with the pointer and pressed
// with the keys under a private Xvfb with openbox.
#include "support/report_script.h"
#include "support/sheets.h"
#include "support/slot_bytes.h"
#include "support/x_driver.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <tuple>

using zavo::forms::LauncherControl;
using namespace zavo::test;

class TestE2eLaunch : public QObject {
    Q_OBJECT
private slots:
    void slotStartsItsProgramAndMissingProgramShowsMessage();
};

void TestE2eLaunch::slotStartsItsProgramAndMissingProgramShowsMessage() {
    LauncherRun run;
    ZAVO_REQUIRE_LAUNCHER_RUN(run);
    auto [x, xd] = std::tie(run.x, run.xd);
    QTemporaryDir programs(QDir::tempPath() + QStringLiteral("/zavo e2e-XXXXXX"));
    QVERIFY(programs.isValid());
    const QByteArray folder = programs.path().toUtf8() + '/';
    QVERIFY2(folder.size() <= 80, "the temporary folder is too long for a slot");

    // hello.exe notes the folder it runs in.
    const QString marker = programs.filePath(QStringLiteral("marker"));
    writeProgram(programs.filePath(QStringLiteral("hello.exe")),
                 reportingScript(marker, "\"$(pwd)\""));
    writeFile(run.file(QStringLiteral("settei.ini")), recordBytes(folder, "hello.exe"));

    ZAVO_VERIFY_OK(run.start());
    const quint64 window = run.window;
    // Command1(6) is slot 1; Command1(1), IE, is not installed here.
    const auto click = [&](LauncherControl button) { return xd.clickControl(window, button); };

    QVERIFY(click(LauncherControl::Command1_6));
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(marker), 15000);
    QCOMPARE(readReport(marker), QStringList{QDir(run.work.path()).canonicalPath()});
    QCOMPARE(x.windows(kMainTitle).size(), 1); // no message

    // A program that is not installed: the message box, titled like the
    // launcher, and the launcher keeps running.
    QVERIFY(click(LauncherControl::Command1_1));
    QTRY_COMPARE_WITH_TIMEOUT(x.windows(kMainTitle).size(), 2, 15000);
    QCOMPARE(run.launcher->state(), QProcess::Running);

    // Return answers the message box once it has the focus, as a user sees
    // it come to the front before pressing the key.
    QList<quint64> both = x.windows(kMainTitle);
    both.removeAll(window);
    QCOMPARE(both.size(), 1);
    const QString messageBox = QString::number(both.first());
    QTRY_COMPARE_WITH_TIMEOUT(QString::number(xd.activeWindow()), messageBox, 15000);
    QVERIFY(xd.keys({QStringLiteral("Return")}));
    QTRY_COMPARE_WITH_TIMEOUT(x.windows(kMainTitle), QList<quint64>{window}, 15000);
    QCOMPARE(run.launcher->state(), QProcess::Running);

    // Keys as on Windows: from the IE button five tabs reach slot 1, whose
    // program Enter starts; F10 opens the first menu, where Z minimises.
    QVERIFY(QFile::remove(marker));
    QTRY_COMPARE_WITH_TIMEOUT(xd.activeWindow(), window, 15000);
    QVERIFY(xd.keys(QStringList(5, QStringLiteral("Tab")) << QStringLiteral("Return"), 50));
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(marker), 15000);
    QVERIFY(xd.keys({QStringLiteral("F10"), QStringLiteral("z")}, 100));
    QTRY_VERIFY_WITH_TIMEOUT(x.property(window, QStringLiteral("_NET_WM_STATE"))
                                 .contains(QStringLiteral("_NET_WM_STATE_HIDDEN")),
                             15000);
}

QTEST_GUILESS_MAIN(TestE2eLaunch)
#include "test_e2e_launch.moc"
