#include "settei_bytes.h"

namespace zavo::test {

std::string recordBytes(const std::string& dir, const std::string& exe) {
    std::string r = dir.substr(0, 80);
    r.resize(80, ' ');
    r += exe.substr(0, 20);
    r.resize(100, ' ');
    r.resize(kRecordSize, '\0');
    return r;
}

std::string blankRecord() {
    return recordBytes("", "");
}

std::string neverWritten() {
    return std::string(kRecordSize, '\0');
}

std::string withRecord(std::string bytes, int record, const std::string& replacement) {
    const std::size_t offset = std::size_t(record - 1) * kRecordSize;
    if (bytes.size() < offset + kRecordSize)
        bytes.resize(offset + kRecordSize, '\0');
    bytes.replace(offset, kRecordSize, replacement);
    return bytes;
}

std::string bytesAt(const std::string& bytes, std::size_t offset, std::size_t n) {
    std::string out(n, '\0');
    if (offset < bytes.size())
        bytes.copy(out.data(), n, offset);
    return out;
}

std::string fromHex(const std::string& hex) {
    std::string out;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        out += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    return out;
}

} // namespace zavo::test
