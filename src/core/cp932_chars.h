// What each code page 932 backend provides: the form of every character.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace zavo::core::cp932 {

// The code page 932 bytes of each character (a surrogate pair counts as one)
// of `text`, in order; nullopt for a character that has no form that reads
// back as itself.
std::vector<std::optional<std::string>> encodeChars(const std::u16string& text);

} // namespace zavo::core::cp932
