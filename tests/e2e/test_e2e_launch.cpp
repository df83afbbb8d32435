// The launch buttons of the real binary, clicked with the pointer and pressed
// with the keys under a private Xvfb with openbox.
#include "support/sheets.h"
#include "support/slot_bytes.h"
#include "support/x_driver.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using zavo::forms::LauncherControl;
using zavo::test::designRect;
using zavo::test::kMainTitle;
using zavo::test::shellQuoted;
using zavo::test::XDriver;
using zavo::test::XGeometry;
using zavo::test::XSession;

namespace {} // namespace

class TestE2eLaunch : public QObject {
    Q_OBJECT
private slots:
    void slotStartsItsProgramAndMissingProgramShowsMessage();
};

void TestE2eLaunch::slotStartsItsProgramAndMissingProgramShowsMessage() {
    XSession x;
    ZAVO_REQUIRE_X_SESSION(x);

    QTemporaryDir work;
    QTemporaryDir programs(QDir::tempPath() + QStringLiteral("/zavo e2e-XXXXXX"));
    QVERIFY(work.isValid() && programs.isValid());
    const QByteArray folder = programs.path().toUtf8() + '/';
    QVERIFY2(folder.size() <= 80, "the temporary folder is too long for a slot");

    // hello.exe notes the folder it runs in, written whole or not at all.
    const QString marker = programs.filePath(QStringLiteral("marker"));
    const QString hello = programs.filePath(QStringLiteral("hello.exe"));
    {
        QFile f(hello);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("#!/bin/sh\npwd > " + shellQuoted(marker + ".tmp") + " && mv " +
                shellQuoted(marker + ".tmp") + " " + shellQuoted(marker) + "\n");
        f.close();
        QVERIFY(f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    }
    zavo::test::writeFile(work.filePath(QStringLiteral("settei.ini")),
                          zavo::test::recordBytes(folder, "hello.exe"));

    QProcess* launcher = x.startLauncher(work.path());
    const quint64 window = x.waitForWindow(kMainTitle);
    QVERIFY2(window != 0, "no window titled ZAVO_launcher was mapped");
    // The design area lies below the menu bar, at the bottom of the client.
    const XGeometry g = x.geometry(window);
    const QPoint design(g.x, g.y + g.height - 182);
    XDriver xd(x);
    // Command1(6) is slot 1; Command1(1), IE, is not installed here.
    const auto click = [&](LauncherControl button) {
        return xd.click(design + designRect(button).center());
    };

    QVERIFY(click(LauncherControl::Command1_6));
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(marker), 15000);
    QFile started(marker);
    QVERIFY(started.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(started.readAll()).trimmed(), QDir(work.path()).canonicalPath());
    QCOMPARE(x.windows(kMainTitle).size(), 1); // no message

    // A program that is not installed: the message box, titled like the
    // launcher, and the launcher keeps running.
    QVERIFY(click(LauncherControl::Command1_1));
    QTRY_COMPARE_WITH_TIMEOUT(x.windows(kMainTitle).size(), 2, 15000);
    QCOMPARE(launcher->state(), QProcess::Running);

    // Return answers the message box once it has the focus, as a user sees
    // it come to the front before pressing the key.
    QList<quint64> both = x.windows(kMainTitle);
    both.removeAll(window);
    QCOMPARE(both.size(), 1);
    const QString messageBox = QString::number(both.first());
    QTRY_COMPARE_WITH_TIMEOUT(QString::number(xd.activeWindow()), messageBox, 15000);
    QVERIFY(xd.keys({QStringLiteral("Return")}));
    QTRY_COMPARE_WITH_TIMEOUT(x.windows(kMainTitle), QList<quint64>{window}, 15000);
    QCOMPARE(launcher->state(), QProcess::Running);

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
