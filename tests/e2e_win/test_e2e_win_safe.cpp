// Safe loading under Wine: a DLL planted beside ZAVO_launcher.exe (as in a
// Downloads folder) under the name of a system DLL that is no KnownDLL is
// never loaded: comctl32.dll, also not when the launcher's tooltip comes up,
// and uxtheme.dll, which Wine's own user32 loads by name once the program
// runs (so it shows a start-up that no longer restricts the DLL search). A
// program that imports the common controls the usual way loads either at
// once, which shows the check can fail. Wine is told to prefer a DLL it finds
// to its own, as Windows' search order would. Not tried: version.dll and
// imm32.dll, which Wine's user32 loads from the program's folder before
// WinMain runs (Windows does not: its user32 imports neither).
#include "wine_session.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

using zavo::test::waitFor;

namespace {

// The centre of "win終了" (the button with the tooltip) in the design area.
const QPoint kTipButton = zavo::test::designRect(zavo::forms::LauncherControl::Command2).center();

} // namespace

class TestE2eWinSafe : public zavo::test::WineTest {
    Q_OBJECT

public:
    TestE2eWinSafe(const zavo::test::WinProgramArgs& args, QString wineDir)
        : WineTest(args, std::move(wineDir),
                   QStringLiteral("mscoree,mshtml=;comctl32=n,b;uxtheme=n,b")) {}

private slots:
    void plantedDll_data() {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("dll");
        QTest::addColumn<bool>("loads");
        const QString importing = helper(QStringLiteral("imports_comctl32.exe"));
        for (const QString& dll : {QStringLiteral("comctl32"), QStringLiteral("uxtheme")}) {
            QTest::addRow("launcher, %s", qPrintable(dll))
                << launcher_ << zavo::test::kMainTitle << dll << false;
            QTest::addRow("importing comctl32, %s", qPrintable(dll))
                << importing << QStringLiteral("imports_comctl32") << dll << true;
        }
    }

    // Started from a folder holding a copy of the program and the planted
    // DLL, the program's window up and, for the launcher, its tooltip shown.
    void plantedDll() {
        QFETCH(QString, program);
        QFETCH(QString, title);
        QFETCH(QString, dll);
        QFETCH(bool, loads);
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const QString exe = QFileInfo(program).fileName();
        QVERIFY(QFile::copy(program, folder.filePath(exe)));
        QVERIFY(QFile::copy(helper(QStringLiteral("comctl32.dll")),
                            folder.filePath(dll + QStringLiteral(".dll"))));

        session_->startProcess(QStringLiteral("wine"), {folder.filePath(exe)}, folder.path());
        const quint64 window = session_->waitForWindow(title, 60000);
        QVERIFY2(window, "no window");
        if (!loads) {
            // The tooltip needs the common controls: hover until it shows.
            driver_->moveTo(driver_->designOrigin(window, zavo::test::kMainDesignHeight) +
                            kTipButton);
            QVERIFY2(
                waitFor([&] { return driver_->visibleWindowsOfClass(exe.toLower()) >= 2; }, 30000),
                "no tooltip over the button");
            shot(QStringLiteral("safe_tooltip"));
        }
        QCOMPARE(QFile::exists(folder.filePath(dll + QStringLiteral("_loaded.txt"))), loads);
    }
};

ZAVO_WINE_TEST_MAIN(TestE2eWinSafe)
#include "test_e2e_win_safe.moc"
