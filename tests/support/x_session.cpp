#include "x_session.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QThread>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace zavo::test {
namespace {

// A server that does not come up is started again from scratch; a failure
// is reported only when every attempt failed, with the logs of each.
constexpr int kAttempts = 3;
constexpr int kStartTimeoutMs = 30000;

QString findTool(const char* name) {
    return QStandardPaths::findExecutable(QString::fromUtf8(name));
}

// Whether a process has ended; asks for its exit status first, as no event
// loop runs here to notice it.
bool ended(QProcess& p) {
    p.waitForFinished(0);
    return p.state() == QProcess::NotRunning;
}

// Reads the display number Xvfb writes to the pipe behind -displayfd; gives
// up when Xvfb ends first.
QString readDisplayNumber(int fd, QProcess& xvfb) {
    QByteArray number;
    const QDeadlineTimer deadline(kStartTimeoutMs);
    while (!deadline.hasExpired()) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 50) <= 0) {
            if (ended(xvfb))
                break;
            continue;
        }
        char c = 0;
        if (::read(fd, &c, 1) != 1 || c == '\n')
            break;
        number += c;
    }
    return QString::fromLatin1(number).trimmed();
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
            lines.append(line);
    if (lines.size() > 30)
        lines = lines.mid(lines.size() - 30);
    QString out;
    for (const QString& line : lines)
        out += QStringLiteral("    ") + line + QLatin1Char('\n');
    return out.isEmpty() ? QStringLiteral("    (empty)\n") : out;
}

} // namespace

