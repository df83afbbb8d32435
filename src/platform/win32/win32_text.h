// Text for the wide Win32 calls: UTF-8 <-> UTF-16, and the system's message
// for an error code.
#pragma once

#include <optional>
#include <string>

namespace zavo::platform {

// nullopt for invalid UTF-8.
std::optional<std::wstring> widenUtf8(const std::string& utf8);
std::string narrowUtf8(const std::wstring& wide);

// "error <code>: <system message>" on one line. The message's inserts (%1,
// %2!s!, ...) stand for `subject`, the file the failed call was about, or
// "?" without one: a system message never reaches the user with a bare "%1".
std::string win32ErrorText(unsigned long code, const std::string& subject = {});

} // namespace zavo::platform
