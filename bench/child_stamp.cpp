// The program the launch benchmark starts: writes the CLOCK_MONOTONIC time at
// which it runs, in nanoseconds, to "<its own path>.stamp" and exits. It takes
// no arguments, since a launcher slot starts a bare path. Plain libc and
// linked statically, so that its own start-up adds as little as it can to
// what is measured.
#include <cstdio>
#include <cstring>
#include <ctime>

int main(int, char** argv) {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    char stamp[4096];
    char partial[4096];
    if (std::snprintf(stamp, sizeof stamp, "%s.stamp", argv[0]) >= int(sizeof stamp) ||
        std::snprintf(partial, sizeof partial, "%s.part", stamp) >= int(sizeof partial))
        return 1;
    std::FILE* f = std::fopen(partial, "w");
    if (!f)
        return 1;
    std::fprintf(f, "%lld\n", static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
    if (std::fclose(f) != 0)
        return 1;
    // Appears whole or not at all for the waiting benchmark.
    return std::rename(partial, stamp) == 0 ? 0 : 1;
}
