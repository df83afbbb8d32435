// Starts a program and measures, on the current X display, the time from just
// before its start to the moment a window with the given title is viewable
// (mapped, and its window-manager frame with it). Then it lets the program
// settle, reads its peak resident memory (VmHWM) and, if asked, the CPU time
// it uses while idle, and ends it.
//
//   wait_mapped [--cwd DIR] [--settle-ms N] [--idle-s N] [--timeout-ms N]
//               TITLE -- PROGRAM [ARG...]
//
// Prints one line: map_ms=<float> hwm_kb=<int> rss_kb=<int> [idle_cpu_ms=<float>]
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fstream>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/select.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

double nowMs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// Windows come and go while we look at them.
int ignoreXErrors(Display*, XErrorEvent*) {
    return 0;
}

std::string property(Display* d, Window w, Atom name) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(d, w, name, 0, 1024, False, AnyPropertyType, &type, &format, &count,
                           &after, &data) != Success ||
        !data)
        return {};
    std::string s = format == 8 ? std::string(reinterpret_cast<char*>(data), count) : "";
    XFree(data);
    return s;
}

bool viewableWithTitle(Display* d, Window w, const std::string& title, Atom netWmName) {
    if (property(d, w, netWmName) != title && property(d, w, XA_WM_NAME) != title)
        return false;
    XWindowAttributes a{};
    return XGetWindowAttributes(d, w, &a) && a.map_state == IsViewable;
}

// Top-level windows and, under a reparenting window manager, their clients.
bool findWindow(Display* d, const std::string& title, Atom netWmName) {
    Window root = 0, parent = 0, *children = nullptr;
    unsigned n = 0;
    if (!XQueryTree(d, DefaultRootWindow(d), &root, &parent, &children, &n))
        return false;
    bool found = false;
    for (unsigned i = 0; i < n && !found; ++i) {
        if (viewableWithTitle(d, children[i], title, netWmName)) {
            found = true;
            break;
        }
        Window r2 = 0, p2 = 0, *inner = nullptr;
        unsigned m = 0;
        if (XQueryTree(d, children[i], &r2, &p2, &inner, &m)) {
            for (unsigned j = 0; j < m && !found; ++j)
                found = viewableWithTitle(d, inner[j], title, netWmName);
            if (inner)
                XFree(inner);
        }
    }
    if (children)
        XFree(children);
    return found;
}

long statusKb(pid_t pid, const char* field) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    const std::string key = std::string(field) + ":";
    while (std::getline(in, line))
        if (line.rfind(key, 0) == 0)
            return std::strtol(line.c_str() + key.size(), nullptr, 10);
    return -1;
}

// Time on the CPU of all the program's threads, in nanoseconds: the first
// field of each thread's schedstat, far finer than utime + stime in ticks.
long long cpuNs(pid_t pid) {
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    DIR* dir = opendir(tasks.c_str());
    if (!dir)
        return -1;
    long long total = 0;
    while (const dirent* e = readdir(dir)) {
        if (e->d_name[0] == '.')
            continue;
        std::ifstream in(tasks + "/" + e->d_name + "/schedstat");
        long long ns = 0;
        if (in >> ns)
            total += ns;
    }
    closedir(dir);
    return total;
}

void sleepMs(long ms) {
    timespec t{ms / 1000, (ms % 1000) * 1000000};
    while (nanosleep(&t, &t) != 0 && errno == EINTR) {
    }
}

void end(pid_t pid) {
    kill(pid, SIGTERM);
    for (int i = 0; i < 200; ++i) {
        if (waitpid(pid, nullptr, WNOHANG) == pid)
            return;
        sleepMs(10);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

int usage() {
    std::fprintf(stderr, "usage: wait_mapped [--cwd DIR] [--settle-ms N] [--idle-s N] "
                         "[--timeout-ms N] TITLE -- PROGRAM [ARG...]\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    std::string cwd, title;
    long settleMs = 300, idleS = 0, timeoutMs = 20000;
    int i = 1;
    for (; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--")
            break;
        if (i + 1 >= argc)
            return usage();
        if (a == "--cwd")
            cwd = argv[++i];
        else if (a == "--settle-ms")
            settleMs = std::atol(argv[++i]);
        else if (a == "--idle-s")
            idleS = std::atol(argv[++i]);
        else if (a == "--timeout-ms")
            timeoutMs = std::atol(argv[++i]);
        else if (title.empty())
            title = a;
        else
            return usage();
    }
    if (i >= argc - 1 || title.empty())
        return usage();
    std::vector<char*> child(argv + i + 1, argv + argc);
    child.push_back(nullptr);

    Display* d = XOpenDisplay(nullptr);
    if (!d) {
        std::fprintf(stderr, "wait_mapped: cannot open display\n");
        return 1;
    }
    XSetErrorHandler(ignoreXErrors);
    const Atom netWmName = XInternAtom(d, "_NET_WM_NAME", False);
    XSelectInput(d, DefaultRootWindow(d), SubstructureNotifyMask);
    XSync(d, False);
    if (findWindow(d, title, netWmName)) {
        std::fprintf(stderr, "wait_mapped: a window titled %s is already there\n", title.c_str());
        return 1;
    }

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (!cwd.empty())
        posix_spawn_file_actions_addchdir_np(&actions, cwd.c_str());
    pid_t pid = 0;
    const double t0 = nowMs();
    const int rc = posix_spawn(&pid, child[0], &actions, nullptr, child.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) {
        std::fprintf(stderr, "wait_mapped: cannot start %s: %s\n", child[0], std::strerror(rc));
        return 1;
    }

    // Wake on any structure change of the root's children, and every 1 ms.
    const int fd = ConnectionNumber(d);
    double mapped = -1;
    while (nowMs() - t0 < double(timeoutMs)) {
        while (XPending(d)) {
            XEvent e;
            XNextEvent(d, &e);
        }
        if (findWindow(d, title, netWmName)) {
            mapped = nowMs();
            break;
        }
        if (waitpid(pid, nullptr, WNOHANG) == pid) {
            std::fprintf(stderr, "wait_mapped: %s ended before mapping a window\n", child[0]);
            return 1;
        }
        fd_set set;
        FD_ZERO(&set);
        FD_SET(fd, &set);
        timeval wait{0, 1000};
        select(fd + 1, &set, nullptr, nullptr, &wait);
    }
    if (mapped < 0) {
        std::fprintf(stderr, "wait_mapped: no window titled %s\n", title.c_str());
        end(pid);
        return 1;
    }

    sleepMs(settleMs);
    std::printf("map_ms=%.2f hwm_kb=%ld rss_kb=%ld", mapped - t0, statusKb(pid, "VmHWM"),
                statusKb(pid, "VmRSS"));
    if (idleS > 0) {
        const long long before = cpuNs(pid);
        sleepMs(idleS * 1000);
        const long long after = cpuNs(pid);
        std::printf(" idle_cpu_ms=%.1f", double(after - before) / 1e6);
    }
    std::printf("\n");
    end(pid);
    XCloseDisplay(d);
    return 0;
}
