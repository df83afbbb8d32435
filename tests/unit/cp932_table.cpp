// Writes this build's whole code page 932 table to a file, one line per
// input, so that the Linux and the Windows codec can be compared line by line:
//   E XXXX BYTES   every UTF-16 code unit: its encoded bytes, or "none"
//   D BB TEXT      every single byte: the UTF-16 code units it decodes to
//   D BBBB TEXT    every pair of bytes, likewise
#include "core/cp932.h"
#include "core/cp932_chars.h"

#include <cstdio>
#include <string>
#include <vector>

using namespace zavo::core;

namespace {

void decodeLine(std::FILE* out, const std::vector<std::byte>& bytes) {
    std::fputs("D ", out);
    for (std::byte b : bytes)
        std::fprintf(out, "%02X", std::to_integer<unsigned>(b));
    for (char16_t c : cp932::decode(bytes))
        std::fprintf(out, " %04X", static_cast<unsigned>(c));
    std::fputc('\n', out);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: cp932_table OUTPUT_FILE\n");
        return 2;
    }
    std::FILE* out = std::fopen(argv[1], "wb");
    if (!out) {
        std::perror(argv[1]);
        return 1;
    }
    // Every unit on its own, so a surrogate never pairs with its neighbour.
    for (unsigned u = 0; u <= 0xFFFF; ++u) {
        const std::optional<std::string> bytes =
            cp932::encodeChars(std::u16string(1, static_cast<char16_t>(u))).at(0);
        std::fprintf(out, "E %04X", u);
        if (!bytes)
            std::fputs(" none", out);
        else
            for (char c : *bytes)
                std::fprintf(out, " %02X", static_cast<unsigned char>(c));
        std::fputc('\n', out);
    }
    for (unsigned b = 0; b < 256; ++b)
        decodeLine(out, {std::byte(b)});
    for (unsigned lead = 0; lead < 256; ++lead)
        for (unsigned trail = 0; trail < 256; ++trail)
            decodeLine(out, {std::byte(lead), std::byte(trail)});
    return std::fclose(out) == 0 ? 0 : 1;
}
