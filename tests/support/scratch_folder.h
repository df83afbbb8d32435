// Scratch folders and whole files for tests of every kind: a fresh folder
// under the system's temporary folder, removed with its content at the end,
// and file bytes written and read back by the tests themselves. Paths given
// as text are UTF-8 on every platform.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace zavo::test {

class ScratchFolder {
public:
    enum class Current { stay, enter };

    // A folder named `prefix` and a random number. The default name holds a
    // blank and Japanese characters, so every path a test makes carries
    // them; tests that spell the folder into settei.ini byte by byte pass an
    // ASCII prefix. With Current::enter the folder is the current folder
    // while this lives (settei.ini is opened by a relative name).
    explicit ScratchFolder(std::string_view prefix = "zavo テスト ",
                           Current current = Current::stay);
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // As the program sees it (the real path when entered).
    const std::filesystem::path& path() const { return path_; }
    // The UTF-8 path of `name` in this folder.
    std::string file(const std::string& name) const;

private:
    std::filesystem::path path_;
    std::filesystem::path previous_; // empty unless entered
};

std::filesystem::path pathOf(const std::string& utf8);
std::string utf8Of(const std::filesystem::path& path);

// Whole-file bytes, replacing the file; throws when it cannot be written.
void writeFile(const std::filesystem::path& path, const std::string& bytes);
inline void writeFile(const std::string& utf8Path, const std::string& bytes) {
    writeFile(pathOf(utf8Path), bytes);
}
inline void writeFile(const char* utf8Path, const std::string& bytes) {
    writeFile(pathOf(utf8Path), bytes);
}
// The file's bytes as found; empty when it cannot be read.
std::string readFile(const std::filesystem::path& path);
inline std::string readFile(const std::string& utf8Path) {
    return readFile(pathOf(utf8Path));
}
inline std::string readFile(const char* utf8Path) {
    return readFile(pathOf(utf8Path));
}
// An empty file, its folders made first.
void makeFile(const std::filesystem::path& path);
// The same, executable where the system asks for that of a program.
void makeProgram(const std::filesystem::path& path);
// Hides a file from folder listings as its system does: Windows by the
// hidden attribute (a leading dot hides nothing there: Wine 8 reports such a
// name hidden, Wine 10 does not), elsewhere by the leading dot the caller
// gives the name.
void hideFile(const std::filesystem::path& path);

} // namespace zavo::test
