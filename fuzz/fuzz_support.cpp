#include "fuzz_support.h"

#include <cstdio>
#include <cstdlib>

namespace zavo::fuzz {

void fail(const char* what, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, what);
    std::abort();
}

} // namespace zavo::fuzz
