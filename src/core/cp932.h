// Code page 932 (the Japanese ANSI code page of settei.ini) <-> UTF-16.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace zavo::core::cp932 {

// Decodes every byte sequence; an invalid or truncated sequence becomes one
// U+FFFD per offending byte. A zero byte decodes to U+0000.
std::u16string decode(std::span<const std::byte> bytes);

// Encodes `text`; nullopt when a character has no code page 932 form.
std::optional<std::vector<std::byte>> encode(const std::u16string& text);

// Encodes `text` into at most `width` bytes, cutting at a character
// boundary; characters without a code page 932 form become '?'.
std::vector<std::byte> encodeFitting(const std::u16string& text, std::size_t width);

} // namespace zavo::core::cp932
