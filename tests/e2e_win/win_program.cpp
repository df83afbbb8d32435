#include "win_program.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace zavo::test {
namespace {

// Why the program is older than its sources; empty when it is not. In the
// build tree it comes from, the build itself knows (a change to the Linux
// program alone does not relink it); a program from elsewhere must be newer
// than every file under src/ and resources/.
QString staleness(const QFileInfo& exe) {
    const QString ninja = QStandardPaths::findExecutable(QStringLiteral("ninja"));
    if (!ninja.isEmpty() &&
        QFileInfo::exists(exe.absolutePath() + QStringLiteral("/build.ninja"))) {
        QProcess dryRun;
        dryRun.start(ninja, {QStringLiteral("-C"), exe.absolutePath(), QStringLiteral("-n"),
                             exe.fileName()});
        if (dryRun.waitForFinished(60000) && dryRun.exitStatus() == QProcess::NormalExit &&
            dryRun.exitCode() == 0) {
            const QString steps = QString::fromUtf8(dryRun.readAllStandardOutput());
            if (steps.contains(QStringLiteral("no work to do")))
                return {};
            return QStringLiteral("its build would first run: ") +
                   steps.section(QLatin1Char('\n'), 1, 1).trimmed();
        }
    }
    QFileInfo newest;
    for (const char* folder : {"src", "resources"}) {
        QDirIterator it(QStringLiteral(ZAVO_SOURCE_DIR "/") + QLatin1String(folder), QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QFileInfo file(it.next());
            if (!newest.exists() || file.lastModified() > newest.lastModified())
                newest = file;
        }
    }
    if (newest.lastModified() > exe.lastModified())
        return newest.filePath() + QStringLiteral(" is newer");
    return {};
}
} // namespace

QString missingPiece(const QString& launcher) {
    if (launcher.isEmpty())
        return QStringLiteral("no Windows program given: test_e2e_win [--required] "
                              "PATH/ZAVO_launcher.exe");
    const QFileInfo exe(launcher);
    if (!exe.isFile())
        return launcher + QStringLiteral(" is missing: bash scripts/build-windows.sh");
    if (const QString stale = staleness(exe); !stale.isEmpty())
        return QStringLiteral("%1 is older than its sources (%2): bash scripts/build-windows.sh")
            .arg(launcher, stale);
    if (QStringLiteral(ZAVO_WIN_HELPERS).isEmpty())
        return QStringLiteral("no MinGW compiler for the test's Windows helpers");
    if (QStandardPaths::findExecutable(QStringLiteral("wine")).isEmpty())
        return QStringLiteral("wine is not installed (apt-get install wine64 wine)");
    return {};
}

WinProgramArgs parseWinProgramArgs(int argc, char** argv) {
    WinProgramArgs args;
    args.qtestArgs.push_back(argv[0]);
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (arg == QStringLiteral("--required"))
            args.required = true;
        else if (args.launcher.isEmpty() &&
                 arg.endsWith(QStringLiteral(".exe"), Qt::CaseInsensitive))
            args.launcher = arg;
        else
            args.qtestArgs.push_back(argv[i]);
    }
    return args;
}

} // namespace zavo::test
