// Every way of closing the real binary ends its process, and a start right
// after it opens the window again: nothing the launcher leaves behind (a
// started program, the accessibility bus, the registration dialog's reload)
// keeps it alive or holds its single-instance lock.
#include "a11y_bus.h"
#include "support/sheets.h"
#include "support/slot_bytes.h"
#include "support/x_driver.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <signal.h>

using zavo::test::AccessibilityBus;
using zavo::test::kDialogTitle;
using zavo::test::kMainTitle;
using zavo::test::XDriver;
using zavo::test::XSession;

namespace {

enum class Before { Nothing, Dialog, Launch };
enum class Close { CloseBox, MenuExit };

} // namespace

Q_DECLARE_METATYPE(Before)
Q_DECLARE_METATYPE(Close)

class TestE2eClosing : public QObject {
    Q_OBJECT
private slots:
    void closingEndsTheProcess_data();
    void closingEndsTheProcess();
};

void TestE2eClosing::closingEndsTheProcess_data() {
    QTest::addColumn<Before>("before");
    QTest::addColumn<Close>("close");
    QTest::addColumn<bool>("accessibilityBus");
    QTest::newRow("close box") << Before::Nothing << Close::CloseBox << false;
    QTest::newRow("menu exit") << Before::Nothing << Close::MenuExit << false;
    QTest::newRow("after the dialog") << Before::Dialog << Close::CloseBox << false;
    QTest::newRow("after a start") << Before::Launch << Close::MenuExit << false;
    QTest::newRow("accessibility bus") << Before::Nothing << Close::CloseBox << true;
    QTest::newRow("accessibility bus, dialog") << Before::Dialog << Close::MenuExit << true;
}

void TestE2eClosing::closingEndsTheProcess() {
    QFETCH(Before, before);
    QFETCH(Close, close);
    QFETCH(bool, accessibilityBus);
    XSession x;
    ZAVO_REQUIRE_X_SESSION(x);
    std::unique_ptr<AccessibilityBus> bus;
    if (accessibilityBus) {
        bus = std::make_unique<AccessibilityBus>(x);
        ZAVO_REQUIRE_A11Y_BUS(*bus);
    }

    // Slot 1 starts a program that notes its PID and stays running.
    QTemporaryDir work;
    QVERIFY(work.isValid());
    const QString marker = work.filePath(QStringLiteral("apps/started"));
    const QString program = work.filePath(QStringLiteral("apps/stay.exe"));
    QVERIFY(QDir(work.path()).mkpath(QStringLiteral("apps")));
    zavo::test::writeFile(program, "#!/bin/sh\necho $$ > '" + marker.toUtf8() + ".tmp' && mv '" +
                                       marker.toUtf8() + ".tmp' '" + marker.toUtf8() +
                                       "'\nexec sleep 120\n");
    QVERIFY(QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    zavo::test::writeFile(work.filePath(QStringLiteral("settei.ini")),
                          zavo::test::recordBytes(work.path().toUtf8() + "/apps/", "stay.exe"));

    XDriver xd(x);

    // Under AddressSanitizer the exit runs the leak check, whose suppressions
    // name system libraries below Qt's frames: only the slow unwinder, which
    // needs no frame pointers, reaches them.
    const QString sanitizer = qEnvironmentVariable("ASAN_OPTIONS");
    if (!sanitizer.isEmpty())
        x.setEnvironmentVariable(QStringLiteral("ASAN_OPTIONS"),
                                 sanitizer + QStringLiteral(":fast_unwind_on_malloc=0"));
    QProcess* launcher = x.startLauncher(work.path());
    quint64 window = x.waitForWindow(kMainTitle);
    QVERIFY2(window != 0, "no window titled ZAVO_launcher was mapped");
    QVERIFY(xd.activate(window));
    if (before == Before::Dialog) {
        QVERIFY(xd.keys({"alt+o"}));
        const quint64 dialog = x.waitForWindow(kDialogTitle);
        QVERIFY2(dialog != 0, "alt+o opened no registration dialog");
        QVERIFY(xd.activate(dialog));
        QVERIFY(xd.keys({"alt+r"}));
        QTRY_VERIFY_WITH_TIMEOUT(x.windows(kDialogTitle).isEmpty(), 10000);
        window = x.waitForWindow(kMainTitle);
        QVERIFY2(window != 0, "alt+r did not bring the main window back");
        QVERIFY(xd.activate(window));
    } else if (before == Before::Launch) {
        QVERIFY(
            xd.click(xd.designOrigin(window, zavo::test::kMainDesignHeight) +
                     zavo::test::designRect(zavo::forms::LauncherControl::Command1_6).center()));
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(marker), 15000);
        QVERIFY(xd.activate(window));
    }

    if (close == Close::MenuExit) {
        QVERIFY(xd.keys({"alt+f"}));
        QTest::qWait(300); // the drop-down opens
    }
    QElapsedTimer closing;
    closing.start();
    // openbox closes the active window on alt+F4, as by its close box.
    QVERIFY(xd.keys({close == Close::CloseBox ? "alt+F4" : "e"}));
    // A generous bound: the figure itself goes to the log.
    QVERIFY2(launcher->waitForFinished(30000), "the launcher is still running after closing");
    qInfo("closed to process ended: %lld ms (xdotool's own start included)", closing.elapsed());
    QCOMPARE(launcher->exitStatus(), QProcess::NormalExit);
    QCOMPARE(launcher->exitCode(), 0);

    // The program it started lives on; ended here by its PID.
    if (before == Before::Launch) {
        const qint64 started = zavo::test::readFile(marker).trimmed().toLongLong();
        QVERIFY(started > 0);
        QCOMPARE(::kill(pid_t(started), 0), 0);
        ::kill(pid_t(started), SIGTERM);
    }

    // A start right after the close opens the window of the new process.
    QProcess* again = x.startLauncher(work.path());
    const quint64 reopened = x.waitForWindow(kMainTitle);
    QVERIFY2(reopened != 0, "a start after the close mapped no window");
    QVERIFY(x.property(reopened, QStringLiteral("_NET_WM_PID"))
                .endsWith(u' ' + QString::number(again->processId())));
}

QTEST_GUILESS_MAIN(TestE2eClosing)
#include "test_e2e_closing.moc"
