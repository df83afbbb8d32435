#include "posix_services.h"

#include "counterparts.h"
#include "gio_default_app.h"
#include "locale_clock.h"
#include "logind_shutdown.h"
#include "record_file_posix.h"
#include "spawn_launch.h"
#include "window_handle_posix.h"
#include "x11_active_window.h"
#include "xtest_keys.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QStandardPaths>
#include <QWidget>
#include <QWindow>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace zavo::platform {

namespace {

// A started program: its process id, and what the desktop showed before.
struct PosixProcess final : Process {
    PosixProcess(pid_t id, std::unique_ptr<ActiveWindowWatch> w) : pid(id), watch(std::move(w)) {}
    pid_t pid;
    std::unique_ptr<ActiveWindowWatch> watch; // null: readiness cannot be told
};

} // namespace

PosixServices::PosixServices() = default;
PosixServices::~PosixServices() {
    if (instanceLock_ >= 0)
        ::close(instanceLock_);
}

std::unique_ptr<Process> PosixServices::launch(const std::string& command, int windowStyle,
                                               std::string& error) {
    // X11 offers no portable way to ask a new program for a normal or a
    // maximized first window; the style is accepted and not applied.
    (void)windowStyle;
    // Begun before the start, so that any window the program maps is new.
    std::unique_ptr<ActiveWindowWatch> watch = watchActiveWindow();
    pid_t pid = 0;
    // The media player, the browser and Explorer have their counterparts on
    // every desktop; the other fixed paths name nothing here and fail below.
    const Counterpart* counterpart = counterpartOf(command);
    const bool started = counterpart
                             ? launchDefaultApplication(counterpart->contentType,
                                                        counterpart->openHomeFolder, error, &pid)
                             : spawnDetached(command, error, &pid);
    if (!started)
        return nullptr;
    return std::make_unique<PosixProcess>(pid, std::move(watch));
}

bool PosixServices::waitForInputIdle(Process& process, int timeoutMs) {
    auto* started = dynamic_cast<PosixProcess*>(&process);
    return started && started->watch && started->watch->waitForWindowOf(started->pid, timeoutMs);
}

bool PosixServices::sendKeys(std::string_view keys, bool wait) {
    return xtestSendKeys(keys, wait);
}

namespace {
// The window a message box belongs to: the active one, else the window of
// ours on screen (a window just shown is not active until the window
// manager says so).
QWidget* messageOwner() {
    if (QWidget* active = QApplication::activeWindow())
        return active;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && (w->windowType() == Qt::Window || w->windowType() == Qt::Dialog))
            return w;
    return nullptr;
}
} // namespace

int PosixServices::messageBox(const std::string& prompt, int style, const std::string& title) {
    QMessageBox box(messageOwner());
    box.setWindowTitle(QString::fromStdString(title));
    box.setText(QString::fromStdString(prompt));
    if ((style & 0x0F) == vbYesNo) {
        box.setIcon(QMessageBox::NoIcon);
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton((style & 0xF00) == vbDefaultButton2 ? QMessageBox::No
                                                                 : QMessageBox::Yes);
    } else {
        box.setIcon((style & 0xF0) == vbCritical ? QMessageBox::Critical : QMessageBox::NoIcon);
        box.setStandardButtons(QMessageBox::Ok);
    }
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    const int answer = box.exec();
    if (answer == QMessageBox::Yes)
        return vbYes;
    if (answer == QMessageBox::No)
        return vbNo;
    return vbOK;
}

void PosixServices::beep() {
    QApplication::beep();
}

bool PosixServices::anotherInstanceRunning() {
    if (instanceLock_ >= 0)
        return false; // the lock is ours: this very program reloads its window
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    // An flock() dies with its holder, so a killed instance never leaves a
    // stale lock behind, and taking it writes nothing to disk. Close-on-exec
    // keeps the programs we start from inheriting it.
    const QByteArray path = QFile::encodeName(folder + QStringLiteral("/ZAVO_launcher.lock"));
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return false; // no lock to be had here must not keep the launcher from starting
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
        instanceLock_ = fd;
        return false;
    }
    const int error = errno;
    ::close(fd);
    return error == EWOULDBLOCK;
}

void PosixServices::endProgram() {
    std::_Exit(0);
}

LocalDateTime PosixServices::now() {
    return localNow();
}
std::string PosixServices::dateText(const LocalDateTime& when) {
    return localeShortDate(when);
}
std::string PosixServices::timeText(const LocalDateTime& when) {
    return localeMediumTime(when);
}

std::unique_ptr<RecordFile> PosixServices::openRecordFile(const std::string& name,
                                                          std::string& error) {
    return openPosixRecordFile(name, error);
}

void PosixServices::setWindowPos(WindowHandle window, std::intptr_t insertAfter, int x, int y,
                                 int cx, int cy, unsigned flags) {
    QWidget* w = widgetOf(window);
    if (!w)
        return;
    // On X11 the topmost band is _NET_WM_STATE_ABOVE, which the stays-on-top
    // hint requests. Told to the native window directly: setWindowFlags()
    // would destroy and re-create it.
    if (insertAfter == kHwndTopmost) {
        const Qt::WindowFlags topmost = w->windowFlags() | Qt::WindowStaysOnTopHint;
        w->overrideWindowFlags(topmost);
        if (QWindow* native = w->windowHandle())
            native->setFlags(topmost);
    }
    w->setAttribute(Qt::WA_ShowWithoutActivating, (flags & kSwpNoActivate) != 0);
    w->setGeometry(x, y, cx, cy);
    if (flags & kSwpShowWindow)
        w->show();
}

bool PosixServices::exitWindowsEx(unsigned flags, unsigned reserved) {
    (void)reserved;
    return logindShutdown(flags);
}

} // namespace zavo::platform
