#include "win32_api.h"

#include "record_file_win32.h"
#include "unique_handle.h"
#include "win32_text.h"

#include <algorithm>
#include <cstring>

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

    bool readAt(std::uint64_t offset, std::span<std::byte> out, std::string& error) override {
        std::size_t done = 0;
        while (done < out.size()) {
            OVERLAPPED o = at(offset + done);
            DWORD got = 0;
            const DWORD want = static_cast<DWORD>(std::min(out.size() - done, kChunk));
            if (!ReadFile(file_.get(), out.data() + done, want, &got, &o)) {
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
            if (!WriteFile(file_.get(), data.data() + done, want, &put, &o)) {
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
    UniqueHandle file_;
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
            error = win32ErrorText(code, name);
            return nullptr;
        }
    }
    return std::make_unique<Win32RecordFile>(file);
}

} // namespace zavo::platform
