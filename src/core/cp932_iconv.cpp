// glibc iconv backend. "CP932" keeps 0x5C as the backslash and 0x7E as the
// tilde; the "SHIFT_JIS" tables would turn them into the yen sign and overline.
#include "cp932.h"
#include "cp932_chars.h"

#include <bit>
#include <cerrno>
#include <cstring>
#include <iconv.h>
#include <stdexcept>

namespace zavo::core::cp932 {
namespace {

class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
        if (cd_ == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error("iconv cannot convert between CP932 and UTF-16LE");
    }
    ~Converter() { iconv_close(cd_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Back to the initial shift state, as freshly opened.
    Converter& reset() {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        return *this;
    }

    // Converts one unit of input; returns false on EILSEQ/EINVAL and resets.
    bool step(char*& in, std::size_t& inLeft, char*& out, std::size_t& outLeft) {
        if (iconv(cd_, &in, &inLeft, &out, &outLeft) != static_cast<std::size_t>(-1))
            return true;
        const int err = errno;
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        if (err == E2BIG)
            return true;
        return false;
    }

private:
    iconv_t cd_;
};

// One converter per direction and thread, opened at its first use and kept:
// an iconv_open costs more than converting a whole record (glibc loads the
// modules again once their last converter closed, and allocates its
// buffers), and reading settei.ini converts six fields.
Converter& decoder() {
    thread_local Converter cv("UTF-16LE", "CP932");
    return cv.reset();
}
Converter& encoder() {
    thread_local Converter cv("CP932", "UTF-16LE");
    return cv.reset();
}

} // namespace

std::u16string decode(std::span<const std::byte> bytes) {
    Converter& cv = decoder();
    // iconv never writes through its input pointer; the output goes straight
    // into the string, every byte yielding at most one unit.
    std::u16string out(bytes.size() + 2, u'\0');
    char* inPtr = const_cast<char*>(reinterpret_cast<const char*>(bytes.data()));
    std::size_t inLeft = bytes.size();
    char* const outBegin = reinterpret_cast<char*>(out.data());
    char* outPtr = outBegin;
    std::size_t outLeft = out.size() * 2;
    while (inLeft > 0) {
        if (!cv.step(inPtr, inLeft, outPtr, outLeft)) {
            *outPtr++ = static_cast<char>(0xFD); // U+FFFD, little endian
            *outPtr++ = static_cast<char>(0xFF);
            outLeft -= 2;
            ++inPtr;
            --inLeft;
        }
    }
    out.resize(static_cast<std::size_t>(outPtr - outBegin) / 2);
    if constexpr (std::endian::native == std::endian::big)
        for (char16_t& c : out)
            c = static_cast<char16_t>((c >> 8) | (c << 8));
    return out;
}

namespace {
// Encodes one UTF-16 code unit (or surrogate pair) starting at `i`. Only a
// form that reads back as the same character counts: glibc maps U+00A5 and
// U+203E one way onto 0x5C and 0x7E, which would read back as a backslash
// and a tilde, that is as a different path (Windows refuses them as well).
std::optional<std::string> encodeOne(Converter& cv, Converter& back, const std::u16string& text,
                                     std::size_t& i) {
    const std::size_t units = charUnits(text, i);
    char in[4];
    for (std::size_t k = 0; k < units; ++k) {
        in[2 * k] = static_cast<char>(text[i + k] & 0xFF);
        in[2 * k + 1] = static_cast<char>(text[i + k] >> 8);
    }
    i += units;
    char encoded[8];
    char* inPtr = in;
    std::size_t inLeft = units * 2;
    char* outPtr = encoded;
    std::size_t outLeft = sizeof encoded;
    if (!cv.step(inPtr, inLeft, outPtr, outLeft) || inLeft != 0)
        return std::nullopt;
    const auto encodedSize = static_cast<std::size_t>(outPtr - encoded);

    char again[8];
    inPtr = encoded;
    inLeft = encodedSize;
    outPtr = again;
    outLeft = sizeof again;
    if (!back.step(inPtr, inLeft, outPtr, outLeft) || inLeft != 0 ||
        static_cast<std::size_t>(outPtr - again) != units * 2 ||
        std::memcmp(again, in, units * 2) != 0)
        return std::nullopt;
    return std::string(encoded, encodedSize); // short: no allocation
}
} // namespace

std::vector<std::optional<std::string>> encodeChars(const std::u16string& text) {
    Converter& cv = encoder();
    Converter& back = decoder();
    std::vector<std::optional<std::string>> chars;
    chars.reserve(text.size());
    for (std::size_t i = 0; i < text.size();)
        chars.push_back(encodeOne(cv, back, text, i));
    return chars;
}

} // namespace zavo::core::cp932
