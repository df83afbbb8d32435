// Win32 backend: the system's own code page 932 tables.
#include "cp932.h"
#include "cp932_chars.h"

#include <windows.h>

namespace zavo::core::cp932 {
namespace {
constexpr UINT kCodePage = 932;

std::optional<std::string> encodeOne(const std::u16string& text, std::size_t& i) {
    const int units = (text[i] >= 0xD800 && text[i] < 0xDC00 && i + 1 < text.size()) ? 2 : 1;
    char buf[8];
    BOOL usedDefault = FALSE;
    const int n = WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS,
                                      reinterpret_cast<LPCWCH>(text.data() + i), units, buf,
                                      sizeof buf, nullptr, &usedDefault);
    i += static_cast<std::size_t>(units);
    if (n <= 0 || usedDefault)
        return std::nullopt;
    return std::string(buf, static_cast<std::size_t>(n));
}
} // namespace

std::u16string decode(const std::vector<std::byte>& bytes) {
    std::u16string out;
    const auto* p = reinterpret_cast<const char*>(bytes.data());
    std::size_t i = 0;
    while (i < bytes.size()) {
        // Try a double-byte character first, then a single byte.
        const int len =
            (IsDBCSLeadByteEx(kCodePage, static_cast<BYTE>(p[i])) && i + 1 < bytes.size()) ? 2 : 1;
        wchar_t w[2];
        const int n = MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, p + i, len, w, 2);
        if (n == 1) {
            out.push_back(static_cast<char16_t>(w[0]));
        } else {
            out.push_back(u'\xFFFD');
            i += 1;
            continue;
        }
        i += static_cast<std::size_t>(len);
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
