// settei.ini: up to three 200-byte records, record n at offset (n - 1) * 200.
#pragma once

#include "services.h"
#include "slot_record.h"

#include <memory>
#include <string>

namespace zavo::core {

inline constexpr const char* kSlotFileName = "settei.ini";

class SlotFile {
public:
    // `name` is resolved against the current directory when relative.
    SlotFile(platform::Services& services, std::string name = kSlotFileName);

    bool open();
    bool read_record(int recordNumber, SlotRecord& into);
    // Record 0 stands for "no slot chosen" and fails without writing.
    bool write_record(int recordNumber, const SlotRecord& from);
    // Closing a file that is not open does nothing.
    void close();

    bool is_open() const { return file_ != nullptr; }
    const std::string& last_error() const { return error_; }

private:
    bool check(int recordNumber);

    platform::Services& services_;
    std::string name_;
    std::unique_ptr<platform::RecordFile> file_;
    std::string error_;
};

} // namespace zavo::core
