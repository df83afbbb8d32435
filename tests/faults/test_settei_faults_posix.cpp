// settei.ini behind a symbolic link, without the rights to read or write it,
// and on a full file system. Rows that need another user or a mount run in a
// child process, which sends its transcript back through a pipe.
#include "fault_walk.h"
#include "support/child_process.h"

#include <doctest/doctest.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <grp.h>
#include <linux/fs.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace zavo::test;
namespace fs = std::filesystem;

namespace {

using Lines = std::vector<std::string>;
constexpr uid_t kNobody = 65534;

void checkLines(const Lines& found, const Lines& expected) {
    CHECK(found.size() == expected.size());
    for (std::size_t i = 0; i < std::min(found.size(), expected.size()); ++i)
        CHECK(found[i] == expected[i]);
}

// Runs `body` in a forked child and returns its lines; a child that cannot
// set its scene up answers with the one line "skip: <why>".
Lines inChild(const std::function<Lines()>& body) {
    const ChildResult child = runInChild([&] {
        std::string out;
        for (const std::string& line : body())
            out += line + '\n';
        return out;
    });
    REQUIRE(child.started);
    Lines lines;
    for (std::size_t at = 0, end; (end = child.out.find('\n', at)) != std::string::npos;
         at = end + 1)
        lines.push_back(child.out.substr(at, end - at));
    if (!child.exitedCleanly())
        lines.push_back("child ended with status " + std::to_string(child.status));
    return lines;
}

bool skipped(const Lines& lines) {
    if (lines.size() != 1 || lines[0].rfind("skip: ", 0) != 0)
        return false;
    MESSAGE("row skipped: ", lines[0].substr(6));
    return true;
}

// Drops root for the unprivileged user; as another user already, stays.
std::string becomeNobody() {
    if (::geteuid() != 0)
        return "";
    if (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)
        return std::strerror(errno);
    return "";
}

// The immutable attribute, set for as long as this lives.
class Immutable {
public:
    explicit Immutable(const char* path) : fd_(::open(path, O_RDONLY | O_CLOEXEC)) {
        int flags = 0;
        if (fd_ < 0 || ::ioctl(fd_, FS_IOC_GETFLAGS, &flags) != 0) {
            error_ = std::strerror(errno);
            return;
        }
        flags |= FS_IMMUTABLE_FL;
        if (::ioctl(fd_, FS_IOC_SETFLAGS, &flags) != 0)
            error_ = std::strerror(errno);
        else
            set_ = true;
    }
    ~Immutable() {
        int flags = 0;
        if (set_ && ::ioctl(fd_, FS_IOC_GETFLAGS, &flags) == 0) {
            flags &= ~FS_IMMUTABLE_FL;
            ::ioctl(fd_, FS_IOC_SETFLAGS, &flags);
        }
        if (fd_ >= 0)
            ::close(fd_);
    }
    Immutable(const Immutable&) = delete;
    Immutable& operator=(const Immutable&) = delete;
    const std::string& error() const { return error_; }

private:
    int fd_;
    bool set_ = false;
    std::string error_;
};

WalkExpectation readOnlyShown() {
    WalkExpectation e = threeRecordsShown();
    e.registers = e.resets = false;
    return e;
}

ExpectedFiles unchanged(const std::string& bytes) {
    return {stateOfBytes(bytes), stateOfBytes(bytes)};
}

} // namespace

TEST_CASE("settei.ini as a symbolic link") {
    SUBCASE("dangling: the first open creates the file it names") {
        WalkFolder folder;
        fs::create_symlink("target.ini", kSettei);
        checkLines(standardWalk(writesOf("", folder)), expectedWalk(unregisteredShown()));
        CHECK(fs::is_symlink(kSettei));
    }
    SUBCASE("a loop") {
        WalkFolder folder;
        fs::create_symlink(kSettei, kSettei);
        checkLines(standardWalk({}), expectedWalk(unopenableShown()));
        CHECK(fs::is_symlink(kSettei));
    }
}

