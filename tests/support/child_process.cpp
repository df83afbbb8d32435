#include "child_process.h"

#include <cerrno>
#include <exception>
#include <sys/wait.h>
#include <unistd.h>

namespace zavo::test {

bool ChildResult::exitedCleanly() const {
    return started && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

ChildResult runInChild(const std::function<std::string()>& body) {
    ChildResult result;
    int fds[2];
    if (::pipe(fds) != 0)
        return result;
    const pid_t pid = ::fork();
    if (pid < 0) {
        ::close(fds[0]);
        ::close(fds[1]);
        return result;
    }
    if (pid == 0) {
        ::close(fds[0]);
        ::alarm(30);
        std::string out;
        try {
            out = body();
        } catch (const std::exception& e) {
            out = std::string("exception: ") + e.what();
        } catch (...) {
            out = "exception";
        }
        for (std::size_t done = 0; done < out.size();) {
            const ssize_t n = ::write(fds[1], out.data() + done, out.size() - done);
            if (n <= 0)
                break;
            done += std::size_t(n);
        }
        ::_exit(0);
    }
    result.started = true;
    ::close(fds[1]);
    char buf[4096];
    for (ssize_t n; (n = ::read(fds[0], buf, sizeof buf)) != 0;)
        if (n > 0)
            result.out.append(buf, std::size_t(n));
        else if (errno != EINTR)
            break;
    ::close(fds[0]);
    while (::waitpid(pid, &result.status, 0) < 0 && errno == EINTR) {
    }
    return result;
}

} // namespace zavo::test
