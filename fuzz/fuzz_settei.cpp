// Any bytes as settei.ini: the three records read through SlotFile (each the
// decoding of the bytes at its offset, zero past the end), the derived slot
// values, and the code page 932 decoder on the raw bytes. Nothing may crash,
// and what the readers derive must keep its shape whatever the file holds.
#include "core/cp932.h"
#include "core/slot_file.h"
#include "core/slot_record.h"
#include "core/utf.h"
#include "fuzz_support.h"
#include "support/settei_bytes.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>

using namespace zavo;
using core::SlotRecord;

namespace {

SlotRecord decodeAt(const std::string& bytes, std::size_t offset) {
    std::array<std::byte, core::kRecordDataBytes> data{};
    const std::string window = test::bytesAt(bytes, offset, data.size());
    std::memcpy(data.data(), window.data(), data.size());
    return SlotRecord::decode(data);
}

std::u16string trimmed(const std::u16string& s) {
    const auto end = s.find_last_not_of(u' ');
    return end == std::u16string::npos ? std::u16string() : s.substr(0, end + 1);
}

void checkDerived(const SlotRecord& r) {
    FUZZ_CHECK(r.dir_path.size() == core::kDirPathWidth);
    FUZZ_CHECK(r.exe_name.size() == core::kExeNameWidth);

    const std::u16string caption = core::slot_caption(r);
    FUZZ_CHECK(caption == r.exe_name.substr(0, core::kCaptionLength));
    const bool anyText = caption.find_first_not_of(u' ') != std::u16string::npos;
    FUZZ_CHECK(core::slot_registered(r) == (caption[0] != u'\0' && anyText));
    const std::u16string line = core::slot_command_line(r);
    FUZZ_CHECK(line == trimmed(r.dir_path) + trimmed(r.exe_name));

    // Captions and command lines cross into the windows as UTF-8; code page
    // 932 text never holds a surrogate, so nothing may change on the way.
    FUZZ_CHECK(core::to_utf16(core::to_utf8(caption)) == caption);
    FUZZ_CHECK(core::to_utf16(core::to_utf8(line)) == line);
}

void checkSlotFile(const std::string& bytes) {
    fuzz::Settei settei(bytes);
    core::SlotFile file(settei.services, settei.name());
    FUZZ_CHECK(file.open());
    for (int n = 1; n <= core::kSlotCount; ++n) {
        SlotRecord r;
        FUZZ_CHECK(file.read_record(n, r));
        const SlotRecord expected = decodeAt(bytes, std::size_t(n - 1) * core::kRecordLength);
        FUZZ_CHECK(r.dir_path == expected.dir_path && r.exe_name == expected.exe_name);
        checkDerived(r);
    }
    // Record numbers outside 1 to 3 fail, and never write.
    SlotRecord ignored;
    FUZZ_CHECK(!file.read_record(0, ignored) && !file.read_record(4, ignored));
    FUZZ_CHECK(!file.write_record(0, ignored) && !file.write_record(4, ignored));
    file.close();
    FUZZ_CHECK(settei.bytes() == bytes);
}

void checkCodec(const std::string& bytes) {
    const std::u16string text = core::cp932::decode(std::as_bytes(std::span(bytes)));
    FUZZ_CHECK(text.size() <= bytes.size());
    if (text.find(u'\uFFFD') != std::u16string::npos)
        return;
    // Text that decoded cleanly encodes again, to bytes that read back as the
    // same text (a character with two code page 932 forms takes one of them).
    // The program encodes a record's fields, never more than its data bytes
    // at a time; encoding goes character by character, so a longer text
    // would only cost time.
    const std::u16string field = text.substr(0, core::kRecordDataBytes);
    const auto again = core::cp932::encode(field);
    FUZZ_CHECK(again.has_value());
    FUZZ_CHECK(core::cp932::decode(*again) == field);
    FUZZ_CHECK(core::cp932::encodeFitting(field, again->size()) == *again);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    checkSlotFile(bytes);
    checkCodec(bytes);
    return 0;
}
