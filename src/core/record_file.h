// A file of fixed-length records addressed by byte offset.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace zavo::platform {

class RecordFile {
public:
    virtual ~RecordFile() = default;
    // Fills `out` from `offset`; bytes past the end of the file read as zero.
    virtual bool readAt(std::uint64_t offset, std::span<std::byte> out, std::string& error) = 0;
    // Writes `data` at `offset`, growing the file when needed.
    virtual bool writeAt(std::uint64_t offset, std::span<const std::byte> data,
                         std::string& error) = 0;
};

} // namespace zavo::platform
