// A record file held in memory: the bytes of a std::string read and written
// exactly as a file on disk would be (zero past the end, growing on a write
// past it), so the slot file's reader and writer run without touching a
// disk, as fast as fuzzing needs them and beside a test's own folder.
#pragma once

#include "core/record_file.h"

#include <string>

namespace zavo::platform {

class MemoryRecordFile final : public RecordFile {
public:
    // Reads and writes `bytes`, which must outlive this file.
    explicit MemoryRecordFile(std::string& bytes) : bytes_(bytes) {}

    bool readAt(std::uint64_t offset, std::span<std::byte> out, std::string& error) override;
    bool writeAt(std::uint64_t offset, std::span<const std::byte> data,
                 std::string& error) override;

private:
    std::string& bytes_;
};

} // namespace zavo::platform
