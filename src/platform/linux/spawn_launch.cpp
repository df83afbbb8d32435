#include "spawn_launch.h"

#include "core/folder_lists.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <cstring>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace zavo::platform {
namespace {

// Children started while no event loop could watch them; reaped by pid (never
// waitpid(-1), which would steal the exit status of QProcess children).
std::vector<pid_t>& unwatched() {
    static std::vector<pid_t> pids;
    return pids;
}

void reapUnwatched() {
    std::erase_if(unwatched(), [](pid_t pid) { return ::waitpid(pid, nullptr, WNOHANG) != 0; });
}

// Reaps `pid` when it exits: through a pidfd watched by the event loop, by
// polling on kernels without pidfd_open, or at a later launch when there is no
// event loop at all.
void reapWhenDone(pid_t pid) {
    reapUnwatched();
    if (!QAbstractEventDispatcher::instance()) {
        unwatched().push_back(pid);
        return;
    }
    // A child still running when the launcher ends is left to itself (it has
    // a session of its own); its watch goes with the application object.
    QObject* owner = QCoreApplication::instance();
    const int fd = static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
    if (fd >= 0) {
        auto* notifier = new QSocketNotifier(fd, QSocketNotifier::Read, owner);
        QObject::connect(notifier, &QObject::destroyed, [fd] { ::close(fd); });
        QObject::connect(notifier, &QSocketNotifier::activated, notifier, [notifier, pid] {
            ::waitpid(pid, nullptr, WNOHANG);
            notifier->setEnabled(false);
            notifier->deleteLater();
        });
        return;
    }
    auto* poll = new QTimer(owner);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, pid] {
        if (::waitpid(pid, nullptr, WNOHANG) == 0)
            return; // still running
        poll->stop();
        poll->deleteLater();
    });
    poll->start(500);
}

struct SpawnAttributes {
    posix_spawnattr_t attr;
    SpawnAttributes() {
        posix_spawnattr_init(&attr);
        sigset_t none, all;
        sigemptyset(&none);
        sigfillset(&all);
        posix_spawnattr_setsigmask(&attr, &none);
        posix_spawnattr_setsigdefault(&attr, &all);
        // Its own session: the program outlives the launcher and its terminal.
        posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF |
                                            POSIX_SPAWN_SETSID);
    }
    ~SpawnAttributes() { posix_spawnattr_destroy(&attr); }
    SpawnAttributes(const SpawnAttributes&) = delete;
    SpawnAttributes& operator=(const SpawnAttributes&) = delete;
};

} // namespace

bool spawnDetached(const std::string& path, std::string& error, pid_t* started) {
    if (path.empty() || path.find('\0') != std::string::npos) {
        error = "no program to start";
        return false;
    }
    // A relative name would be looked up in whatever folder we run in, so a
    // Windows path such as "c:\program files\..." could start a file planted
    // there under that name.
    if (path.front() != '/') {
        error = "not a full path: " + path;
        return false;
    }
    static const SpawnAttributes attributes;
    std::string arg0 = path;
    char* argv[] = {arg0.data(), nullptr};
    pid_t pid = 0;
    // A start from the menu runs us in our configuration folder; what we
    // start begins in the home folder instead, as the desktop starts it.
    const std::string folder = folder_lists::startFolder();
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    if (!folder.empty()) // else the working folder has gone; the child keeps it
        ::posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    // posix_spawn (not posix_spawnp): the path is taken as it stands, never
    // searched for, split or handed to a shell. glibc reports exec failures
    // (ENOENT, EACCES, ENOEXEC) here and never retries a script through sh.
    const int rc = ::posix_spawn(&pid, path.c_str(), &actions, &attributes.attr, argv, environ);
    ::posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) {
        error = std::strerror(rc);
        return false;
    }
    reapWhenDone(pid);
    if (started)
        *started = pid;
    return true;
}

} // namespace zavo::platform
