// Files and texts for the doctest tests: temporary folders, bytes written and
// read back by the tests themselves, settei.ini records spelled out byte by
// byte, and readable failure output for UTF-16 text.
#pragma once

#include <doctest/doctest.h>

#include <filesystem>
#include <string>

namespace zavo::test {

// A fresh folder whose name holds a blank and Japanese characters, removed
// with its content at the end.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // The UTF-8 path of `name` in this folder.
    std::string file(const std::string& name) const;

private:
    std::filesystem::path path_;
};

std::filesystem::path pathOf(const std::string& utf8);
std::string utf8Of(const std::filesystem::path& path);

// Whole-file bytes, replacing the file / as found.
void writeFile(const std::string& path, const std::string& bytes);
std::string readFile(const std::string& path);

// "955c" -> the two bytes 95 5C.
std::string fromHex(const std::string& hex);

// One 200-byte record: `dir` and `exe` are raw code page 932 bytes, blank
// padded (or cut) to 80 and 20 bytes, then 100 zero bytes.
std::string recordBytes(const std::string& dir, const std::string& exe);

} // namespace zavo::test

namespace doctest {
// UTF-16 text in failure messages: printable ASCII as it is, anything else as
// \uXXXX, so a NUL or a U+FFFD shows.
template <> struct StringMaker<std::u16string> { static String convert(const std::u16string& s); };
} // namespace doctest
