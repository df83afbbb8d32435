#include "forms_harness.h"

#include "core/folder_lists.h"

namespace zavo::test {

Calls FormsHarness::since(std::size_t mark) const {
    Calls out;
    for (std::size_t i = mark; i < rec.calls.size(); ++i)
        if (rec.calls[i] != "now")
            out.push_back(rec.calls[i]);
    return out;
}

std::string msg(const std::string& text, int style) {
    return "msg " + text + " " + std::to_string(style) + " ZAVO_launcher";
}

std::string stored(const fs::path& folder) {
    std::string s = folder.string();
    if (s.back() != platform::folder_lists::kPathSeparator)
        s += platform::folder_lists::kPathSeparator;
    return s;
}

} // namespace zavo::test
