#include "slot_record.h"

#include "cp932.h"

#include <algorithm>
#include <vector>

namespace zavo::core {
namespace {

std::u16string decodeField(const std::byte* begin, std::size_t bytes, std::size_t width) {
    // Double-byte characters decode to fewer characters than bytes.
    return SlotRecord::fit(cp932::decode({begin, bytes}), width);
}

void encodeField(const std::u16string& text, std::byte* out, std::size_t width) {
    const std::vector<std::byte> bytes = cp932::encodeFitting(text, width);
    std::copy(bytes.begin(), bytes.end(), out);
    std::fill(out + bytes.size(), out + width, std::byte{' '});
}

std::u16string trimTrailingBlanks(const std::u16string& s) {
    const auto end = s.find_last_not_of(u' ');
    return end == std::u16string::npos ? std::u16string() : s.substr(0, end + 1);
}

} // namespace

std::u16string SlotRecord::fit(std::u16string text, std::size_t width) {
    text.resize(width, u' ');
    return text;
}

std::array<std::byte, kRecordDataBytes> SlotRecord::encode() const {
    std::array<std::byte, kRecordDataBytes> bytes{};
    encodeField(dir_path, bytes.data(), kDirPathWidth);
    encodeField(exe_name, bytes.data() + kDirPathWidth, kExeNameWidth);
    return bytes;
}

SlotRecord SlotRecord::decode(const std::array<std::byte, kRecordDataBytes>& bytes) {
    SlotRecord r;
    r.dir_path = decodeField(bytes.data(), kDirPathWidth, kDirPathWidth);
    r.exe_name = decodeField(bytes.data() + kDirPathWidth, kExeNameWidth, kExeNameWidth);
    return r;
}

bool slot_registered(const SlotRecord& record) {
    const std::u16string s = slot_caption(record);
    return !s.empty() && s.front() != u'\0' && s.find_first_not_of(u' ') != std::u16string::npos;
}

std::u16string slot_caption(const SlotRecord& record) {
    return record.exe_name.substr(0, kCaptionLength);
}

std::u16string slot_command_line(const SlotRecord& record) {
    return trimTrailingBlanks(record.dir_path) + trimTrailingBlanks(record.exe_name);
}

} // namespace zavo::core
