// What each code page 932 backend provides: the form of every character.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace zavo::core::cp932 {

// The UTF-16 units of the character at `i`: 2 for a surrogate pair, else 1.
// A lone surrogate is one character of its own and never swallows the next.
inline std::size_t charUnits(const std::u16string& text, std::size_t i) {
    const bool pair = i + 1 < text.size() && text[i] >= 0xD800 && text[i] < 0xDC00 &&
                      text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000;
    return pair ? 2 : 1;
}

// The code page 932 bytes of each character (a surrogate pair counts as one)
// of `text`, in order; nullopt for a character that has no form that reads
// back as itself.
std::vector<std::optional<std::string>> encodeChars(const std::u16string& text);

} // namespace zavo::core::cp932
