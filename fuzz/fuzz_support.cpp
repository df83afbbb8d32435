#include "fuzz_support.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace zavo::fuzz {
namespace {

std::string makeScratch() {
    const std::filesystem::path base = std::filesystem::temp_directory_path();
    std::string pattern = (base / "zavo-fuzz-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        fail("mkdtemp", __FILE__, __LINE__);
    static std::string folder = pattern;
    std::atexit([] {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    });
    return pattern + "/settei.ini";
}

} // namespace

const std::string& scratchFile() {
    static const std::string path = makeScratch();
    return path;
}

void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    if (!out)
        fail("writing the scratch file", __FILE__, __LINE__);
}

std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void fail(const char* what, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, what);
    std::abort();
}

std::string bytesAt(const std::string& bytes, std::size_t offset, std::size_t n) {
    std::string out(n, '\0');
    if (offset < bytes.size())
        bytes.copy(out.data(), n, offset);
    return out;
}

} // namespace zavo::fuzz
