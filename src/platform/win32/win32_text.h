// Text for the wide Win32 calls: UTF-8 <-> UTF-16 through the one converter
// of core (on Windows wchar_t is UTF-16), and the system's message for an
// error code.
#pragma once

#include "core/utf.h"

#include <optional>
#include <string>
#include <string_view>

namespace zavo::platform {

// Text that is shown: invalid UTF-8 becomes U+FFFD.
inline std::wstring wide(std::string_view utf8) {
    const std::u16string u16 = core::to_utf16(utf8);
    return std::wstring(u16.begin(), u16.end());
}

// A path or a command: nullopt for invalid UTF-8.
inline std::optional<std::wstring> widenUtf8(std::string_view utf8) {
    const std::optional<std::u16string> u16 = core::to_utf16_exact(utf8);
    if (!u16)
        return std::nullopt;
    return std::wstring(u16->begin(), u16->end());
}

// An unpaired surrogate becomes U+FFFD.
inline std::string narrowUtf8(std::wstring_view wide) {
    return core::to_utf8(std::u16string(wide.begin(), wide.end()));
}

// "error <code>: <system message>" on one line. The message's inserts (%1,
// %2!s!, ...) stand for `subject`, the file the failed call was about, or
// "?" without one: a system message never reaches the user with a bare "%1".
std::string win32ErrorText(unsigned long code, const std::string& subject = {});

} // namespace zavo::platform
