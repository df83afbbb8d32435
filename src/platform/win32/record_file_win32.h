// settei.ini on Windows.
#pragma once

#include "core/record_file.h"

#include <memory>
#include <string>

namespace zavo::platform {

// Opens `name` (UTF-8) for reading and writing, creating it when missing; a
// file that may not be written opens for reading only.
std::unique_ptr<RecordFile> openWin32RecordFile(const std::string& name, std::string& error);

} // namespace zavo::platform
