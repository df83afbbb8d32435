#include "record_file_posix.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace zavo::platform {
namespace {

class PosixRecordFile final : public RecordFile {
public:
    explicit PosixRecordFile(int fd) : fd_(fd) {}
    ~PosixRecordFile() override { ::close(fd_); }
    PosixRecordFile(const PosixRecordFile&) = delete;
    PosixRecordFile& operator=(const PosixRecordFile&) = delete;

    bool readAt(std::uint64_t offset, std::span<std::byte> out, std::string& error) override {
        std::size_t done = 0;
        while (done < out.size()) {
            const ssize_t n = ::pread(fd_, out.data() + done, out.size() - done,
                                      static_cast<off_t>(offset + done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0) {
                error = std::strerror(errno);
                return false;
            }
            if (n == 0)
                break;
            done += static_cast<std::size_t>(n);
        }
        std::memset(out.data() + done, 0, out.size() - done);
        return true;
    }

    bool writeAt(std::uint64_t offset, std::span<const std::byte> data,
                 std::string& error) override {
        std::size_t done = 0;
        while (done < data.size()) {
            const ssize_t n = ::pwrite(fd_, data.data() + done, data.size() - done,
                                       static_cast<off_t>(offset + done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                error = n < 0 ? std::strerror(errno) : "short write";
                return false;
            }
            done += static_cast<std::size_t>(n);
        }
        return true;
    }

private:
    int fd_;
};

} // namespace

std::unique_ptr<RecordFile> openPosixRecordFile(const std::string& name, std::string& error) {
    // Read and write, created when missing; a read-only file still opens for
    // reading, as the classic random-access open falls back to (an immutable
    // file refuses writing with EPERM rather than EACCES). Close-on-exec
    // keeps the handle out of the programs we start while it is open. A named
    // pipe in its place would hold a read-only open until some writer came:
    // without blocking it opens, and reading it at an offset then fails.
    constexpr int kFlags = O_CLOEXEC | O_NONBLOCK;
    int fd = ::open(name.c_str(), O_RDWR | O_CREAT | kFlags, 0666);
    if (fd < 0 && (errno == EACCES || errno == EROFS || errno == EPERM))
        fd = ::open(name.c_str(), O_RDONLY | kFlags);
    if (fd < 0) {
        error = std::strerror(errno);
        return nullptr;
    }
    return std::make_unique<PosixRecordFile>(fd);
}

} // namespace zavo::platform
