// glibc iconv backend. "CP932" keeps 0x5C as the backslash and 0x7E as the
// tilde; the "SHIFT_JIS" tables would turn them into the yen sign and overline.
#include "cp932.h"
#include "cp932_chars.h"

#include <cerrno>
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

std::u16string fromUtf16le(const char* data, std::size_t bytes) {
    std::u16string s(bytes / 2, u'\0');
    for (std::size_t i = 0; i < s.size(); ++i)
        s[i] = static_cast<char16_t>(static_cast<unsigned char>(data[2 * i]) |
                                     (static_cast<unsigned char>(data[2 * i + 1]) << 8));
    return s;
}

std::string toUtf16le(const std::u16string& s) {
    std::string out(s.size() * 2, '\0');
    for (std::size_t i = 0; i < s.size(); ++i) {
        out[2 * i] = static_cast<char>(s[i] & 0xFF);
        out[2 * i + 1] = static_cast<char>(s[i] >> 8);
    }
    return out;
}

} // namespace

std::u16string decode(const std::vector<std::byte>& bytes) {
    Converter& cv = decoder();
    std::string in(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    std::string out(bytes.size() * 2 + 4, '\0'); // every byte yields at most one unit
    char* inPtr = in.data();
    std::size_t inLeft = in.size();
    char* outPtr = out.data();
    std::size_t outLeft = out.size();
    while (inLeft > 0) {
        if (!cv.step(inPtr, inLeft, outPtr, outLeft)) {
            *outPtr++ = static_cast<char>(0xFD); // U+FFFD, little endian
            *outPtr++ = static_cast<char>(0xFF);
            outLeft -= 2;
            ++inPtr;
            --inLeft;
        }
    }
    return fromUtf16le(out.data(), static_cast<std::size_t>(outPtr - out.data()));
}

namespace {
// Encodes one UTF-16 code unit (or surrogate pair) starting at `i`. Only a
// form that reads back as the same character counts: glibc maps U+00A5 and
// U+203E one way onto 0x5C and 0x7E, which would read back as a backslash
// and a tilde, that is as a different path (Windows refuses them as well).
std::optional<std::string> encodeOne(Converter& cv, Converter& back, const std::u16string& text,
                                     std::size_t& i) {
    const std::size_t units = charUnits(text, i);
    std::string in = toUtf16le(text.substr(i, units));
    i += units;
    char buf[8];
    char* inPtr = in.data();
    std::size_t inLeft = in.size();
    char* outPtr = buf;
    std::size_t outLeft = sizeof buf;
    if (!cv.step(inPtr, inLeft, outPtr, outLeft) || inLeft != 0)
        return std::nullopt;
    std::string encoded(buf, static_cast<std::size_t>(outPtr - buf));

    char again[8];
    inPtr = encoded.data();
    inLeft = encoded.size();
    outPtr = again;
    outLeft = sizeof again;
    if (!back.step(inPtr, inLeft, outPtr, outLeft) || inLeft != 0 ||
        std::string(again, static_cast<std::size_t>(outPtr - again)) != in)
        return std::nullopt;
    return encoded;
}
} // namespace

std::vector<std::optional<std::string>> encodeChars(const std::u16string& text) {
    Converter& cv = encoder();
    Converter& back = decoder();
    std::vector<std::optional<std::string>> chars;
    for (std::size_t i = 0; i < text.size();)
        chars.push_back(encodeOne(cv, back, text, i));
    return chars;
}

} // namespace zavo::core::cp932
