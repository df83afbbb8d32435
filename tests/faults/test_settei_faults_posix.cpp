// settei.ini behind a symbolic link, without the rights to read or write it,
// and on a full file system. Rows that need another user or a mount run in a
// child process, which sends its transcript back through a pipe.
#include "fault_walk.h"
#include "support/child_process.h"

#include <doctest/doctest.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <grp.h>
#include <linux/fs.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace zavo::test;

namespace {

constexpr uid_t kNobody = 65534;

// Sets `scene` up in a forked child and walks there, then checks the lines
// it sends back. A scene that cannot be set up here says why; the row is
// then skipped (false).
bool walkInChild(const std::function<std::string()>& scene, const WalkExpectation& shown,
                 const ExpectedFiles& files = {}, bool checkBytes = true) {
    const ChildResult child = runInChild([&] {
        if (const std::string why = scene(); !why.empty())
            return "skip: " + why;
        std::string out;
        for (const std::string& line : standardWalk(files, checkBytes))
            out += line + '\n';
        return out;
    });
    REQUIRE(child.started);
    if (child.out.starts_with("skip: ")) {
        MESSAGE("row skipped: ", child.out.substr(6));
        return false;
    }
    Lines lines;
    for (std::size_t at = 0, end; (end = child.out.find('\n', at)) != std::string::npos;
         at = end + 1)
        lines.push_back(child.out.substr(at, end - at));
    if (!child.exitedCleanly())
        lines.push_back("child ended with status " + std::to_string(child.status));
    checkLines(lines, expectedWalk(shown, checkBytes));
    return true;
}

// Drops root for the unprivileged user; as another user already, stays.
std::string becomeNobody() {
    const bool dropped = ::geteuid() != 0 || (::setgroups(0, nullptr) == 0 &&
                                              ::setgid(kNobody) == 0 && ::setuid(kNobody) == 0);
    return dropped ? "" : std::string("cannot drop root: ") + std::strerror(errno);
}

// Sets or clears the immutable attribute; why it cannot, or "".
std::string setImmutable(const char* path, bool on) {
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    int flags = 0;
    bool done = fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
    done = done && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    const std::string why = done ? "" : std::strerror(errno);
    if (fd >= 0)
        ::close(fd);
    return why;
}

ExpectedFiles unchanged(const std::string& bytes) {
    return {stateOfBytes(bytes), stateOfBytes(bytes)};
}

} // namespace

TEST_CASE("settei.ini as a symbolic link") {
    SUBCASE("dangling: the first open creates the file it names") {
        WalkFolder folder;
        fs::create_symlink("target.ini", kSettei);
        checkWalk(shownFor(""), writesOf(""));
        CHECK(fs::is_symlink(kSettei));
    }
    SUBCASE("a loop") {
        WalkFolder folder;
        fs::create_symlink(kSettei, kSettei);
        checkWalk(unopenableShown(), {});
        CHECK(fs::is_symlink(kSettei));
    }
}

TEST_CASE("settei.ini as a named pipe, or its user may not read or write it") {
    // Nothing can be read or written at an offset of a pipe; above all, no
    // open may wait for a writer that never comes.
    struct Row {
        const char* name;
        bool pipe; // or a file of three records
        fs::perms perms;
        bool asNobody; // the walk as the unprivileged user
        WalkExpectation shown;
    };
    const auto readable = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
    const Row rows[] = {
        {"named pipe", true, fs::perms::all, false, unopenableShown()},
        {"read-only named pipe", true, readable, true, unopenableShown()},
        {"unreadable (write only)", false, fs::perms::owner_write, true, unopenableShown()},
        {"read-only", false, readable, true, unwritable(shownFor(threeRecords()))},
    };
    for (const Row& row : rows) {
        CAPTURE(std::string(row.name));
        WalkFolder folder;
        fs::permissions(folder.path(), fs::perms::all);
        if (row.pipe)
            REQUIRE(::mkfifo(kSettei, 0600) == 0);
        else
            writeFile(kSettei, threeRecords());
        fs::permissions(kSettei, row.perms);
        // The child says after each write that a pipe holds no bytes; a
        // file's the unprivileged user cannot look at: they are compared
        // here once the child is done.
        if (!walkInChild([&] { return row.asNobody ? becomeNobody() : ""; }, row.shown, {},
                         row.pipe))
            continue;
        CHECK(fs::is_fifo(kSettei) == row.pipe);
        const auto kept = row.pipe ? std::nullopt : std::optional(stateOfBytes(threeRecords()));
        CHECK(compare(stateOf(kSettei), kept) == "ok");
    }

    SUBCASE("immutable") {
        WalkFolder folder;
        writeFile(kSettei, threeRecords());
        if (const std::string why = setImmutable(kSettei, true); !why.empty()) {
            MESSAGE("row skipped: the immutable attribute cannot be set here: ", why);
            return;
        }
        // Cleared however the walk ends, or the folder could not be removed.
        struct Restore {
            ~Restore() { setImmutable(kSettei, false); }
        } restore;
        checkWalk(unwritable(shownFor(threeRecords())), unchanged(threeRecords()));
    }
}

TEST_CASE("settei.ini on a full file system") {
    struct Row {
        const char* name;
        std::string before;
        bool writes; // whether the writes find room
    };
    const Row rows[] = {
        // Writing a record past the end of the file needs a new block.
        {"empty", "", false},
        // The records overwrite blocks the file already has.
        {"three records", threeRecords(), true},
    };
    for (const Row& row : rows) {
        CAPTURE(std::string(row.name));
        WalkFolder folder;
        // A small tmpfs over the scratch folder, in a mount namespace of the
        // child's own: it goes away with the child, whatever happens.
        const auto fullFolder = [&]() -> std::string {
            if (::unshare(CLONE_NEWNS) != 0)
                return std::string("no mount namespace: ") + std::strerror(errno);
            if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
                ::mount("zavo-full", folder.path().c_str(), "tmpfs", 0, "size=64k") != 0)
                return std::string("cannot mount a tmpfs: ") + std::strerror(errno);
            fs::current_path(folder.path());
            makeProgram(kProgram);
            writeFile(kSettei, row.before);
            const std::string block(4096, 'x');
            const int fd = ::open("filler", O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
            while (::write(fd, block.data(), block.size()) > 0) {
            }
            const int full = errno;
            ::close(fd);
            return full == ENOSPC ? ""
                                  : std::string("the tmpfs did not fill: ") + std::strerror(full);
        };
        const WalkExpectation shown = shownFor(row.before);
        walkInChild(fullFolder, row.writes ? shown : unwritable(shown),
                    row.writes ? writesOf(row.before) : unchanged(row.before));
    }
}
