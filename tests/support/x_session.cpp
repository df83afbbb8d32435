#include "x_session.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <fcntl.h>
#include <unistd.h>

namespace zavo::test {
namespace {

QString findTool(const char* name) {
    return QStandardPaths::findExecutable(QString::fromUtf8(name));
}

// Reads the display number Xvfb writes to the pipe behind -displayfd.
QString readDisplayNumber(int fd, int timeoutMs) {
    QByteArray number;
    const QDeadlineTimer deadline(timeoutMs);
    char c = 0;
    while (!deadline.hasExpired()) {
        const ssize_t n = ::read(fd, &c, 1);
        if (n == 1) {
            if (c == '\n')
                break;
            number += c;
        } else if (n == 0) {
            break;
        } else {
            QThread::msleep(5);
        }
    }
    return QString::fromLatin1(number).trimmed();
}

// For failure messages: whether a process we started still runs.
QString describe(const QProcess& p) {
    if (p.state() != QProcess::NotRunning)
        return QStringLiteral("running");
    return p.exitStatus() == QProcess::CrashExit
               ? QStringLiteral("ended by a signal")
               : QStringLiteral("exited with %1").arg(p.exitCode());
}

} // namespace

XSession::XSession() {
    for (const char* tool : {"Xvfb", "openbox", "xdotool", "xwininfo", "xprop"}) {
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
    QDir().mkpath(runtimeDir_);
    QFile::setPermissions(runtimeDir_, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    int fds[2];
    if (::pipe2(fds, O_NONBLOCK) != 0) {
        failure_ = QStringLiteral("cannot make a pipe for Xvfb");
        return;
    }
    auto xvfb = std::make_unique<QProcess>();
    xvfb->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    const int writeEnd = fds[1];
    // The pipe's write end must survive into Xvfb: hand it over as fd 3.
    xvfb->setChildProcessModifier([writeEnd] { ::dup2(writeEnd, 3); });
    xvfb->start(findTool("Xvfb"),
                {QStringLiteral("-displayfd"), QStringLiteral("3"), QStringLiteral("-screen"),
                 QStringLiteral("0"), QStringLiteral("1280x1024x24"), QStringLiteral("-nolisten"),
                 QStringLiteral("tcp")});
    ::close(fds[1]);
    if (!xvfb->waitForStarted(10000)) {
        ::close(fds[0]);
        failure_ = QStringLiteral("Xvfb did not start");
        return;
    }
    processes_.push_back(std::move(xvfb));
    const QString number = readDisplayNumber(fds[0], 30000);
    ::close(fds[0]);
    if (number.isEmpty()) {
        failure_ = QStringLiteral("Xvfb did not report a display");
        return;
    }
    display_ = QLatin1Char(':') + number;

    auto wm = std::make_unique<QProcess>();
    wm->setProcessEnvironment(environment());
    wm->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    wm->start(findTool("openbox"), {});
    wm->waitForStarted(10000);
    processes_.push_back(std::move(wm));
    // openbox announces itself on the root window once it manages windows.
    const QDeadlineTimer deadline(30000);
    int xprop = 0;
    QString out;
    while (!deadline.hasExpired()) {
        xprop = run(QStringLiteral("xprop"),
                    {QStringLiteral("-root"), QStringLiteral("_NET_SUPPORTING_WM_CHECK")}, &out);
        if (xprop == 0 && out.contains(QStringLiteral("window id")))
            return;
        QThread::msleep(20);
    }
    failure_ = QStringLiteral("openbox did not come up on %1 (Xvfb %2, openbox %3, xprop %4: %5)")
                   .arg(display_, describe(*processes_[0]), describe(*processes_[1]))
                   .arg(xprop)
                   .arg(out.trimmed());
}

XSession::~XSession() {
    // Launchers first, then openbox, then Xvfb: the reverse of starting.
    for (auto it = processes_.rbegin(); it != processes_.rend(); ++it) {
        QProcess& p = **it;
        if (p.state() != QProcess::NotRunning) {
            p.terminate();
            if (!p.waitForFinished(3000)) {
                p.kill();
                p.waitForFinished(3000);
            }
        }
    }
    if (!runtimeDir_.isEmpty())
        QDir(runtimeDir_).removeRecursively();
}

QProcessEnvironment XSession::environment() const {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), display_);
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir_);
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.insert(extraEnvironment_);
    return env;
}

void XSession::setEnvironmentVariable(const QString& name, const QString& value) {
    extraEnvironment_.insert(name, value);
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
    while (!deadline.hasExpired()) {
        const QList<quint64> ids = windows(title);
        if (!ids.isEmpty())
            return ids.first();
        QThread::msleep(50);
    }
    return 0;
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
