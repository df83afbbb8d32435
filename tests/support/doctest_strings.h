// Readable failure output for the doctest tests: UTF-16 text with anything
// but printable ASCII as \uXXXX (so a NUL or a U+FFFD shows), and call lists
// one call a line.
#pragma once

#include <doctest/doctest.h>

#include <string>
#include <vector>

namespace doctest {
template <> struct StringMaker<std::u16string> {
    // Printable ASCII as it is, anything else as \uXXXX.
    static String convert(const std::u16string& s);
};
template <> struct StringMaker<std::vector<std::string>> {
    static String convert(const std::vector<std::string>& calls);
};
} // namespace doctest
