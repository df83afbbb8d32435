// What the Wine end-to-end tests share: the Windows program under test (its
// path and --required come first on the test's command line; QTest gets the
// rest), the private X session and Wine prefix around it, and the driver.
//
//   TEST [--required] PATH/ZAVO_launcher.exe [QTest arguments]
#pragma once

#include "support/sheets.h"
#include "support/x_driver.h"
#include "support/x_session.h"

#include <QCoreApplication>
#include <QProcessEnvironment>
#include <QString>
#include <QTest>

#include <functional>
#include <memory>
#include <vector>

namespace zavo::test {

struct WinProgramArgs {
    QString launcher;
    bool required = false; // a missing or stale program fails instead of skipping
    std::vector<char*> qtestArgs;
};

WinProgramArgs parseWinProgramArgs(int argc, char** argv);

// Why the test cannot run here (no program, a program older than its
// sources, no MinGW for the helpers, no Wine); empty when it can.
QString missingPiece(const QString& launcher);

// Waits, handling events, until `done` holds; false when the time ran out.
bool waitFor(const std::function<bool()>& done, int timeoutMs);

// Everything the session starts from now on runs in the private prefix, with
// the Japanese locale compiled beside it and no add-on downloads.
void useWinePrefix(XSession& session, const QString& prefix, const QString& localeDir,
                   const QString& dllOverrides = QStringLiteral("mscoree,mshtml="));

// Makes the private Wine prefix in `wineDir` (wine-run.sh --prepare), its
// server started in `environment`; false when that failed.
bool prepareWinePrefix(const QString& wineDir, const QProcessEnvironment& environment =
                                                   QProcessEnvironment::systemEnvironment());

// Prepares the prefix in `wineDir` on the session's display (the server
// keeps Wine's desktop, which takes its display driver from the first
// program: it must see this session's display, or every window would go to
// the null driver) and uses it for everything the session starts.
bool usePreparedPrefix(XSession& session, const QString& wineDir,
                       const QString& dllOverrides = QStringLiteral("mscoree,mshtml="));

// Ends the prefix's server and what is left of the programs started in it.
void stopWineServer(const QString& wineDir);

// The base of each Wine test: the program, its prefix folder (one of the
// test's own: no other Wine program shares its server, nor the launcher's
// single-instance mutex), the session and its driver while one runs.
class WineFixture {
public:
    WineFixture(const WinProgramArgs& args, QString wineDir)
        : launcher_(args.launcher), required_(args.required), wineDir_(std::move(wineDir)) {}

protected:
    // A private X session of `screen` and its driver; see ZAVO_REQUIRE_X_SESSION.
    void startSession(QSize screen = QSize(1280, 1024));
    // The test's prefix, prepared on the session's display, for everything
    // the session starts; false when wine-run.sh --prepare failed.
    bool usePrefix(const QString& dllOverrides = QStringLiteral("mscoree,mshtml="));
    // Ends the session, then the prefix's server with what is left of the
    // programs started in it.
    void endSession();
    // A helper program of the tests, built with MinGW.
    static QString helper(const QString& name);
    // Runs a helper under Wine with `args`; its lines split at tabs (none
    // when it failed).
    QList<QStringList> helperRows(const QString& name, const QStringList& args);
    // Saves a screenshot under the build folder as e2e_win_NAME.png.
    void shot(const QString& name) { driver_->shot(QStringLiteral("e2e_win_") + name); }

    const QString launcher_;
    const bool required_;
    const QString wineDir_;
    std::unique_ptr<XSession> session_;
    std::unique_ptr<XDriver> driver_;
};

} // namespace zavo::test

// Skips the test where the program or a tool is missing; fails it there when
// the program is required.
#define ZAVO_REQUIRE_WINDOWS_PROGRAM()                                                             \
    do {                                                                                           \
        if (const QString missing = zavo::test::missingPiece(launcher_); !missing.isEmpty()) {     \
            if (required_)                                                                         \
                QFAIL(qPrintable(missing));                                                        \
            QSKIP(qPrintable(missing));                                                            \
        }                                                                                          \
    } while (false)

// main() of a Wine test class constructed from the program's arguments and
// its prefix folder.
#define ZAVO_WINE_TEST_MAIN(TestClass)                                                             \
    int main(int argc, char** argv) {                                                              \
        QCoreApplication app(argc, argv);                                                          \
        zavo::test::WinProgramArgs args = zavo::test::parseWinProgramArgs(argc, argv);             \
        TestClass test(args, QStringLiteral(ZAVO_WINE_DIR));                                       \
        return QTest::qExec(&test, static_cast<int>(args.qtestArgs.size()),                        \
                            args.qtestArgs.data());                                                \
    }
