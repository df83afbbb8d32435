// settei.ini and the text conversions of the Windows backend (Win32 only).
#pragma once

#include "../record_file.h"

#include <memory>
#include <optional>
#include <string>

namespace zavo::platform {

// Opens `name` (UTF-8) for reading and writing, creating it when missing; a
// file that may not be written opens for reading only.
std::unique_ptr<RecordFile> openWin32RecordFile(const std::string& name, std::string& error);

// UTF-8 <-> UTF-16 for the wide Win32 calls; nullopt for invalid UTF-8.
std::optional<std::wstring> widenUtf8(const std::string& utf8);
std::string narrowUtf8(const std::wstring& wide);

// The system's text for a Win32 error code.
std::string win32ErrorText(unsigned long code);

} // namespace zavo::platform
