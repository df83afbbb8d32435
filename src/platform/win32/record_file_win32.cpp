#include "record_file_win32.h"

#include "win32_api.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace zavo::platform {
namespace {

// One call moves at most this much, so the count fits a DWORD.
constexpr std::size_t kChunk = 1u << 30;

OVERLAPPED at(std::uint64_t offset) {
    OVERLAPPED o{};
    o.Offset = static_cast<DWORD>(offset & 0xFFFFFFFFu);
    o.OffsetHigh = static_cast<DWORD>(offset >> 32);
    return o;
}

class Win32RecordFile final : public RecordFile {
public:
    explicit Win32RecordFile(HANDLE file) : file_(file) {}
    ~Win32RecordFile() override { CloseHandle(file_); }
    Win32RecordFile(const Win32RecordFile&) = delete;
    Win32RecordFile& operator=(const Win32RecordFile&) = delete;

    bool readAt(std::uint64_t offset, std::span<std::byte> out, std::string& error) override {
        std::size_t done = 0;
        while (done < out.size()) {
            OVERLAPPED o = at(offset + done);
            DWORD got = 0;
            const DWORD want = static_cast<DWORD>(std::min(out.size() - done, kChunk));
            if (!ReadFile(file_, out.data() + done, want, &got, &o)) {
                const DWORD code = GetLastError();
                if (code == ERROR_HANDLE_EOF)
                    break;
                error = win32ErrorText(code);
                return false;
            }
            if (got == 0)
                break;
            done += got;
        }
        // Past the end of the file: zero bytes, as a record never written.
        std::memset(out.data() + done, 0, out.size() - done);
        return true;
    }

    bool writeAt(std::uint64_t offset, std::span<const std::byte> data,
                 std::string& error) override {
        std::size_t done = 0;
        while (done < data.size()) {
            OVERLAPPED o = at(offset + done);
            DWORD put = 0;
            const DWORD want = static_cast<DWORD>(std::min(data.size() - done, kChunk));
            if (!WriteFile(file_, data.data() + done, want, &put, &o)) {
                error = win32ErrorText(GetLastError());
                return false;
            }
            if (put == 0) {
                error = "short write";
                return false;
            }
            done += put;
        }
        return true;
    }

private:
    HANDLE file_;
};

} // namespace

std::unique_ptr<RecordFile> openWin32RecordFile(const std::string& name, std::string& error) {
    const std::optional<std::wstring> path = widenUtf8(name);
    if (!path || path->empty()) {
        error = "bad file name";
        return nullptr;
    }
    // Not inheritable (no security attributes): the programs we start never
    // get the handle.
    constexpr DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE;
    HANDLE file = CreateFileW(path->c_str(), GENERIC_READ | GENERIC_WRITE, share, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        DWORD code = GetLastError();
        if (code == ERROR_ACCESS_DENIED || code == ERROR_WRITE_PROTECT) {
            file = CreateFileW(path->c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
            if (file == INVALID_HANDLE_VALUE)
                code = GetLastError();
        }
        if (file == INVALID_HANDLE_VALUE) {
            error = win32ErrorText(code);
            return nullptr;
        }
    }
    return std::make_unique<Win32RecordFile>(file);
}

std::optional<std::wstring> widenUtf8(const std::string& utf8) {
    if (utf8.empty())
        return std::wstring();
    if (utf8.size() > static_cast<std::size_t>(std::numeric_limits<int>::max()))
        return std::nullopt;
    const int inLen = static_cast<int>(utf8.size());
    const int n =
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), inLen, nullptr, 0);
    if (n <= 0)
        return std::nullopt;
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    if (MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), inLen, out.data(), n) != n)
        return std::nullopt;
    return out;
}

std::string narrowUtf8(const std::wstring& wide) {
    if (wide.empty() || wide.size() > static_cast<std::size_t>(std::numeric_limits<int>::max()))
        return {};
    const int inLen = static_cast<int>(wide.size());
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), inLen, nullptr, 0, nullptr, nullptr);
    if (n <= 0)
        return {};
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), inLen, out.data(), n, nullptr, nullptr);
    return out;
}

std::string win32ErrorText(unsigned long code) {
    wchar_t* text = nullptr;
    const DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                       FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, code, 0, reinterpret_cast<LPWSTR>(&text), 0, nullptr);
    std::wstring message = n && text ? std::wstring(text, n) : std::wstring();
    if (text)
        LocalFree(text);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r'))
        message.pop_back();
    return "error " + std::to_string(code) + (message.empty() ? "" : ": " + narrowUtf8(message));
}

} // namespace zavo::platform
