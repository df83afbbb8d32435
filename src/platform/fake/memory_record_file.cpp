#include "memory_record_file.h"

#include <algorithm>
#include <cstring>

namespace zavo::platform {

bool MemoryRecordFile::readAt(std::uint64_t offset, std::span<std::byte> out, std::string&) {
    std::size_t n = 0;
    if (offset < bytes_.size())
        n = std::min<std::size_t>(out.size(), bytes_.size() - std::size_t(offset));
    if (n > 0)
        std::memcpy(out.data(), bytes_.data() + offset, n);
    std::fill(out.begin() + std::ptrdiff_t(n), out.end(), std::byte{0});
    return true;
}

bool MemoryRecordFile::writeAt(std::uint64_t offset, std::span<const std::byte> data,
                               std::string& error) {
    if (offset > bytes_.max_size() - data.size()) {
        error = "file too large";
        return false;
    }
    const std::size_t end = std::size_t(offset) + data.size();
    if (bytes_.size() < end)
        bytes_.resize(end, '\0'); // a gap reads as zero, as a sparse file's does
    if (!data.empty())
        std::memcpy(bytes_.data() + offset, data.data(), data.size());
    return true;
}

} // namespace zavo::platform
