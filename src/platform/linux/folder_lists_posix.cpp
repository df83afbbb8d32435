#include "core/folder_lists.h"
#include "places.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <iterator>
#include <string_view>
#include <system_error>

#include <fcntl.h>
#include <pwd.h>
#include <unistd.h>

namespace zavo::platform::folder_lists {
namespace fs = std::filesystem;
namespace {

fs::path pathOf(const std::string& utf8) {
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string utf8Of(const fs::path& path) {
    const std::u8string s = path.u8string();
    return std::string(s.begin(), s.end());
}

std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

bool hidden(const fs::directory_entry& entry) {
    return entry.path().filename().native().starts_with('.');
}

bool canList(const fs::path& folder) {
    std::error_code ec;
    if (!fs::is_directory(folder, ec))
        return false;
    // Without search permission the entries' types cannot be told apart.
    return ::access(folder.c_str(), R_OK | X_OK) == 0;
}

// `shownHidden`: the one hidden name listed all the same (empty for none).
template <class Keep>
std::optional<std::vector<std::string>> entries(const std::string& folder, Keep keep,
                                                const std::string& shownHidden = {}) {
    const fs::path dir = pathOf(folder);
    if (!canList(dir))
        return std::nullopt;
    std::error_code ec;
    fs::directory_iterator it(dir, fs::directory_options::skip_permission_denied, ec);
    if (ec)
        return std::nullopt;
    std::vector<std::string> names;
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        if (ec)
            return std::nullopt;
        const std::string name = utf8Of(it->path().filename());
        if ((!hidden(*it) || name == shownHidden) && keep(*it))
            names.push_back(name);
    }
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        const std::string la = lower(a), lb = lower(b);
        return la != lb ? la < lb : a < b;
    });
    return names;
}

// `path` lies strictly below `folder`.
bool below(std::string_view path, std::string_view folder) {
    if (folder == "/")
        return path.size() > 1 && path.starts_with('/');
    return path.size() > folder.size() && path.starts_with(folder) && path[folder.size()] == '/';
}

// A mount table field, its blanks, tabs, newlines and backslashes written as
// "\ooo" octal escapes by the kernel.
std::string unescaped(std::string_view field) {
    std::string out;
    for (std::size_t i = 0; i < field.size(); ++i) {
        const auto octal = [&](std::size_t at) { return field[at] >= '0' && field[at] <= '7'; };
        if (field[i] == '\\' && i + 3 < field.size() && octal(i + 1) && octal(i + 2) &&
            octal(i + 3)) {
            out += char(((field[i + 1] - '0') << 6) | ((field[i + 2] - '0') << 3) |
                        (field[i + 3] - '0'));
            i += 3;
        } else {
            out += field[i];
        }
    }
    return out;
}

// File systems that hold no medium of the user's: the kernel's own, memory
// (tmpfs, ramfs) and packed images (snap's squashfs).
bool mediumType(std::string_view type) {
    static constexpr std::string_view kNotMedia[] = {
        "autofs",     "binfmt_misc", "bpf",      "cgroup",   "cgroup2", "configfs",
        "debugfs",    "devpts",      "devtmpfs", "efivarfs", "fusectl", "hugetlbfs",
        "mqueue",     "nsfs",        "proc",     "pstore",   "ramfs",   "rpc_pipefs",
        "securityfs", "squashfs",    "sysfs",    "tmpfs",    "tracefs"};
    return std::find(std::begin(kNotMedia), std::end(kNotMedia), type) == std::end(kNotMedia);
}

// Where a file manager shows mounted media: what udisks mounts for the user
// (/media/USER, /run/media/USER) and what an administrator mounts in /mnt.
bool mediaFolder(const std::string& mountPoint, const std::string& user) {
    if (mountPoint.find("/.") != std::string::npos)
        return false; // mounted out of sight on purpose
    if (mountPoint == "/mnt" || below(mountPoint, "/mnt"))
        return true;
    return !user.empty() &&
           (below(mountPoint, "/media/" + user) || below(mountPoint, "/run/media/" + user));
}

std::string readWhole(const char* path) {
    std::string text;
    if (FILE* f = std::fopen(path, "re")) {
        char chunk[4096];
        std::size_t n;
        while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0)
            text.append(chunk, n);
        std::fclose(f);
    }
    return text;
}

} // namespace

