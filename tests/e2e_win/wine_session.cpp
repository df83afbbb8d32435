#include "wine_session.h"

#include <QDeadlineTimer>
#include <QDirIterator>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <utility>

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

bool waitFor(const std::function<bool()>& done, int timeoutMs) {
    QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QTest::qWait(100);
    }
    return true;
}

void useWinePrefix(XSession& session, const QString& prefix, const QString& localeDir,
                   const QString& dllOverrides) {
    for (const auto& [name, value] :
         {std::pair{"WINEPREFIX", prefix}, std::pair{"LOCPATH", localeDir},
          std::pair{"WINEDEBUG", QStringLiteral("-all")},
          std::pair{"WINEDLLOVERRIDES", dllOverrides},
          std::pair{"LANG", QStringLiteral("ja_JP.UTF-8")},
          std::pair{"LC_ALL", QStringLiteral("ja_JP.UTF-8")}})
        session.setEnvironmentVariable(QString::fromLatin1(name), value);
}

bool prepareWinePrefix(const QString& wineDir, const QProcessEnvironment& environment) {
    QProcess prepare;
    prepare.setProcessEnvironment(environment);
    prepare.start(QStringLiteral(ZAVO_WINE_RUN), {QStringLiteral("--prepare"), wineDir});
    return prepare.waitForFinished(180000) && prepare.exitStatus() == QProcess::NormalExit &&
           prepare.exitCode() == 0;
}

void stopWineServer(const QString& wineDir) {
    QProcess::execute(QStringLiteral(ZAVO_WINE_RUN), {QStringLiteral("--stop"), wineDir});
}

void WineFixture::startSession(QSize screen) {
    session_ = std::make_unique<XSession>(screen);
    driver_ = std::make_unique<XDriver>(*session_);
}

bool WineFixture::usePrefix(const QString& dllOverrides) {
    if (!QDir().mkpath(wineDir_) || !prepareWinePrefix(wineDir_, session_->environment()))
        return false;
    useWinePrefix(*session_, wineDir_ + QStringLiteral("/wine-prefix"),
                  wineDir_ + QStringLiteral("/wine-locale"), dllOverrides);
    return true;
}

void WineFixture::endSession() {
    driver_.reset();
    session_.reset();
    stopWineServer(wineDir_);
}

QString WineFixture::helper(const QString& name) {
    return QStringLiteral(ZAVO_WIN_HELPERS "/") + name;
}

WinWindow WineFixture::readWindow(const QString& title, const QString& cls,
                                  const QStringList& fonts) {
    WinWindow window;
    const QStringList args{helper(QStringLiteral("read_window.exe")), QStringLiteral("children"),
                           title, cls.isEmpty() ? QStringLiteral("*") : cls};
    QString out;
    if (session_->run(QStringLiteral("wine"), args + fonts, &out, 60000) != 0)
        return window;
    for (const QString& line : out.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QStringList f = line.split(QLatin1Char('\t'));
        if (f.value(0) == QLatin1String("window") && f.size() == 4) {
            window.dpi = f[1].toInt();
            window.clientWidth = f[2].toInt();
            window.clientHeight = f[3].toInt();
        } else if (f.value(0) == QLatin1String("child") && f.size() == 13) {
            const QStringList r = f[3].split(QLatin1Char(','));
            const auto flag = [&](int i) { return f[i] == QLatin1String("1"); };
            window.children.append({f[1], f[2],
                                    QRect(QPoint(r.value(0).toInt(), r.value(1).toInt()),
                                          QPoint(r.value(2).toInt() - 1, r.value(3).toInt() - 1)),
                                    flag(4), flag(5), flag(6), flag(7), flag(8), f[9].toInt(),
                                    f[10].toInt(), f[11].toInt(), f[12].toInt()});
        }
    }
    return window;
}

quint64 WineFixture::openDialog(quint64 window) {
    driver_->keysTo(window, {QStringLiteral("alt+o")});
    return session_->waitForWindow(kDialogTitle, 30000);
}

bool WineFixture::gone(const QString& title, int timeoutMs) {
    return waitFor([&] { return session_->windows(title).isEmpty(); }, timeoutMs);
}

QString WinChild::describe(const WinChild* child) {
    if (!child)
        return QStringLiteral("none");
    const QRect& r = child->rect;
    return QStringLiteral("%1 \"%2\" at %3,%4 %5x%6%7")
        .arg(child->cls, child->text)
        .arg(r.x())
        .arg(r.y())
        .arg(r.width())
        .arg(r.height())
        .arg(child->seen ? QString() : QStringLiteral(" hidden"));
}

const WinChild* WinWindow::find(const QString& cls, const QString& text) const {
    for (const WinChild& c : children)
        if (c.cls.compare(cls, Qt::CaseInsensitive) == 0 && c.text == text)
            return &c;
    return nullptr;
}

const WinChild* WinWindow::focused() const {
    for (const WinChild& c : children)
        if (c.focused)
            return &c;
    return nullptr;
}

void WineTest::initTestCase() {
    ZAVO_REQUIRE_WINDOWS_PROGRAM();
}

void WineTest::init() {
    startSession();
    ZAVO_REQUIRE_X_SESSION(*session_);
    QVERIFY2(usePrefix(dllOverrides_), "wine-run.sh --prepare failed");
    QVERIFY(work_.isValid());
}

} // namespace zavo::test
