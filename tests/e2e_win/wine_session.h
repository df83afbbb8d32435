// What the Wine end-to-end tests share: the Windows program under test (its
// path and --required come first on the test's command line; QTest gets the
// rest), the private X session and Wine prefix around it, and the driver.
//
//   TEST [--required] PATH/ZAVO_launcher.exe [QTest arguments]
#pragma once

#include "core/twips.h"
#include "support/sheets.h"
#include "support/x_driver.h"
#include "support/x_session.h"

#include <QCoreApplication>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>
#include <type_traits>
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

// Ends the prefix's server and what is left of the programs started in it.
void stopWineServer(const QString& wineDir);

// A client area where the design sheet places it at start, in pixels at `dpi`.
inline QRect clientAt(const forms::WindowSpec& window, int dpi = core::kDesignDpi) {
    const auto px = [dpi](int twips) { return core::twips_to_pixels(twips, dpi); };
    return QRect(px(window.clientLeft), px(window.clientTop), px(window.clientWidth),
                 px(window.clientHeight));
}

template <class Id> const forms::ControlSpec& sheetRow(Id id) {
    if constexpr (std::is_same_v<Id, forms::LauncherControl>)
        return forms::kLauncherControls[std::size_t(id)];
    else if constexpr (std::is_same_v<Id, forms::OptionControl>)
        return forms::kOptionControls[std::size_t(id)];
    else
        return forms::kAboutControls[std::size_t(id)];
}

// A control's rectangle in pixels at `dpi` within its window's client area
// (a frame's controls stand in the frame).
template <class Id> QRect controlAt(Id id, int dpi = core::kDesignDpi) {
    const forms::ControlSpec& row = sheetRow(id);
    QPoint at(row.left, row.top);
    if (row.container != forms::kClientArea)
        at += QPoint(sheetRow(Id(row.container)).left, sheetRow(Id(row.container)).top);
    const auto px = [dpi](int twips) { return core::twips_to_pixels(twips, dpi); };
    return QRect(px(at.x()), px(at.y()), px(row.width), px(row.height));
}

template <class Id> QString caption(Id id) {
    return QString::fromUtf8(sheetRow(id).caption);
}

// A child window as read_window.exe reads it (its "children" mode).
struct WinChild {
    QString cls, text;
    QRect rect; // on the screen
    bool seen = false, isDefault = false, focused = false, checked = false, tabStop = false;
    int textWidth = 0, textHeight = 0, room = 0, height = 0;
    // For a failure message; "none" for nullptr.
    static QString describe(const WinChild* child);
};

struct WinWindow {
    int dpi = 0, clientWidth = 0, clientHeight = 0;
    QList<WinChild> children; // none when the window was not found
    // The first child of the class `cls` showing `text`; nullptr when none.
    const WinChild* find(const QString& cls, const QString& text) const;
    const WinChild* focused() const;
};

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
    // The test's prefix, prepared on the session's display (the server keeps
    // Wine's desktop, which takes its display driver from the first program:
    // it must see this session's display, or every window would go to the
    // null driver), for everything the session starts; false when
    // wine-run.sh --prepare failed.
    bool usePrefix(const QString& dllOverrides = QStringLiteral("mscoree,mshtml="));
    // Ends the session, then the prefix's server with what is left of the
    // programs started in it.
    void endSession();
    // A helper program of the tests, built with MinGW (read_window.exe ...).
    static QString helper(const QString& name);
    // The window titled `title` (of the window class `cls` when given) and
    // its children, texts measured in `fonts` (read_window.exe's); no
    // children when the helper failed.
    WinWindow readWindow(const QString& title, const QString& cls = {},
                         const QStringList& fonts = {});
    QProcess* startProgram(const QString& workDir) {
        return session_->startProcess(QStringLiteral("wine"), {launcher_}, workDir);
    }
    // Alt+O in the main window; the registration dialog, 0 when none opened.
    quint64 openDialog(quint64 window);
    // Whether every window titled `title` closed within `timeoutMs`.
    bool gone(const QString& title, int timeoutMs = 30000);
    // Saves a screenshot under the build folder as e2e_win_NAME.png; its path.
    QString shot(const QString& name) { return driver_->shot(QStringLiteral("e2e_win_") + name); }

    const QString launcher_;
    const bool required_;
    const QString wineDir_;
    std::unique_ptr<XSession> session_;
    std::unique_ptr<XDriver> driver_;
};

// A Wine test whose every case runs in a session of its own with the
// test's prefix prepared on it; the program skipped or failed for as
// ZAVO_REQUIRE_WINDOWS_PROGRAM says.
class WineTest : public QObject, protected WineFixture {
    Q_OBJECT

public:
    WineTest(const WinProgramArgs& args, QString wineDir,
             QString dllOverrides = QStringLiteral("mscoree,mshtml="))
        : WineFixture(args, std::move(wineDir)), dllOverrides_(std::move(dllOverrides)) {}

protected:
    QTemporaryDir work_; // the work folder of the program, kept from case to case

private slots:
    void initTestCase();
    void init();
    void cleanup() { endSession(); }

private:
    const QString dllOverrides_;
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
