#include "cp932.h"

#include "cp932_chars.h"

#include <string_view>

namespace zavo::core::cp932 {
namespace {
void append(std::vector<std::byte>& out, std::string_view bytes) {
    const auto* begin = reinterpret_cast<const std::byte*>(bytes.data());
    out.insert(out.end(), begin, begin + bytes.size());
}
} // namespace

std::optional<std::vector<std::byte>> encode(const std::u16string& text) {
    std::vector<std::byte> out;
    out.reserve(text.size() * 2);
    for (const std::optional<std::string>& one : encodeChars(text)) {
        if (!one)
            return std::nullopt;
        append(out, *one);
    }
    return out;
}

std::vector<std::byte> encodeFitting(const std::u16string& text, std::size_t width) {
    std::vector<std::byte> out;
    out.reserve(width);
    for (const std::optional<std::string>& one : encodeChars(text)) {
        const std::string_view bytes = one ? std::string_view(*one) : std::string_view("?");
        if (out.size() + bytes.size() > width)
            break;
        append(out, bytes);
    }
    return out;
}

} // namespace zavo::core::cp932
