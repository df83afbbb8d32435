// What the fuzz targets share beyond the tests' support library: a check
// that aborts with a message (libFuzzer keeps the input that made it fire).
#pragma once

namespace zavo::fuzz {

[[noreturn]] void fail(const char* what, const char* file, int line);

} // namespace zavo::fuzz

#define FUZZ_CHECK(cond)                                                                           \
    do {                                                                                           \
        if (!(cond))                                                                               \
            ::zavo::fuzz::fail(#cond, __FILE__, __LINE__);                                         \
    } while (false)
