// Registration with arbitrary UTF-16 folder and file names (unpaired
// surrogates, characters without a code page 932 form, names longer than
// their field), the way the registration dialog stores them: the folder gets
// its separator, both are assigned to the working buffer, the record of the
// chosen slot is written and records 1 to 3 are read back.
//
// Input: [slot selector][folder units][file units][folder][file][settei.ini]
// where folder and file are little-endian UTF-16 code units and the rest is
// the file as it was before the registration.
#include "core/cp932.h"
#include "core/cp932_chars.h"
#include "core/folder_lists.h"
#include "core/slot_file.h"
#include "core/slot_record.h"
#include "core/utf.h"
#include "fuzz_support.h"
#include "support/settei_bytes.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

using namespace zavo;
using core::SlotRecord;

namespace {

class Input {
public:
    Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    std::uint8_t byte() { return pos_ < size_ ? data_[pos_++] : 0; }
    std::u16string units(std::size_t n) {
        std::u16string s;
        for (; n > 0 && pos_ + 1 < size_; --n, pos_ += 2)
            s += char16_t(data_[pos_] | (data_[pos_ + 1] << 8));
        return s;
    }
    std::string rest(std::size_t max) {
        const std::size_t n = std::min(max, size_ - std::min(pos_, size_));
        return std::string(reinterpret_cast<const char*>(data_ + pos_), n);
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

// The length of the code page 932 form of the character of `units` code
// units at `i`, 0 when it has none. A character's form never changes, so each
// is asked of the codec once a run, keyed by its code point (an unpaired
// surrogate by its own value).
std::size_t encodedSize(const std::u16string& text, std::size_t i, std::size_t units) {
    static std::vector<std::int8_t> known(0x110000, -1);
    const char32_t c = units == 2 ? 0x10000 + ((char32_t(text[i]) - 0xD800) << 10) +
                                        (char32_t(text[i + 1]) - 0xDC00)
                                  : char32_t(text[i]);
    if (known[c] < 0) {
        const auto encoded = core::cp932::encode(text.substr(i, units));
        known[c] = encoded ? std::int8_t(encoded->size()) : 0;
    }
    return std::size_t(known[c]);
}

// What a field of `width` bytes must read back as: the characters of the
// text (first cut to `width` characters by the assignment) in order, each
// one without a code page 932 form shown as '?', as many as fit whole into
// the bytes, then blanks.
std::u16string expectedField(const std::u16string& text, std::size_t width) {
    const std::u16string assigned = SlotRecord::fit(text, width);
    std::u16string shown;
    std::size_t bytes = 0;
    for (std::size_t i = 0; i < assigned.size();) {
        const std::size_t units = core::cp932::charUnits(assigned, i);
        const std::size_t encoded = encodedSize(assigned, i, units);
        const std::size_t size = encoded ? encoded : 1;
        if (bytes + size > width)
            break;
        bytes += size;
        if (encoded)
            shown.append(assigned, i, units);
        else
            shown += u'?';
        i += units;
    }
    shown.resize(width, u' ');
    return shown;
}

void checkField(const std::u16string& read, const std::u16string& text, std::size_t width) {
    FUZZ_CHECK(read.size() == width);
    FUZZ_CHECK(read == expectedField(text, width));
    // A text whose code page 932 form fits reads back as itself, padded.
    const auto encoded = core::cp932::encode(text);
    if (encoded && encoded->size() <= width) {
        std::u16string padded = text;
        padded.resize(width, u' ');
        FUZZ_CHECK(read == padded);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Input in(data, size);
    const int slot = in.byte() % 4; // 0: no option button selected
    const std::size_t folderUnits = in.byte() % 128;
    const std::size_t fileUnits = in.byte() % 48;
    std::u16string folder = in.units(folderUnits);
    const std::u16string file = in.units(fileUnits);
    const std::string before = in.rest(4 * core::kRecordLength);

    // The names reach the dialog as UTF-8; an unpaired surrogate cannot be
    // spelled there and comes back as U+FFFD, anything else unchanged.
    const std::u16string viaUtf8 = core::to_utf16(core::to_utf8(file));
    FUZZ_CHECK(viaUtf8.size() <= file.size());

    const char16_t separator = platform::folder_lists::kPathSeparator;
    if (folder.empty() || folder.back() != separator)
        folder += separator;

    SlotRecord buffer;
    buffer.assign_dir_path(folder);
    buffer.assign_exe_name(file);
    FUZZ_CHECK(buffer.dir_path.size() == core::kDirPathWidth);
    FUZZ_CHECK(buffer.exe_name.size() == core::kExeNameWidth);

    fuzz::Settei stored(before);
    core::SlotFile settei(stored.services, stored.name());
    FUZZ_CHECK(settei.open());
    const bool written = settei.write_record(slot, buffer);
    settei.close();
    FUZZ_CHECK(written == (slot != 0));

    const std::string after = stored.bytes();
    if (!written) {
        FUZZ_CHECK(after == before);
        return 0;
    }

    // Nothing but the chosen record changes; a file that ended before it now
    // ends with it, the gap reading as zero as it did before.
    const std::size_t offset = std::size_t(slot - 1) * core::kRecordLength;
    const std::size_t end = offset + core::kRecordLength;
    FUZZ_CHECK(after.size() == std::max(before.size(), end));
    const std::string beforeZeroExtended = test::bytesAt(before, 0, after.size());
    FUZZ_CHECK(after.compare(0, offset, beforeZeroExtended, 0, offset) == 0);
    FUZZ_CHECK(after.compare(end, std::string::npos, beforeZeroExtended, end) == 0);
    FUZZ_CHECK(after.substr(offset + core::kRecordDataBytes, core::kRecordDataBytes) ==
               std::string(core::kRecordDataBytes, '\0'));

    FUZZ_CHECK(settei.open());
    for (int n = 1; n <= core::kSlotCount; ++n) {
        SlotRecord r;
        FUZZ_CHECK(settei.read_record(n, r));
        if (n != slot)
            continue;
        checkField(r.dir_path, folder, core::kDirPathWidth);
        checkField(r.exe_name, file, core::kExeNameWidth);
        checkField(r.exe_name, viaUtf8, core::kExeNameWidth);
    }
    settei.close();
    return 0;
}
