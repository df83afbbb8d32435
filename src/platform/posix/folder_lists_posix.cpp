#include "platform/folder_lists.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <iterator>
#include <string_view>
#include <system_error>

#include <mntent.h>
#include <sys/stat.h>
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

template <class Keep>
std::optional<std::vector<std::string>> entries(const std::string& folder, Keep keep) {
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
        if (!hidden(*it) && keep(*it))
            names.push_back(utf8Of(it->path().filename()));
    }
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        const std::string la = lower(a), lb = lower(b);
        return la != lb ? la < lb : a < b;
    });
    return names;
}

// The kernel's own file systems hold no programs to register.
bool systemMount(const mntent& m) {
    static constexpr std::string_view kTypes[] = {
        "autofs",  "binfmt_misc", "bpf",      "cgroup",     "cgroup2",   "configfs",
        "debugfs", "devpts",      "devtmpfs", "fusectl",    "hugetlbfs", "mqueue",
        "nsfs",    "proc",        "pstore",   "securityfs", "sysfs",     "tracefs"};
    const std::string_view dir = m.mnt_dir;
    for (const std::string_view under : {"/proc", "/sys", "/dev", "/run"})
        if (dir == under || dir.starts_with(std::string(under) + "/"))
            return true;
    return std::find(std::begin(kTypes), std::end(kTypes), std::string_view(m.mnt_type)) !=
           std::end(kTypes);
}

} // namespace

std::string currentFolder() {
    std::error_code ec;
    return utf8Of(fs::current_path(ec));
}

std::vector<std::string> driveRoots() {
    std::vector<std::string> roots;
    std::error_code ec;
    if (FILE* mounts = ::setmntent("/proc/self/mounts", "r")) {
        while (const mntent* m = ::getmntent(mounts))
            if (m->mnt_dir && m->mnt_dir[0] == '/' && !systemMount(*m) &&
                fs::is_directory(m->mnt_dir, ec)) // not a file mounted over a file
                roots.emplace_back(m->mnt_dir);
        ::endmntent(mounts);
    }
    roots.push_back(driveOf(currentFolder()));
    std::sort(roots.begin(), roots.end());
    roots.erase(std::unique(roots.begin(), roots.end()), roots.end());
    return roots;
}

std::string driveOf(const std::string& folder) {
    // The deepest mount point that holds the folder.
    std::string best = "/";
    const std::string path = utf8Of(fs::weakly_canonical(pathOf(folder)));
    if (FILE* mounts = ::setmntent("/proc/self/mounts", "r")) {
        while (const mntent* m = ::getmntent(mounts)) {
            const std::string dir = m->mnt_dir ? m->mnt_dir : "";
            const bool holds = dir == "/" || path == dir || path.starts_with(dir + "/");
            if (holds && dir.size() > best.size())
                best = dir;
        }
        ::endmntent(mounts);
    }
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
    return entries(folder, [](const fs::directory_entry& e) {
        std::error_code ec;
        return e.is_directory(ec);
    });
}

std::optional<std::vector<std::string>> files(const std::string& folder,
                                              const std::string& extension) {
    const std::string wanted = lower(extension);
    return entries(folder, [&](const fs::directory_entry& e) {
        std::error_code ec;
        return e.is_regular_file(ec) && lower(utf8Of(e.path().extension())) == wanted;
    });
}

} // namespace zavo::platform::folder_lists
