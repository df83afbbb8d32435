// Win32 backend: the system's own code page 932 tables, held to the same
// rules as the glibc backend, so settei.ini reads the same on both.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include "cp932.h"
#include "cp932_chars.h"

namespace zavo::core::cp932 {
namespace {
constexpr UINT kCodePage = 932;

// Bytes that start no character. Windows reads 0x80 as U+0080 and 0xA0,
// 0xFD to 0xFF as private-use characters (or not at all, depending on the
// system); glibc refuses them, and so do we.
bool invalidByte(unsigned char b) {
    return b == 0x80 || b == 0xA0 || b >= 0xFD;
}

// Decodes the character at `p`; the bytes it takes, or 0 when they are no
// valid character.
std::size_t decodeOne(const unsigned char* p, std::size_t left, wchar_t& out) {
    if (invalidByte(p[0]))
        return 0;
    const std::size_t len = IsDBCSLeadByteEx(kCodePage, p[0]) ? 2 : 1;
    if (len > left)
        return 0;
    wchar_t w[2];
    const int n = MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, reinterpret_cast<LPCCH>(p),
                                      static_cast<int>(len), w, 2);
    if (n != 1)
        return 0;
    out = w[0];
    return len;
}

// Only a form that reads back as the same character counts: the tables map
// some characters one way only (best fit, or several characters onto one
// form), and such a form would read back as a different path.
std::optional<std::string> encodeOne(const std::u16string& text, std::size_t& i) {
    const std::size_t units = charUnits(text, i);
    const auto* in = reinterpret_cast<LPCWCH>(text.data() + i);
    i += units;
    char buf[8];
    BOOL usedDefault = FALSE;
    const int n = WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, in, static_cast<int>(units),
                                      buf, sizeof buf, nullptr, &usedDefault);
    if (n <= 0 || usedDefault)
        return std::nullopt;
    wchar_t back = 0;
    const auto* bytes = reinterpret_cast<const unsigned char*>(buf);
    if (units != 1 ||
        decodeOne(bytes, static_cast<std::size_t>(n), back) != static_cast<std::size_t>(n) ||
        back != in[0])
        return std::nullopt;
    return std::string(buf, static_cast<std::size_t>(n));
}
} // namespace

std::u16string decode(std::span<const std::byte> bytes) {
    std::u16string out;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    for (std::size_t i = 0; i < bytes.size();) {
        wchar_t w = 0;
        const std::size_t len = decodeOne(p + i, bytes.size() - i, w);
        // An invalid sequence costs one byte: its second byte may start the
        // next character.
        out.push_back(len ? static_cast<char16_t>(w) : u'\xFFFD');
        i += len ? len : 1;
    }
    return out;
}

std::vector<std::optional<std::string>> encodeChars(const std::u16string& text) {
    std::vector<std::optional<std::string>> chars;
    for (std::size_t i = 0; i < text.size();)
        chars.push_back(encodeOne(text, i));
    return chars;
}

} // namespace zavo::core::cp932