XSession::XSession(QSize screen) : screen_(screen) {
    for (const char* tool : {"Xvfb", "openbox", "xdotool", "xwininfo", "xprop", "xmessage"}) {
        if (findTool(tool).isEmpty()) {
            skipReason_ = QStringLiteral("%1 is not installed (apt-get install xvfb openbox "
                                         "xdotool x11-utils)")
                              .arg(QString::fromUtf8(tool));
            return;
        }
    }
    static int counter = 0;
    runtimeDir_ =
        QDir::tempPath() +
        QStringLiteral("/zavo-e2e-%1-%2").arg(QCoreApplication::applicationPid()).arg(++counter);
    QDir(runtimeDir_).removeRecursively();
    QDir().mkpath(runtimeDir_);
    QFile::setPermissions(runtimeDir_, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    QString attempts;
    for (int attempt = 1; attempt <= kAttempts; ++attempt) {
        const QString problem = startServers(attempt);
        if (problem.isEmpty()) {
            if (!attempts.isEmpty())
                qWarning("X session came up on %s only after a retry:\n%s", qPrintable(display_),
                         qPrintable(attempts));
            return;
        }
        attempts += problem;
        stopProcesses();
        display_.clear();
    }
    failure_ = attempts;
    // In full here: a test's failure message is cut short.
    qWarning("%s", qPrintable(failure_));
}

QString XSession::startServers(int attempt) {
    const QString xvfbLog = runtimeDir_ + QStringLiteral("/xvfb-%1.log").arg(attempt);
    const QString wmLog = runtimeDir_ + QStringLiteral("/openbox-%1.log").arg(attempt);
    auto report = [&](const QString& what) {
        return QStringLiteral("attempt %1: %2\n  Xvfb log (%3):\n%4  openbox log (%5):\n%6")
            .arg(attempt)
            .arg(what, xvfbLog, tail(xvfbLog), wmLog, tail(wmLog));
    };

    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        return report(QStringLiteral("cannot make a pipe for Xvfb"));
    auto xvfb = std::make_unique<QProcess>();
    xvfb->setProcessChannelMode(QProcess::MergedChannels);
    xvfb->setStandardOutputFile(xvfbLog);
    const int writeEnd = fds[1];
    // The pipe's write end survives into Xvfb as fd 3 (dup2 drops close-on-exec).
    xvfb->setChildProcessModifier([writeEnd] {
        if (writeEnd == 3)
            ::fcntl(3, F_SETFD, 0);
        else
            ::dup2(writeEnd, 3);
    });
    // -noreset: by default the server resets when its last client leaves and
    // drops every connection still in its set-up. Each poll below is such a
    // client, so openbox (or anything else) connecting during one was cut off
    // and reported "Failed to open the display". Without the reset, clients
    // come and go freely.
    xvfb->start(findTool("Xvfb"),
                {QStringLiteral("-displayfd"), QStringLiteral("3"), QStringLiteral("-noreset"),
                 QStringLiteral("-nolisten"), QStringLiteral("tcp"), QStringLiteral("-screen"),
                 QStringLiteral("0"),
                 QStringLiteral("%1x%2x24").arg(screen_.width()).arg(screen_.height())});
    ::close(fds[1]);
    const bool started = xvfb->waitForStarted(10000);
    QProcess& server = *xvfb;
    processes_.push_back(std::move(xvfb));
    if (!started) {
        ::close(fds[0]);
        return report(QStringLiteral("Xvfb did not start"));
    }
    const QString number = readDisplayNumber(fds[0], server);
    ::close(fds[0]);
    if (number.isEmpty())
        return report(QStringLiteral("Xvfb reported no display (Xvfb %1)").arg(describe(server)));
    display_ = QLatin1Char(':') + number;

    // openbox with the system's configuration, not a developer's own, and
    // away from any session manager of a desktop.
    QProcessEnvironment wmEnv = environment();
    wmEnv.insert(QStringLiteral("XDG_CONFIG_HOME"), runtimeDir_ + QStringLiteral("/config"));
    wmEnv.insert(QStringLiteral("XDG_CACHE_HOME"), runtimeDir_ + QStringLiteral("/cache"));
    auto wm = std::make_unique<QProcess>();
    wm->setProcessEnvironment(wmEnv);
    wm->setProcessChannelMode(QProcess::MergedChannels);
    wm->setStandardOutputFile(wmLog);
    wm->start(findTool("openbox"), {QStringLiteral("--sm-disable")});
    wm->waitForStarted(10000);
    QProcess& openbox = *wm;
    processes_.push_back(std::move(wm));

    // openbox announces itself on the root window early in its start-up.
    const QDeadlineTimer deadline(kStartTimeoutMs);
    int xprop = 0;
    QString out;
    bool announced = false;
    while (!deadline.hasExpired() && !ended(openbox) && !ended(server)) {
        xprop = run(QStringLiteral("xprop"),
                    {QStringLiteral("-root"), QStringLiteral("_NET_SUPPORTING_WM_CHECK")}, &out);
        announced = xprop == 0 && out.contains(QStringLiteral("window id"));
        if (announced)
            break;
        QThread::msleep(20);
    }
    if (!announced)
        return report(
            QStringLiteral("openbox did not come up on %1 (Xvfb %2, openbox %3, xprop %4: %5)")
                .arg(display_, describe(server), describe(openbox))
                .arg(xprop)
                .arg(out.trimmed()));

    // Up means managing windows: a probe window must be taken in and mapped.
    const QString probeTitle = QStringLiteral("zavo-wm-probe");
    QProcess probe;
    probe.setProcessEnvironment(environment());
    probe.setStandardOutputFile(QProcess::nullDevice());
    probe.setStandardErrorFile(QProcess::nullDevice());
    probe.start(findTool("xmessage"),
                {QStringLiteral("-name"), probeTitle, QStringLiteral("-title"), probeTitle,
                 QStringLiteral("probe")});
    bool managed = false;
    while (probe.waitForStarted(10000) && !deadline.hasExpired() && !ended(openbox) &&
           !ended(probe)) {
        nudgeWindowManager();
        managed = !windows(probeTitle).isEmpty();
        if (managed)
            break;
        QThread::msleep(20);
    }
    probe.terminate();
    if (!probe.waitForFinished(5000)) {
        probe.kill();
        probe.waitForFinished(3000);
    }
    if (managed)
        return {};
    return report(QStringLiteral("openbox on %1 did not map a probe window (Xvfb %2, openbox %3)")
                      .arg(display_, describe(server), describe(openbox)));
}

void XSession::nudgeWindowManager() {
    static int nudges = 0;
    run(QStringLiteral("xprop"),
        {QStringLiteral("-root"), QStringLiteral("-f"), QStringLiteral("_ZAVO_WM_NUDGE"),
         QStringLiteral("32c"), QStringLiteral("-set"), QStringLiteral("_ZAVO_WM_NUDGE"),
         QString::number(++nudges)});
}

void XSession::stopProcesses() {
    // Launchers first, then openbox, then Xvfb: the reverse of starting.
    for (auto it = processes_.rbegin(); it != processes_.rend(); ++it) {
        QProcess& p = **it;
        if (p.state() != QProcess::NotRunning) {
            p.terminate();
            if (!p.waitForFinished(5000)) {
                p.kill();
                p.waitForFinished(3000);
            }
        }
    }
    processes_.clear();
}

XSession::~XSession() {
    stopProcesses();
    if (!runtimeDir_.isEmpty())
        QDir(runtimeDir_).removeRecursively();
}

QString XSession::serverLogs() const {
    QString logs;
    for (const QString& name :
         QDir(runtimeDir_).entryList({QStringLiteral("*.log")}, QDir::Files, QDir::Name))
        logs += QStringLiteral("  %1:\n%2").arg(name, tail(runtimeDir_ + QLatin1Char('/') + name));
    return logs;
}

QProcessEnvironment XSession::environment() const {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), display_);
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir_);
    // Nothing of a desktop the tests may run from: its Wayland compositor,
    // session manager or X authority file.
    for (const char* name : {"QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "SESSION_MANAGER", "XAUTHORITY"})
        env.remove(QString::fromLatin1(name));
    env.insert(QStringLiteral("DBUS_SYSTEM_BUS_ADDRESS"),
               QStringLiteral("unix:path=") + runtimeDir_ + QStringLiteral("/no-system-bus"));
    env.insert(extraEnvironment_);
    return env;
}

void XSession::setEnvironmentVariable(const QString& name, const QString& value) {
    extraEnvironment_.insert(name, value);
}

QString XSession::recordSystemBus() {
    const QString daemon = findTool("dbus-daemon");
    const QString monitor = findTool("dbus-monitor");
    if (daemon.isEmpty() || monitor.isEmpty())
        return {};
    auto bus = std::make_unique<QProcess>();
    bus->start(daemon, {QStringLiteral("--session"), QStringLiteral("--nofork"),
                        QStringLiteral("--print-address"),
                        QStringLiteral("--address=unix:path=") + runtimeDir_ +
                            QStringLiteral("/system_bus_socket")});
    QProcess& started = *bus;
    processes_.push_back(std::move(bus));
    if (!started.waitForReadyRead(10000))
        return {};
    const QString address = QString::fromUtf8(started.readLine()).trimmed();
    const QString log = runtimeDir_ + QStringLiteral("/system-bus-calls.log");
    auto watch = std::make_unique<QProcess>();
    watch->setProcessEnvironment(environment());
    watch->setStandardOutputFile(log);
    watch->start(monitor, {QStringLiteral("--address"), address, QStringLiteral("--monitor"),
                           QStringLiteral("type='method_call'")});
    if (!watch->waitForStarted(10000))
        return {};
    processes_.push_back(std::move(watch));
    // The monitor writes its own NameAcquired signal once it listens.
    const QDeadlineTimer deadline(kStartTimeoutMs);
    while (QFileInfo(log).size() == 0 && !deadline.hasExpired())
        QThread::msleep(20);
    setEnvironmentVariable(QStringLiteral("DBUS_SYSTEM_BUS_ADDRESS"), address);
    return QFileInfo(log).size() > 0 ? log : QString();
}

bool XSession::useJapaneseLocale() {
    const QString locales = runtimeDir_ + QStringLiteral("/locale");
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
    auto p = std::make_unique<QProcess>();
    p->setProcessEnvironment(environment());
    if (!workDir.isEmpty())
        p->setWorkingDirectory(workDir);
    p->setProcessChannelMode(QProcess::ForwardedChannels);
    p->start(program, args);
    p->waitForStarted(10000);
    processes_.push_back(std::move(p));
    return processes_.back().get();
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
    QString out;
    const QString pattern = QLatin1Char('^') + QRegularExpression::escape(title) + QLatin1Char('$');
    run(QStringLiteral("xdotool"),
        {QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
         pattern},
        &out);
    QList<quint64> ids;
    for (const QString& line : out.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        ids << line.trimmed().toULongLong();
    return ids;
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
    QString out = QStringLiteral("no window titled \"%1\" on %2; what this session started:\n")
                      .arg(title, display_);
    for (const auto& p : processes_)
        out += QStringLiteral("  %1 %2: %3\n")
                   .arg(p->program(), p->arguments().join(QLatin1Char(' ')), describe(*p));
    QString tree;
    run(QStringLiteral("xwininfo"), {QStringLiteral("-root"), QStringLiteral("-tree")}, &tree);
    out += QStringLiteral("  named windows:\n");
    for (const QString& line : tree.split(QLatin1Char('\n')))
        if (line.contains(QLatin1Char('"')) && !line.contains(QStringLiteral("(has no name)")))
            out += QStringLiteral("    ") + line.trimmed() + QLatin1Char('\n');
    // Whether the window manager took the window in (a managed window bears
    // WM_STATE), and what it manages.
    const QString quoted = QLatin1Char('"') + title + QLatin1Char('"');
    for (const QString& line : tree.split(QLatin1Char('\n')))
        if (line.contains(quoted)) {
            const QString id = line.trimmed().section(QLatin1Char(' '), 0, 0);
            QString info;
            run(QStringLiteral("xwininfo"), {QStringLiteral("-id"), id}, &info);
            out += QStringLiteral("  %1: %2; %3\n")
                       .arg(id, info.section(QStringLiteral("Map State: "), 1).section('\n', 0, 0),
                            property(id.toULongLong(nullptr, 16), QStringLiteral("WM_STATE"))
                                .simplified());
        }
    QString clients;
    run(QStringLiteral("xprop"), {QStringLiteral("-root"), QStringLiteral("_NET_CLIENT_LIST")},
        &clients);
    out += QStringLiteral("  ") + clients.simplified() + QLatin1Char('\n');
    return out + serverLogs();
}

XGeometry XSession::geometry(quint64 window) {
    QString out;
    run(QStringLiteral("xwininfo"), {QStringLiteral("-id"), QString::number(window)}, &out);
    auto field = [&out](const char* label) {
        const QRegularExpression re(QString::fromLatin1(label) + QStringLiteral(":\\s*(-?\\d+)"));
        const auto m = re.match(out);
        return m.hasMatch() ? m.captured(1).toInt() : -1;
    };
    return {field("Absolute upper-left X"), field("Absolute upper-left Y"), field("Width"),
            field("Height")};
}

XGeometry XSession::frameGeometry(quint64 window) {
    XGeometry g = geometry(window);
    // "_NET_FRAME_EXTENTS(CARDINAL) = left, right, top, bottom"
    const QString extents = property(window, QStringLiteral("_NET_FRAME_EXTENTS"));
    const QStringList sides = extents.section(QLatin1Char('='), 1).split(QLatin1Char(','));
    if (sides.size() == 4) {
        const int left = sides[0].trimmed().toInt(), right = sides[1].trimmed().toInt();
        const int top = sides[2].trimmed().toInt(), bottom = sides[3].trimmed().toInt();
        g = {g.x - left, g.y - top, g.width + left + right, g.height + top + bottom};
    }
    return g;
}

QString XSession::property(quint64 window, const QString& name) {
    QString out;
    run(QStringLiteral("xprop"), {QStringLiteral("-id"), QString::number(window), name}, &out);
    return out.trimmed();
}

bool XSession::screenshot(const QString& pngPath) {
    return run(QStringLiteral("import"),
               {QStringLiteral("-window"), QStringLiteral("root"), pngPath}) == 0;
}

QString XSession::launcherPath() {
    return QStringLiteral(ZAVO_LAUNCHER_BINARY);
}

} // namespace zavo::test
