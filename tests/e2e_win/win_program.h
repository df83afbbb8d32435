// The Windows program the Wine end-to-end test drives: its path and
// --required come first on the test's command line; QTest gets the rest.
//
//   test_e2e_win [--required] PATH/ZAVO_launcher.exe [QTest arguments]
#pragma once

#include <QString>

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

} // namespace zavo::test
