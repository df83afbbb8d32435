#pragma once

#include "core/record_file.h"

#include <memory>
#include <string>

namespace zavo::platform {
std::unique_ptr<RecordFile> openPosixRecordFile(const std::string& name, std::string& error);
}
