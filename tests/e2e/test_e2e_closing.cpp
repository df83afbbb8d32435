// Every way of closing the real binary ends its process, and a start right
// after it opens the window again: nothing the launcher leaves behind (a
// started program, the accessibility bus, the registration dialog's reload)
// keeps it alive or holds its single-instance lock.
#include "a11y_bus.h"
#include "support/report_script.h"
#include "support/sheets.h"
#include "support/slot_bytes.h"
#include "support/x_driver.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>

#include <memory>
#include <signal.h>
#include <tuple>

using namespace zavo::test;

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
    LauncherRun run;
    ZAVO_REQUIRE_LAUNCHER_RUN(run);
    auto [x, xd] = std::tie(run.x, run.xd);
    std::unique_ptr<AccessibilityBus> bus;
    if (accessibilityBus) {
        bus = std::make_unique<AccessibilityBus>(x);
        ZAVO_REQUIRE_A11Y_BUS(*bus);
    }

    // Slot 1 starts a program that notes its PID and stays running.
    const QString marker = run.file(QStringLiteral("apps/started"));
    QVERIFY(QDir(run.work.path()).mkpath(QStringLiteral("apps")));
    writeProgram(run.file(QStringLiteral("apps/stay.exe")),
                 reportingScript(marker, "$$") + "exec sleep 120\n");
    writeFile(run.file(QStringLiteral("settei.ini")),
              recordBytes(run.work.path().toUtf8() + "/apps/", "stay.exe"));

    // Under AddressSanitizer the exit runs the leak check, whose suppressions
    // name system libraries below Qt's frames: only the slow unwinder, which
    // needs no frame pointers, reaches them.
    const QString sanitizer = qEnvironmentVariable("ASAN_OPTIONS");
    if (!sanitizer.isEmpty())
        x.setEnvironmentVariable(QStringLiteral("ASAN_OPTIONS"),
                                 sanitizer + QStringLiteral(":fast_unwind_on_malloc=0"));
    ZAVO_VERIFY_OK(run.start());
    QVERIFY(xd.activate(run.window));
    if (before == Before::Dialog) {
        ZAVO_VERIFY_OK(run.openDialog());
        ZAVO_VERIFY_OK(run.returnToMain());
        QVERIFY(xd.activate(run.window));
    } else if (before == Before::Launch) {
        QVERIFY(xd.clickControl(run.window, zavo::forms::LauncherControl::Command1_6));
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(marker), 15000);
        QVERIFY(xd.activate(run.window));
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
    QVERIFY2(run.launcher->waitForFinished(30000), "the launcher is still running after closing");
    qInfo("closed to process ended: %lld ms (xdotool's own start included)", closing.elapsed());
    QCOMPARE(run.launcher->exitStatus(), QProcess::NormalExit);
    QCOMPARE(run.launcher->exitCode(), 0);

    // The program it started lives on; ended here by its PID.
    if (before == Before::Launch) {
        const qint64 started = readReport(marker).value(0).toLongLong();
        QVERIFY(started > 0);
        QCOMPARE(::kill(pid_t(started), 0), 0);
        ::kill(pid_t(started), SIGTERM);
    }

    // A start right after the close opens the window of the new process.
    const QString again = run.start();
    QVERIFY2(again.isEmpty(), qPrintable(QStringLiteral("a start after the close: ") + again));
    QVERIFY(x.property(run.window, QStringLiteral("_NET_WM_PID"))
                .endsWith(u' ' + QString::number(run.launcher->processId())));
}

QTEST_GUILESS_MAIN(TestE2eClosing)
#include "test_e2e_closing.moc"
