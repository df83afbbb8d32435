#include "scratch_folder.h"

#ifdef _WIN32
#include "platform/win32/win32_api.h"
#endif

#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

namespace zavo::test {
namespace fs = std::filesystem;

ScratchFolder::ScratchFolder(std::string_view prefix, Current current) {
    std::random_device random;
    const fs::path base = fs::temp_directory_path();
    for (int attempt = 0; path_.empty(); ++attempt) {
        if (attempt == 100)
            throw std::runtime_error("no scratch folder under " + utf8Of(base));
        const fs::path p =
            base / pathOf(std::string(prefix) + std::to_string(random() % 1000000000u));
        if (fs::create_directory(p))
            path_ = p;
    }
    if (current == Current::enter) {
        previous_ = fs::current_path();
        fs::current_path(path_);
        path_ = fs::current_path();
    }
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    if (!previous_.empty())
        fs::current_path(previous_, ignored);
    // A test may have taken away the owner's rights.
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(path_, ignored);
}

std::string ScratchFolder::file(const std::string& name) const {
    return utf8Of(path_ / pathOf(name));
}

fs::path pathOf(const std::string& utf8) {
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string utf8Of(const fs::path& path) {
    const std::u8string s = path.u8string();
    return std::string(s.begin(), s.end());
}

void writeFile(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out.good())
        throw std::runtime_error("cannot write " + utf8Of(path));
}

std::string readFile(const fs::path& path) {
    // One block copy: tests read files of a mebibyte and more.
    std::ifstream in(path, std::ios::binary);
    return (std::ostringstream() << in.rdbuf()).str();
}

void makeFile(const fs::path& path) {
    if (path.has_parent_path())
        fs::create_directories(path.parent_path());
    writeFile(path, "");
}

void makeProgram(const fs::path& path) {
    makeFile(path);
    // Windows knows a program by its name alone; elsewhere every user may
    // run it, as an installed program.
#ifndef _WIN32
    fs::permissions(path, fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec,
                    fs::perm_options::add);
#endif
}

void hideFile(const fs::path& path) {
#ifdef _WIN32
    if (!SetFileAttributesW(path.c_str(), GetFileAttributesW(path.c_str()) | FILE_ATTRIBUTE_HIDDEN))
        throw std::runtime_error("cannot hide " + utf8Of(path));
#else
    if (path.filename().string().front() != '.')
        throw std::logic_error("a hidden name starts with a dot: " + utf8Of(path));
#endif
}

} // namespace zavo::test
