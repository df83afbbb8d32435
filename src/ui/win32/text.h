// Captions cross as UTF-8 and become UTF-16 at the wide Win32 call.
#pragma once

#include "core/utf.h"

#include <string>

namespace zavo::ui {

// On Windows wchar_t is UTF-16.
inline std::wstring wide(const std::string& utf8) {
    const std::u16string u16 = core::to_utf16(utf8);
    return std::wstring(u16.begin(), u16.end());
}

inline std::string narrow(const std::wstring& utf16) {
    return core::to_utf8(std::u16string(utf16.begin(), utf16.end()));
}

} // namespace zavo::ui
