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
#include "support/x_session.h"
#include "wine_session.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using zavo::test::stopWineServer;
using zavo::test::usePreparedPrefix;
using zavo::test::waitFor;
using zavo::test::XSession;

namespace {

const QString kLauncher = QStringLiteral(ZAVO_WIN_LAUNCHER);
const QString kHelpers = QStringLiteral(ZAVO_WIN_HELPERS);
const QString kWineDir = QStringLiteral(ZAVO_WINE_DIR);

// The centre of "win終了" (the button with the tooltip) in the client area.
constexpr int kTipButtonX = (3240 + 1215 / 2) / 15, kTipButtonY = (2040 + 495 / 2) / 15;

} // namespace

class TestE2eWinSafe : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<XSession> session_;

    // Visible X windows of the Wine program `exe` (Wine names their class
    // after it): the main window, and its tooltip while that shows.
    int visibleWindowsOf(const QString& exe) {
        QString out;
        session_->run(QStringLiteral("xdotool"),
                      {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                       QStringLiteral("--classname"), exe.toLower()},
                      &out);
        return int(out.split(QLatin1Char('\n'), Qt::SkipEmptyParts).size());
    }

private slots:
    void init() {
        if (!QFile::exists(kLauncher)) {
            const QString why = kLauncher + QStringLiteral(" is missing: build-windows.sh");
            if (ZAVO_WIN_REQUIRED)
                QFAIL(qPrintable(why));
            QSKIP(qPrintable(why));
        }
        if (kHelpers.isEmpty())
            QSKIP("no MinGW compiler for the test's Windows helpers");
        if (QStandardPaths::findExecutable(QStringLiteral("wine")).isEmpty())
            QSKIP("wine is not installed (apt-get install wine64 wine)");
        QVERIFY(QDir().mkpath(kWineDir));
        session_ = std::make_unique<XSession>();
        ZAVO_REQUIRE_X_SESSION(*session_);
        QVERIFY2(usePreparedPrefix(*session_, kWineDir,
                                   QStringLiteral("mscoree,mshtml=;comctl32=n,b;uxtheme=n,b")),
                 "wine-run.sh --prepare failed");
    }

    void cleanup() {
        session_.reset();
        stopWineServer(kWineDir);
    }

    void plantedDll_data() {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("dll");
        QTest::addColumn<bool>("loads");
        const QString importing = kHelpers + QStringLiteral("/imports_comctl32.exe");
        for (const QString& dll : {QStringLiteral("comctl32"), QStringLiteral("uxtheme")}) {
            QTest::addRow("launcher, %s", qPrintable(dll))
                << kLauncher << QStringLiteral("ZAVO_launcher") << dll << false;
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
        QVERIFY(QFile::copy(kHelpers + QStringLiteral("/comctl32.dll"),
                            folder.filePath(dll + QStringLiteral(".dll"))));

        session_->startProcess(QStringLiteral("wine"), {folder.filePath(exe)}, folder.path());
        const quint64 window = session_->waitForWindow(title, 60000);
        QVERIFY2(window, "no window");
        if (!loads) {
            // The tooltip needs the common controls: hover until it shows.
            const zavo::test::XGeometry g = session_->geometry(window);
            const int menuBar = g.height - 182;
            session_->run(QStringLiteral("xdotool"),
                          {QStringLiteral("mousemove"), QString::number(g.x + kTipButtonX),
                           QString::number(g.y + menuBar + kTipButtonY)});
            QVERIFY2(waitFor([&] { return visibleWindowsOf(exe) >= 2; }, 30000),
                     "no tooltip over the button");
            session_->screenshot(QStringLiteral(ZAVO_SCREENSHOT_DIR "/e2e_win_safe_tooltip.png"));
        }
        QCOMPARE(QFile::exists(folder.filePath(dll + QStringLiteral("_loaded.txt"))), loads);
    }
};

QTEST_GUILESS_MAIN(TestE2eWinSafe)
#include "test_e2e_win_safe.moc"