TEST_CASE("settei.ini as a named pipe") {
    // Nothing can be read or written at an offset of a pipe; above all, no
    // open may wait for a writer that never comes.
    for (const bool readOnly : {false, true}) {
        CAPTURE(readOnly);
        WalkFolder folder;
        fs::permissions(folder.path(), fs::perms::all);
        REQUIRE(::mkfifo(kSettei, readOnly ? 0444 : 0666) == 0);
        const Lines lines = inChild([&] {
            if (const std::string error = readOnly ? becomeNobody() : ""; !error.empty())
                return Lines{"skip: cannot drop root: " + error};
            return standardWalk({});
        });
        if (skipped(lines))
            continue;
        checkLines(lines, expectedWalk(unopenableShown()));
        CHECK(fs::is_fifo(kSettei));
    }
}

TEST_CASE("settei.ini its user may not read or write") {
    struct Row {
        const char* name;
        fs::perms perms;
        WalkExpectation shown;
    };
    const Row rows[] = {
        {"unreadable (write only)", fs::perms::owner_write, unopenableShown()},
        {"read-only", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read,
         readOnlyShown()},
    };
    for (const Row& row : rows) {
        CAPTURE(std::string(row.name));
        WalkFolder folder;
        fs::permissions(folder.path(), fs::perms::all);
        writeFile(kSettei, threeRecords());
        fs::permissions(kSettei, row.perms);
        // The unprivileged user cannot look at the bytes: they are compared
        // here once the child is done.
        const Lines lines = inChild([&] {
            if (const std::string error = becomeNobody(); !error.empty())
                return Lines{"skip: cannot drop root: " + error};
            return standardWalk({}, false);
        });
        if (skipped(lines))
            continue;
        checkLines(lines, expectedWalk(row.shown, false));
        CHECK(compare(stateOf(kSettei), stateOfBytes(threeRecords())) == "ok");
    }

    SUBCASE("immutable") {
        WalkFolder folder;
        writeFile(kSettei, threeRecords());
        const Immutable immutable(kSettei);
        if (!immutable.error().empty()) {
            MESSAGE("row skipped: the immutable attribute cannot be set here: ", immutable.error());
            return;
        }
        checkLines(standardWalk(unchanged(threeRecords())), expectedWalk(readOnlyShown()));
    }
}

TEST_CASE("settei.ini on a full file system") {
    struct Row {
        const char* name;
        std::string before;
        WalkExpectation shown;
        bool writes; // whether the writes find room
    };
    WalkExpectation unregisteredNoRoom = unregisteredShown();
    unregisteredNoRoom.registers = unregisteredNoRoom.resets = false;
    const Row rows[] = {
        // Writing a record past the end of the file needs a new block.
        {"empty", "", unregisteredNoRoom, false},
        // The records overwrite blocks the file already has.
        {"three records", threeRecords(), threeRecordsShown(), true},
    };
    for (const Row& row : rows) {
        CAPTURE(std::string(row.name));
        WalkFolder folder;
        const ExpectedFiles files =
            row.writes ? writesOf(row.before, folder) : unchanged(row.before);
        // A small tmpfs over the scratch folder, in a mount namespace of the
        // child's own: it goes away with the child, whatever happens.
        const Lines lines = inChild([&] {
            const std::string where = folder.path().string();
            if (::unshare(CLONE_NEWNS) != 0)
                return Lines{std::string("skip: no mount namespace: ") + std::strerror(errno)};
            if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
                ::mount("zavo-full", where.c_str(), "tmpfs", 0, "size=64k") != 0)
                return Lines{std::string("skip: cannot mount a tmpfs: ") + std::strerror(errno)};
            fs::current_path(where);
            makeProgram(kProgram);
            writeFile(kSettei, row.before);
            const std::string block(4096, 'x');
            const int fd = ::open("filler", O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
            while (::write(fd, block.data(), block.size()) > 0) {
            }
            const int full = errno;
            ::close(fd);
            if (full != ENOSPC)
                return Lines{std::string("skip: the tmpfs did not fill: ") + std::strerror(full)};
            return standardWalk(files);
        });
        if (skipped(lines))
            continue;
        checkLines(lines, expectedWalk(row.shown));
    }
}
