#include "slot_file.h"

#include <algorithm>

namespace zavo::core {

SlotFile::SlotFile(platform::Services& services, std::string name)
    : services_(services), name_(std::move(name)) {}

bool SlotFile::open() {
    close();
    file_ = services_.openRecordFile(name_, error_);
    return file_ != nullptr;
}

bool SlotFile::check(int recordNumber) {
    if (!file_) {
        error_ = "settei.ini is not open";
        return false;
    }
    if (recordNumber < 1 || recordNumber > kSlotCount) {
        error_ = "bad record number " + std::to_string(recordNumber);
        return false;
    }
    return true;
}

bool SlotFile::read_record(int recordNumber, SlotRecord& into) {
    if (!check(recordNumber))
        return false;
    std::array<std::byte, kRecordDataBytes> bytes{};
    if (!file_->readAt(std::uint64_t(recordNumber - 1) * kRecordLength, bytes, error_))
        return false;
    into = SlotRecord::decode(bytes);
    return true;
}

bool SlotFile::write_record(int recordNumber, const SlotRecord& from) {
    if (!check(recordNumber))
        return false;
    // The padding half of the record is written as zero bytes.
    std::array<std::byte, kRecordLength> bytes{};
    const auto data = from.encode();
    std::copy(data.begin(), data.end(), bytes.begin());
    return file_->writeAt(std::uint64_t(recordNumber - 1) * kRecordLength, bytes, error_);
}

void SlotFile::close() {
    file_.reset();
}

} // namespace zavo::core
