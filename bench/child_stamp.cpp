// The program the launch benchmark starts: writes the CLOCK_MONOTONIC time at
// which it runs, in nanoseconds, to "<its own path>.stamp" and exits. It takes
// no arguments, since a launcher slot starts a bare path.
#include <cstdio>
#include <ctime>
#include <string>

int main(int, char** argv) {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const std::string stamp = std::string(argv[0]) + ".stamp";
    const std::string partial = stamp + ".part";
    std::FILE* f = std::fopen(partial.c_str(), "w");
    if (!f)
        return 1;
    std::fprintf(f, "%lld\n", static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
    if (std::fclose(f) != 0)
        return 1;
    // Appears whole or not at all for the waiting benchmark.
    return std::rename(partial.c_str(), stamp.c_str()) == 0 ? 0 : 1;
}
