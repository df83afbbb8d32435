// UTF-8 <-> UTF-16, the two text forms that cross the windows' boundary:
// slot fields are UTF-16 (as code page 932 decodes them), captions UTF-8.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zavo::core {

// An unpaired surrogate becomes U+FFFD.
std::string to_utf8(std::u16string_view text);
// Invalid UTF-8 becomes one U+FFFD per offending byte: for text that is
// shown.
std::u16string to_utf16(std::string_view text);
// nullopt for invalid UTF-8: for a path or a command, which must reach the
// system as it stands or not at all.
std::optional<std::u16string> to_utf16_exact(std::string_view text);

} // namespace zavo::core
