#include "x_session.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QThread>

namespace zavo::test {
namespace {

// A session that does not come up is started again from scratch; a failure
// is reported only when every attempt failed, with the logs of each.
constexpr int kAttempts = 3;
constexpr int kStartTimeoutMs = 30000;

// Each desktop: its key for scripts/x_session.sh, its name in test rows, and
// the tools its session needs beside xdotool, xprop and xmessage, each as
// "tool:package".
struct DesktopKind {
    const char* key;
    const char* name;
    const char* needs;
};
constexpr DesktopKind kDesktops[] = {
    {"openbox", "openbox", "Xvfb:xvfb openbox:openbox"},
    {"gnome", "GNOME (mutter)", "Xwayland:xwayland dbus-daemon:dbus mutter:mutter"},
    {"kde", "KDE (kwin_wayland)", "Xwayland:xwayland dbus-daemon:dbus kwin_wayland:kwin-wayland"},
    {"weston", "weston", "Xwayland:xwayland weston:weston"},
};

const DesktopKind& kindOf(Desktop desktop) {
    return kDesktops[static_cast<int>(desktop)];
}

QString findTool(const QString& name) {
    return QStandardPaths::findExecutable(name);
}

// For failure messages: whether a process we started still runs.
QString describe(QProcess& p) {
    if (!ended(p))
        return QStringLiteral("running");
    return p.exitStatus() == QProcess::CrashExit
               ? QStringLiteral("ended by a signal")
               : QStringLiteral("exited with %1").arg(p.exitCode());
}

// The last lines of a log file, indented, for a failure message.
QString tail(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("    (no log)\n");
    QStringList lines;
    for (const QString& line :
         QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        // Xvfb's notes on each display number it found in use while choosing.
        if (!line.contains(QStringLiteral("SocketCreateListener() failed")) &&
            !line.contains(QStringLiteral("server already running")))
            lines.append(QStringLiteral("    ") + line + QLatin1Char('\n'));
    return lines.isEmpty() ? QStringLiteral("    (empty)\n")
                           : lines.mid(lines.size() - 30).join(QString());
}

// The tails of the logs in `folder`, each under its name.
QString logsIn(const QDir& folder) {
    QString logs;
    for (const QString& name : folder.entryList({QStringLiteral("*.log")}, QDir::Files, QDir::Name))
        logs += QStringLiteral("  %1:\n%2").arg(name, tail(folder.filePath(name)));
    return logs;
}

} // namespace

bool pollUntil(const std::function<bool()>& done, const std::function<bool()>& stop,
               int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired() && !(stop && stop())) {
        if (done())
            return true;
        QThread::msleep(20);
    }
    return done();
}

bool ended(QProcess& p) {
    p.waitForFinished(0);
    return p.state() == QProcess::NotRunning;
}

QString XSession::desktopName(Desktop desktop) {
    return QString::fromLatin1(kindOf(desktop).name);
}

XSession::XSession(QSize screen, Desktop desktop) : screen_(screen), desktop_(desktop) {
    const QString needs = QStringLiteral("xdotool:xdotool xprop:x11-utils xmessage:x11-utils ") +
                          QString::fromLatin1(kindOf(desktop).needs);
    for (const QString& need : needs.split(QLatin1Char(' '))) {
        const QStringList toolAndPackage = need.split(QLatin1Char(':'));
        if (findTool(toolAndPackage[0]).isEmpty()) {
            skipReason_ = QStringLiteral("%1 is not installed (apt-get install %2)")
                              .arg(toolAndPackage[0], toolAndPackage[1]);
            return;
        }
    }
    QString attempts;
    for (int attempt = 1; attempt <= kAttempts; ++attempt) {
        const QString problem = startServers(attempt);
        if (problem.isEmpty()) {
            if (!attempts.isEmpty())
                qWarning("X session came up on %s only after a retry:\n%s", qPrintable(display()),
                         qPrintable(attempts));
            return;
        }
        attempts += problem;
        stopProcesses();
        sessionEnvironment_ = {};
    }
    failure_ = attempts;
    // In full here: a test's failure message is cut short.
    qWarning("%s", qPrintable(failure_));
}

// scripts/x_session.sh starts the session, for the scripts and these tests
// alike, prints what its clients need and keeps it until it is ended.
QString XSession::startServers(int attempt) {
    const QString folder = runtimeDir() + QStringLiteral("/session-%1").arg(attempt);
    QDir().mkpath(folder);
    QProcess& session = newProcess();
    session.setStandardErrorFile(folder + QStringLiteral("/session.log"));
    session.start(QStringLiteral("bash"),
                  {QStringLiteral("-c"), QStringLiteral("source \"$0\" && serve_x_session \"$@\""),
                   QStringLiteral(ZAVO_X_SESSION_SCRIPT), QString::fromLatin1(kindOf(desktop_).key),
                   folder, QStringLiteral("%1x%2").arg(screen_.width()).arg(screen_.height())});
    // NAME=VALUE lines, then "ready" or "failed".
    QString answer;
    while (answer != QLatin1String("ready") && answer != QLatin1String("failed") &&
           (session.canReadLine() || session.waitForReadyRead(kStartTimeoutMs))) {
        if (!session.canReadLine())
            continue;
        answer = QString::fromUtf8(session.readLine()).trimmed();
        if (answer.contains(QLatin1Char('=')))
            sessionEnvironment_.insert(answer.section(QLatin1Char('='), 0, 0),
                                       answer.section(QLatin1Char('='), 1));
    }
    // The script answers once the window manager has mapped a probe window.
    const bool ready = answer == QLatin1String("ready");
    if (ready && (x_ = XDisplay::open(environment())))
        return {};
    const QString problem = ready ? QStringLiteral("cannot connect to the display")
                                  : QStringLiteral("the session did not come up");
    return QStringLiteral("attempt %1, %2 on %3: %4 (session %5)\n%6")
        .arg(attempt)
        .arg(desktopName(desktop_), display(), problem, describe(session), logsIn(QDir(folder)));
}

void XSession::nudgeWindowManager() {
    if (x_)
        x_->touchRoot();
}

void XSession::stopProcesses() {
    // Our own connection first, then the launchers, the window manager and
    // the servers: the reverse of starting.
    x_.reset();
    for (; !processes_.empty(); processes_.pop_back()) {
        QProcess& p = *processes_.back();
        p.terminate(); // nothing for one that has ended
        if (!p.waitForFinished(5000)) {
            p.kill();
            p.waitForFinished(3000);
        }
    }
}

// Then the runtime folder goes, with the sockets and logs in it.
XSession::~XSession() {
    stopProcesses();
}

QString XSession::serverLogs() const {
    QString logs;
    const QDir dir(runtimeDir());
    for (const QString& folder :
         QStringList{QString()} + dir.entryList({QStringLiteral("session-*")}, QDir::Dirs))
        logs += logsIn(QDir(dir.filePath(folder)));
    return logs;
}

QProcessEnvironment XSession::environment() const {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir());
    // Nothing of a desktop the tests may run from: its displays, session
    // manager or X authority file.
    for (const char* name :
         {"DISPLAY", "QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "SESSION_MANAGER", "XAUTHORITY"})
        env.remove(QString::fromLatin1(name));
    env.insert(QStringLiteral("DBUS_SYSTEM_BUS_ADDRESS"),
               QStringLiteral("unix:path=") + runtimeDir() + QStringLiteral("/no-system-bus"));
    env.insert(sessionEnvironment_);
    env.insert(extraEnvironment_);
    return env;
}

void XSession::setEnvironmentVariable(const QString& name, const QString& value) {
    extraEnvironment_.insert(name, value);
}

QProcess& XSession::newProcess() {
    processes_.push_back(std::make_unique<QProcess>());
    processes_.back()->setProcessEnvironment(environment());
    return *processes_.back();
}

QString XSession::startBus(const QString& socket) {
    QProcess& bus = newProcess();
    bus.start(QStringLiteral("dbus-daemon"),
              {QStringLiteral("--session"), QStringLiteral("--nofork"),
               QStringLiteral("--print-address"),
               QStringLiteral("--address=unix:path=%1/%2").arg(runtimeDir(), socket)});
    // It prints its address once it listens.
    return bus.waitForReadyRead(10000) ? QString::fromUtf8(bus.readLine()).trimmed() : QString();
}

QString XSession::recordSystemBus() {
    const QString address = startBus(QStringLiteral("system_bus_socket"));
    if (address.isEmpty() || findTool(QStringLiteral("dbus-monitor")).isEmpty())
        return {};
    const QString log = runtimeDir() + QStringLiteral("/system-bus-calls.log");
    QProcess& watch = newProcess();
    watch.setStandardOutputFile(log);
    watch.start(QStringLiteral("dbus-monitor"),
                {QStringLiteral("--address"), address, QStringLiteral("--monitor"),
                 QStringLiteral("type='method_call'")});
    setEnvironmentVariable(QStringLiteral("DBUS_SYSTEM_BUS_ADDRESS"), address);
    // The monitor writes its own NameAcquired signal once it listens.
    return pollUntil([&] { return QFileInfo(log).size() > 0; }, [&] { return ended(watch); })
               ? log
               : QString();
}

bool XSession::useJapaneseLocale() {
    const QString locales = runtimeDir() + QStringLiteral("/locale");
    if (!QDir().mkpath(locales) ||
        run(QStringLiteral("localedef"),
            {QStringLiteral("-i"), QStringLiteral("ja_JP"), QStringLiteral("-f"),
             QStringLiteral("UTF-8"), locales + QStringLiteral("/ja_JP.UTF-8")}) != 0)
        return false;
    setEnvironmentVariable(QStringLiteral("LOCPATH"), locales);
    setEnvironmentVariable(QStringLiteral("LANG"), QStringLiteral("ja_JP.UTF-8"));
    return true;
}

QProcess* XSession::startLauncher(const QString& workDir) {
    return startProcess(launcherPath(), {}, workDir);
}

QProcess* XSession::startProcess(const QString& program, const QStringList& args,
                                 const QString& workDir) {
    QProcess& p = newProcess();
    if (!workDir.isEmpty())
        p.setWorkingDirectory(workDir);
    p.setProcessChannelMode(QProcess::ForwardedChannels);
    p.start(program, args);
    p.waitForStarted(10000);
    return &p;
}

int XSession::run(const QString& program, const QStringList& args, QString* stdOut, int timeoutMs) {
    QProcess p;
    p.setProcessEnvironment(environment());
    p.start(program, args);
    if (!p.waitForStarted(10000))
        return -1;
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished(3000);
        return -1;
    }
    if (stdOut)
        *stdOut = QString::fromUtf8(p.readAllStandardOutput());
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

QList<quint64> XSession::windows(const QString& title) {
    return x_ ? x_->viewableWindows(title) : QList<quint64>{};
}

QStringList XSession::namedWindows() {
    return x_ ? x_->describeNamedWindows() : QStringList{};
}

quint64 XSession::waitForWindow(const QString& title, int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs);
    for (int round = 1; !deadline.hasExpired(); ++round) {
        const QList<quint64> ids = windows(title);
        if (!ids.isEmpty())
            return ids.first();
        if (round % 10 == 0)
            nudgeWindowManager();
        QThread::msleep(50);
    }
    qWarning("%s", qPrintable(whyNoWindow(title)));
    return 0;
}

QString XSession::whyNoWindow(const QString& title) {
    QString out = QStringLiteral("no window titled \"%1\" on %2 (%3); what this session started:\n")
                      .arg(title, display(), desktopName(desktop_));
    for (const auto& p : processes_)
        out += QStringLiteral("  %1 %2: %3\n")
                   .arg(p->program(), p->arguments().join(QLatin1Char(' ')), describe(*p));
    // The named windows, whether they are viewable, and whether the window
    // manager took them in (a managed window bears WM_STATE).
    out += QStringLiteral("  named windows:\n");
    for (const QString& line : namedWindows())
        out += QStringLiteral("    ") + line + QLatin1Char('\n');
    return out + QStringLiteral("  ") +
           property(x_ ? x_->root() : 0, QStringLiteral("_NET_CLIENT_LIST")) + QLatin1Char('\n') +
           serverLogs();
}

XGeometry XSession::geometry(quint64 window) {
    return x_ ? x_->geometry(window) : XGeometry{-1, -1, -1, -1};
}

XGeometry XSession::frameGeometry(quint64 window) {
    XGeometry g = geometry(window);
    // left, right, top, bottom
    const QList<quint64> sides = x_ ? x_->numbers(window, "_NET_FRAME_EXTENTS") : QList<quint64>{};
    if (sides.size() == 4) {
        const int left = int(sides[0]), right = int(sides[1]);
        const int top = int(sides[2]), bottom = int(sides[3]);
        g = {g.x - left, g.y - top, g.width + left + right, g.height + top + bottom};
    }
    return g;
}

QString XSession::property(quint64 window, const QString& name) {
    return x_ ? x_->text(window, name) : name + QStringLiteral(":  not found.");
}

quint64 XSession::activeWindow() {
    const QList<quint64> active =
        x_ ? x_->numbers(x_->root(), "_NET_ACTIVE_WINDOW") : QList<quint64>{};
    return active.isEmpty() ? 0 : active.first();
}

QList<quint64> XSession::stacking() {
    return x_ ? x_->numbers(x_->root(), "_NET_CLIENT_LIST_STACKING") : QList<quint64>{};
}

bool XSession::screenshot(const QString& pngPath, quint64 window) {
    if (!window && desktop_ != Desktop::Openbox && !stacking().isEmpty())
        window = stacking().last();
    return run(QStringLiteral("import"),
               {QStringLiteral("-window"),
                window ? QString::number(window) : QStringLiteral("root"), pngPath}) == 0;
}

QString XSession::launcherPath() {
    return QStringLiteral(ZAVO_LAUNCHER_BINARY);
}

} // namespace zavo::test
