// What both fuzz targets share: a private scratch folder for settei.ini,
// whole-file bytes, and a check that aborts with a message (libFuzzer keeps
// the input that made it fire).
#pragma once

#include <cstddef>
#include <string>

namespace zavo::fuzz {

// settei.ini in a folder of this process's own, removed when it exits.
const std::string& scratchFile();

void writeBytes(const std::string& path, const std::string& bytes);
std::string readBytes(const std::string& path);

[[noreturn]] void fail(const char* what, const char* file, int line);

// `n` bytes at `offset`, bytes past the end of `bytes` as zero: how a reader
// of settei.ini sees the file.
std::string bytesAt(const std::string& bytes, std::size_t offset, std::size_t n);

} // namespace zavo::fuzz

#define FUZZ_CHECK(cond)                                                                           \
    do {                                                                                           \
        if (!(cond))                                                                               \
            ::zavo::fuzz::fail(#cond, __FILE__, __LINE__);                                         \
    } while (false)
