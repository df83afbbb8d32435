#include "cp932.h"

#include "cp932_chars.h"

namespace zavo::core::cp932 {

std::optional<std::vector<std::byte>> encode(const std::u16string& text) {
    std::vector<std::byte> out;
    for (const std::optional<std::string>& one : encodeChars(text)) {
        if (!one)
            return std::nullopt;
        for (char c : *one)
            out.push_back(static_cast<std::byte>(c));
    }
    return out;
}

std::vector<std::byte> encodeFitting(const std::u16string& text, std::size_t width) {
    std::vector<std::byte> out;
    for (const std::optional<std::string>& one : encodeChars(text)) {
        const std::string bytes = one.value_or("?");
        if (out.size() + bytes.size() > width)
            break;
        for (char c : bytes)
            out.push_back(static_cast<std::byte>(c));
    }
    return out;
}

} // namespace zavo::core::cp932
