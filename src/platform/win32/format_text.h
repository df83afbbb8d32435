// The two-call pattern of GetDateFormatEx, GetTimeFormatEx and their kin.
#pragma once

#include <optional>
#include <string>

namespace zavo::platform {

// `format(nullptr, 0)` answers the size needed (terminating NUL included);
// `format(buffer, size)` writes and answers the length written (NUL
// included), 0 on failure. The text is cut at the length written, not at the
// size asked first: the user's format may change between the two calls. A
// buffer that became too small in between is sized again, a few times.
template <class Format> std::optional<std::wstring> formatText(Format format) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int size = format(nullptr, 0);
        if (size <= 0)
            return std::nullopt;
        std::wstring text(static_cast<std::size_t>(size), L'\0');
        const int written = format(text.data(), size);
        if (written > 0 && written <= size) {
            text.resize(static_cast<std::size_t>(written - 1));
            return text;
        }
    }
    return std::nullopt;
}

} // namespace zavo::platform
