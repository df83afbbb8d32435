// One user slot of settei.ini and the values every reader derives from it.
#pragma once

#include <array>
#include <cstddef>
#include <string>

namespace zavo::core {

inline constexpr std::size_t kDirPathWidth = 80;
inline constexpr std::size_t kExeNameWidth = 20;
inline constexpr std::size_t kRecordDataBytes = kDirPathWidth + kExeNameWidth;
inline constexpr std::size_t kRecordLength = 200;
inline constexpr std::size_t kCaptionLength = 10;
inline constexpr int kSlotCount = 3;

// Text fields are UTF-16 in memory and always hold exactly their width in
// characters: assign() pads with blanks or cuts, and a record that was never
// written reads as NUL characters.
struct SlotRecord {
    std::u16string dir_path = std::u16string(kDirPathWidth, u'\0');
    std::u16string exe_name = std::u16string(kExeNameWidth, u'\0');

    void assign_dir_path(const std::u16string& text) { dir_path = fit(text, kDirPathWidth); }
    void assign_exe_name(const std::u16string& text) { exe_name = fit(text, kExeNameWidth); }

    // The 100 data bytes of a record: each field encoded in code page 932,
    // cut at a character boundary to its byte width and padded with blanks.
    std::array<std::byte, kRecordDataBytes> encode() const;
    static SlotRecord decode(const std::array<std::byte, kRecordDataBytes>& bytes);

    static std::u16string fit(std::u16string text, std::size_t width);
};

bool slot_registered(const SlotRecord& record);
std::u16string slot_caption(const SlotRecord& record);
std::u16string slot_command_line(const SlotRecord& record);

} // namespace zavo::core