const Account& account() {
    // Asked at every launch and folder listing; the password database (on a
    // network, it may take its time) is asked once.
    static const Account once = [] {
        Account a;
        std::vector<char> buffer(16384);
        passwd entry{};
        passwd* found = nullptr;
        if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found)
            return a;
        a.user = found->pw_name ? found->pw_name : "";
        const std::string home = found->pw_dir ? found->pw_dir : "";
        std::error_code ec;
        // As the working folder reads: with its links resolved.
        if (home.starts_with('/') && fs::is_directory(pathOf(home), ec))
            a.home = utf8Of(fs::weakly_canonical(pathOf(home), ec));
        if (ec)
            a.home.clear();
        return a;
    }();
    return once;
}

std::vector<std::string> placesOf(std::string_view mountinfo, const Account& account) {
    std::vector<std::string> places;
    if (!account.home.empty())
        places.push_back(account.home);
    if (account.home != "/")
        places.emplace_back("/");
    std::vector<std::string> media;
    std::size_t at = 0;
    while (at < mountinfo.size()) {
        std::size_t end = mountinfo.find('\n', at);
        if (end == std::string_view::npos)
            end = mountinfo.size();
        // id parent major:minor root mount-point options [optional...] - type source ...
        std::vector<std::string_view> fields;
        for (std::size_t f = at; f < end;) {
            const std::size_t blank = std::min(mountinfo.find(' ', f), end);
            if (blank > f)
                fields.push_back(mountinfo.substr(f, blank - f));
            f = blank + 1;
        }
        at = end + 1;
        const auto dash = std::find(fields.begin(), fields.end(), "-");
        if (fields.size() < 5 || dash == fields.end() || fields.end() - dash < 3)
            continue;
        const std::string mountPoint = unescaped(fields[4]);
        const std::string source = unescaped(dash[2]);
        if (mediaFolder(mountPoint, account.user) && mediumType(dash[1]) &&
            !source.starts_with("/dev/loop"))
            media.push_back(mountPoint);
    }
    std::sort(media.begin(), media.end());
    for (const std::string& m : media)
        if (std::find(places.begin(), places.end(), m) == places.end())
            places.push_back(m);
    return places;
}

std::string startFolderOf(const std::string& working, const std::string& home) {
    if (home.empty() || home == "/" || !below(working, home))
        return working;
    return working[home.size() + 1] == '.' ? home : working;
}

std::string startFolder() {
    std::error_code ec;
    return startFolderOf(utf8Of(fs::current_path(ec)), account().home);
}

std::vector<std::string> driveRoots() {
    return placesOf(readWhole("/proc/self/mountinfo"), account());
}

std::string driveOf(const std::string& folder) {
    std::string best = "/";
    std::error_code ec;
    const std::string path = utf8Of(fs::weakly_canonical(pathOf(folder), ec));
    for (const std::string& place : driveRoots())
        if ((path == place || below(path, place)) && place.size() > best.size())
            best = place;
    return best;
}

std::vector<std::string> chain(const std::string& folder) {
    fs::path path = pathOf(folder).lexically_normal();
    if (path.has_relative_path() && !path.has_filename())
        path = path.parent_path(); // a trailing separator
    std::vector<std::string> paths{utf8Of(path)};
    while (path.has_relative_path()) {
        path = path.parent_path();
        paths.insert(paths.begin(), utf8Of(path));
    }
    return paths;
}

std::string displayName(const std::string& folder) {
    fs::path path = pathOf(folder);
    if (!path.has_relative_path())
        return utf8Of(path.make_preferred());
    return utf8Of(path.filename());
}

std::string join(const std::string& folder, const std::string& name) {
    return utf8Of(pathOf(folder) / pathOf(name));
}

std::optional<std::vector<std::string>> subfolders(const std::string& folder) {
    std::error_code ec;
    const std::string& home = account().home;
    const bool inHome = !home.empty() && utf8Of(fs::weakly_canonical(pathOf(folder), ec)) == home;
    return entries(
        folder,
        [](const fs::directory_entry& e) {
            std::error_code ec;
            return e.is_directory(ec);
        },
        inHome ? ".local" : "");
}

std::optional<std::vector<std::string>> programs(const std::string& folder) {
    return entries(folder, [](const fs::directory_entry& e) {
        std::error_code ec;
        // What exec would run for this user; a link counts by its target.
        return e.is_regular_file(ec) &&
               ::faccessat(AT_FDCWD, e.path().c_str(), X_OK, AT_EACCESS) == 0;
    });
}

} // namespace zavo::platform::folder_lists
