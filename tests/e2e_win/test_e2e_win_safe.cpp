// Safe loading under Wine: a comctl32.dll planted beside ZAVO_launcher.exe
// (as in a Downloads folder) is never loaded, also not when the launcher's
// tooltip comes up; a program that imports the common controls the usual way
// loads it at once, which shows the check can fail. Wine is told to prefer a
// comctl32.dll it finds to its own, as Windows' search order would.
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
const QString kMarker = QStringLiteral("comctl32_loaded.txt");

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
        QVERIFY2(
            usePreparedPrefix(*session_, kWineDir, QStringLiteral("mscoree,mshtml=;comctl32=n,b")),
            "wine-run.sh --prepare failed");
    }

    void cleanup() {
        session_.reset();
        stopWineServer(kWineDir);
    }

    void plantedComctl32_data() {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("loads");
        QTest::newRow("launcher") << kLauncher << QStringLiteral("ZAVO_launcher") << false;
        QTest::newRow("importing comctl32") << kHelpers + QStringLiteral("/imports_comctl32.exe")
                                            << QStringLiteral("imports_comctl32") << true;
    }

    // Started from a folder holding a copy of the program and the planted
    // DLL, the program's window up and, for the launcher, its tooltip shown.
    void plantedComctl32() {
        QFETCH(QString, program);
        QFETCH(QString, title);
        QFETCH(bool, loads);
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const QString exe = QFileInfo(program).fileName();
        QVERIFY(QFile::copy(program, folder.filePath(exe)));
        QVERIFY(QFile::copy(kHelpers + QStringLiteral("/comctl32.dll"),
                            folder.filePath(QStringLiteral("comctl32.dll"))));

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
        QCOMPARE(QFile::exists(folder.filePath(kMarker)), loads);
    }
};

QTEST_GUILESS_MAIN(TestE2eWinSafe)
#include "test_e2e_win_safe.moc"
