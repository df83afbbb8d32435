// settei.ini bytes spelled out by the tests themselves, independent of the
// program's own writer: every test kind (unit, forms, faults, fuzz) builds
// its files here.
#pragma once

#include <cstddef>
#include <string>

namespace zavo::test {

inline constexpr std::size_t kRecordSize = 200;

// One 200-byte record: `dir` and `exe` are raw code page 932 bytes, blank
// padded (or cut) to 80 and 20 bytes, then 100 zero bytes.
std::string recordBytes(const std::string& dir, const std::string& exe);
// A record the reset wrote: both fields blank.
std::string blankRecord();
// A record never written: 200 zero bytes.
std::string neverWritten();
// `bytes` with `record` (1 to 3) replaced by `replacement`, zero-extended
// when the file was shorter.
std::string withRecord(std::string bytes, int record, const std::string& replacement);

// `n` bytes at `offset`, bytes past the end of `bytes` as zero: how a reader
// of settei.ini sees the file.
std::string bytesAt(const std::string& bytes, std::size_t offset, std::size_t n);

// "955c" -> the two bytes 95 5C.
std::string fromHex(const std::string& hex);

} // namespace zavo::test
