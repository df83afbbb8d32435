#include "win32_api.h"

#include "win32_text.h"

#include <cwctype>

namespace zavo::platform {
namespace {

// The message on one line, each insert replaced by `subject`. The inserts are
// kept by FORMAT_MESSAGE_IGNORE_INSERTS: asking the system to fill them would
// read arguments the caller never passed.
std::wstring readable(const std::wstring& message, const std::wstring& subject) {
    std::wstring out;
    for (std::size_t i = 0; i < message.size(); ++i) {
        const wchar_t c = message[i];
        if (c == L'%' && i + 1 < message.size() && message[i + 1] >= L'1' &&
            message[i + 1] <= L'9') {
            ++i;
            while (i + 1 < message.size() && std::iswdigit(message[i + 1]))
                ++i;
            // A printf format may follow: %1!s!.
            if (i + 1 < message.size() && message[i + 1] == L'!') {
                const std::size_t close = message.find(L'!', i + 2);
                if (close != std::wstring::npos)
                    i = close;
            }
            out += subject;
        } else if (std::iswspace(c)) {
            if (!out.empty() && out.back() != L' ')
                out += L' ';
        } else {
            out += c;
        }
    }
    while (!out.empty() && out.back() == L' ')
        out.pop_back();
    return out;
}

} // namespace

std::string win32ErrorText(unsigned long code, const std::string& subject) {
    wchar_t* text = nullptr;
    const DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                       FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, code, 0, reinterpret_cast<LPWSTR>(&text), 0, nullptr);
    const std::wstring message = n && text ? std::wstring(text, n) : std::wstring();
    if (text)
        LocalFree(text);
    const std::wstring line =
        readable(message, subject.empty() ? L"?" : widenUtf8(subject).value_or(L"?"));
    return "error " + std::to_string(code) + (line.empty() ? "" : ": " + narrowUtf8(line));
}

} // namespace zavo::platform
