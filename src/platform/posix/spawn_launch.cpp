#include "spawn_launch.h"

#include <QSocketNotifier>

#include <cerrno>
#include <cstring>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace zavo::platform {
namespace {

// Reaps `pid` when it exits, through a pidfd watched by the event loop. Where
// pidfds are unavailable, earlier children are reaped at the next launch.
void reapWhenDone(pid_t pid) {
    const int fd = static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
    if (fd < 0) {
        while (::waitpid(-1, nullptr, WNOHANG) > 0) {
        }
        return;
    }
    auto* notifier = new QSocketNotifier(fd, QSocketNotifier::Read);
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [notifier, fd, pid] {
        ::waitpid(pid, nullptr, WNOHANG);
        notifier->setEnabled(false);
        notifier->deleteLater();
        ::close(fd);
    });
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

bool spawnDetached(const std::string& path, std::string& error) {
    if (path.empty() || path.find('\0') != std::string::npos) {
        error = "no program to start";
        return false;
    }
    static const SpawnAttributes attributes;
    std::string arg0 = path;
    char* argv[] = {arg0.data(), nullptr};
    pid_t pid = 0;
    // posix_spawn (not posix_spawnp): the path is taken as it stands, never
    // searched for, split or handed to a shell.
    const int rc = ::posix_spawn(&pid, path.c_str(), nullptr, &attributes.attr, argv, environ);
    if (rc != 0) {
        error = std::strerror(rc);
        return false;
    }
    reapWhenDone(pid);
    return true;
}

} // namespace zavo::platform
