#include "doctest_strings.h"

#include <cstdio>

namespace doctest {

String StringMaker<std::u16string>::convert(const std::u16string& s) {
    std::string out = "u\"";
    for (char16_t c : s) {
        if (c >= 0x20 && c < 0x7F && c != u'"' && c != u'\\') {
            out += static_cast<char>(c);
        } else {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04X", static_cast<unsigned>(c));
            out += buf;
        }
    }
    out += '"';
    return String(out.c_str());
}

String StringMaker<std::vector<std::string>>::convert(const std::vector<std::string>& calls) {
    std::string out = "{";
    for (const std::string& c : calls)
        out += "\n  \"" + c + "\"";
    return (out + "}").c_str();
}

} // namespace doctest
