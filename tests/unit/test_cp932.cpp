// Code page 932 <-> UTF-16 against byte sequences spelled out here. The same
// cases hold for the glibc and the Win32 backend.
#include "core/cp932.h"
#include "support/doctest_strings.h"
#include "support/scratch_folder.h"
#include "support/settei_bytes.h"

#include <random>
#include <span>
#include <string>
#include <vector>

using namespace zavo::core;
using zavo::test::fromHex;

namespace {

std::vector<std::byte> bytesOf(const std::string& s) {
    const auto bytes = std::as_bytes(std::span(s));
    return {bytes.begin(), bytes.end()};
}

std::string hexOf(const std::vector<std::byte>& v) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (std::byte b : v) {
        out += digits[std::to_integer<unsigned>(b) >> 4];
        out += digits[std::to_integer<unsigned>(b) & 15];
    }
    return out;
}

std::u16string decoded(const std::string& bytes) {
    return cp932::decode(bytesOf(bytes));
}

const std::u16string kBad = u"\xFFFD";

// Bytes in hex and the text they stand for.
struct Row {
    const char* hex;
    std::u16string text;
};

} // namespace

TEST_CASE("valid text decodes and encodes both ways") {
    const Row rows[] = {
        {"63616c632e657865", u"calc.exe"},
        {"433a5c", u"C:\\"}, // 0x5C is the backslash
        {"617e31", u"a~1"},  // 0x7E is the tilde
        {"955c", u"表"},     // 0x5C as second byte
        {"835c83748367", u"ソフト"},
        {"b1", u"ｱ"}, // half-width katakana
        {"8250814696a2936f985e", u"１：未登録"},
        {"433a5c50726f6772616d2046696c65735c8365835883675c835c837483672e657865",
         u"C:\\Program Files\\テスト\\ソフト.exe"},
        {"8740", u"①"},      // NEC row 13
        {"fa5c", u"纊"},     // IBM extension
        {"f040", u"\xE000"}, // user-defined area
        {"000000", std::u16string(3, u'\0')},
        {"", u""},
    };
    for (const Row& row : rows) {
        CAPTURE(row.hex);
        CHECK(decoded(fromHex(row.hex)) == row.text);
        const auto encoded = cp932::encode(row.text);
        REQUIRE(encoded.has_value());
        CHECK(hexOf(*encoded) == row.hex);
    }
}

TEST_CASE("invalid bytes decode to U+FFFD, one per byte, and decoding resumes") {
    const Row rows[] = {
        {"ff", kBad},
        {"80", kBad},
        {"a0", kBad},
        {"fd", kBad},
        {"fe", kBad},
        {"8120", kBad + u" "}, // the bad trail byte is kept
        {"817f", kBad + u"\x7F"},
        {"616281", u"ab" + kBad}, // a lone lead byte at the end
        {"95", kBad},
        {"ed40", u"纊"}, // the NEC-selected duplicate reads as the same character
        {"61ff62955c63fdfd", u"a" + kBad + u"b表c" + kBad + kBad},
        {"808250814696a2936f985e", kBad + u"１：未登録"},
    };
    for (const Row& row : rows) {
        CAPTURE(row.hex);
        CHECK(decoded(fromHex(row.hex)) == row.text);
    }
}

TEST_CASE("characters without a form that reads back as themselves are refused") {
    // A yen sign or overline turned into 0x5C or 0x7E would read back as a
    // backslash or tilde, that is as a different path.
    const std::u16string texts[] = {
        u"é",      u"C:\\a¥b\\", u"‾",    u"a\U0001F600b", // surrogate pair
        u"\xD800", u"a\xDC00",   u"\x80", u"\xF8F0",       // 0x80 and 0xA0 on Windows
    };
    for (const std::u16string& text : texts) {
        CAPTURE(text);
        CHECK_FALSE(cp932::encode(text).has_value());
    }
}

TEST_CASE("encodeFitting cuts at a character boundary") {
    struct Fit {
        std::u16string text;
        std::size_t width;
        std::string hex;
    };
    std::string hyou40;
    for (int i = 0; i < 40; ++i)
        hyou40 += "955c";
    const Fit rows[] = {
        {std::u16string(41, u'表'), 80, hyou40}, // 40 表 fit in 80 bytes
        {u"a表", 2, "61"},
        {u"表表", 4, "955c955c"},
        {u"a表表表表表表表表表表", 20, "61955c955c955c955c955c955c955c955c955c"},
        {u"abcdefghijklmnopqrstu", 20, "6162636465666768696a6b6c6d6e6f7071727374"},
        {u"é.exe", 20, "3f2e657865"},    // no form: '?'
        {u"a¥b", 20, "613f62"},          // never a backslash
        {u"a\U0001F600b", 20, "613f62"}, // a surrogate pair is one '?'
        {u"a\xD800"
         u"b",
         20, "613f62"}, // a lone surrogate keeps its neighbour
        {u"abc", 0, ""},
        {u"", 20, ""},
    };
    for (const Fit& row : rows) {
        CAPTURE(row.text);
        const std::vector<std::byte> got = cp932::encodeFitting(row.text, row.width);
        CHECK(hexOf(got) == row.hex);
        // Whatever was cut, the result decodes without a replacement character.
        CHECK(cp932::decode(got).find(u'\xFFFD') == std::u16string::npos);
    }
}

TEST_CASE("every two-byte sequence and a mebibyte of noise decode sanely") {
    // Each pair decodes to one or two characters, never more than its bytes.
    for (int lead = 0; lead < 256; ++lead)
        for (int trail = 0; trail < 256; ++trail) {
            const std::string pair{static_cast<char>(lead), static_cast<char>(trail)};
            const std::size_t n = decoded(pair).size();
            if (n < 1 || n > 2)
                FAIL(lead << " " << trail << " decoded to " << n << " characters");
        }
    std::string noise(1 << 20, '\0');
    std::mt19937 rng(20001103);
    for (char& c : noise)
        c = static_cast<char>(rng() & 0xFF);
    const std::u16string s = decoded(noise + "\xff" + "calc.exe");
    CHECK(s.size() <= noise.size() + 9);
    // Bytes that decode as single characters are never lost in the noise.
    CHECK(s.ends_with(u"calc.exe"));
}
