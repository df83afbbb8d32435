// The folder lists on Windows, straight from the Win32 file calls. MinGW's
// std::filesystem would link the whole of the C++ locale library (over 800 KB
// of the program) for its path conversions.
#include "win32_api.h"

#include "core/folder_lists.h"
#include "win32_text.h"

#include <algorithm>
#include <cctype>

namespace zavo::platform::folder_lists {
namespace {

bool isSeparator(char c) {
    return c == '\\' || c == '/';
}

// "C:\" for "C:\a\b", "\\server\share\" for "\\server\share\a", "\" for "\a";
// empty for a relative path.
std::string rootOf(const std::string& path) {
    if (path.size() >= 2 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':')
        return path.substr(0, 2) + "\\";
    if (path.size() >= 2 && isSeparator(path[0]) && isSeparator(path[1])) {
        std::size_t end = 2;
        for (int part = 0; part < 2 && end < path.size(); ++part) {
            while (end < path.size() && !isSeparator(path[end]))
                ++end;
            if (part == 0)
                ++end;
        }
        std::string root = path.substr(0, std::min(end, path.size()));
        std::replace(root.begin(), root.end(), '/', '\\');
        return root + "\\";
    }
    if (!path.empty() && isSeparator(path[0]))
        return "\\";
    return {};
}

// The names below the root, without "." and with ".." taken back.
std::vector<std::string> namesBelowRoot(const std::string& path, const std::string& root) {
    std::vector<std::string> names;
    std::size_t at = std::min(root.size(), path.size());
    while (at < path.size()) {
        std::size_t end = at;
        while (end < path.size() && !isSeparator(path[end]))
            ++end;
        const std::string name = path.substr(at, end - at);
        if (name == "..") {
            if (!names.empty())
                names.pop_back();
        } else if (!name.empty() && name != ".") {
            names.push_back(name);
        }
        at = end + 1;
    }
    return names;
}

std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

std::string extensionOf(const std::string& name) {
    const std::size_t dot = name.rfind('.');
    // A name that starts with its only dot has no extension.
    return dot == std::string::npos || dot == 0 ? std::string() : name.substr(dot);
}

template <class Keep>
std::optional<std::vector<std::string>> entries(const std::string& folder, Keep keep) {
    const std::optional<std::wstring> wide = widenUtf8(join(folder, "*"));
    if (!wide)
        return std::nullopt;
    const std::optional<std::wstring> dir = widenUtf8(folder);
    const DWORD attributes = dir ? GetFileAttributesW(dir->c_str()) : INVALID_FILE_ATTRIBUTES;
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return std::nullopt;
    std::vector<std::string> names;
    WIN32_FIND_DATAW found{};
    const HANDLE search =
        FindFirstFileExW(wide->c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE) {
        // An empty drive root has not even "." and "..".
        if (GetLastError() == ERROR_FILE_NOT_FOUND)
            return names;
        return std::nullopt;
    }
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L".." || (found.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN))
            continue;
        const std::string utf8 = narrowUtf8(name);
        if (keep((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0, utf8))
            names.push_back(utf8);
    } while (FindNextFileW(search, &found));
    const bool complete = GetLastError() == ERROR_NO_MORE_FILES;
    FindClose(search);
    if (!complete)
        return std::nullopt;
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        const std::string la = lower(a), lb = lower(b);
        return la != lb ? la < lb : a < b;
    });
    return names;
}

} // namespace

std::string startFolder() {
    const DWORD needed = GetCurrentDirectoryW(0, nullptr);
    if (needed == 0)
        return {};
    std::wstring folder(needed, L'\0');
    folder.resize(GetCurrentDirectoryW(needed, folder.data()));
    return narrowUtf8(folder);
}

std::vector<std::string> driveRoots() {
    std::vector<std::string> roots;
    const DWORD drives = GetLogicalDrives();
    for (int i = 0; i < 26; ++i)
        if (drives & (1u << i))
            roots.push_back(std::string(1, char('A' + i)) + ":\\");
    roots.push_back(driveOf(startFolder()));
    std::sort(roots.begin(), roots.end());
    roots.erase(std::unique(roots.begin(), roots.end()), roots.end());
    return roots;
}

std::string driveOf(const std::string& folder) {
    return rootOf(folder);
}

std::vector<std::string> chain(const std::string& folder) {
    const std::string root = rootOf(folder);
    std::vector<std::string> paths;
    if (!root.empty())
        paths.push_back(root);
    std::string path = root;
    for (const std::string& name : namesBelowRoot(folder, root)) {
        path = path.empty() ? name : join(path, name);
        paths.push_back(path);
    }
    return paths;
}

std::string displayName(const std::string& folder) {
    const std::string root = rootOf(folder);
    const std::vector<std::string> names = namesBelowRoot(folder, root);
    return names.empty() ? root : names.back();
}

std::string join(const std::string& folder, const std::string& name) {
    if (folder.empty() || !rootOf(name).empty())
        return name;
    return isSeparator(folder.back()) ? folder + name : folder + '\\' + name;
}

std::optional<std::vector<std::string>> subfolders(const std::string& folder) {
    return entries(folder, [](bool directory, const std::string&) { return directory; });
}

std::optional<std::vector<std::string>> programs(const std::string& folder) {
    return entries(folder, [](bool directory, const std::string& name) {
        return !directory && lower(extensionOf(name)) == ".exe";
    });
}

} // namespace zavo::platform::folder_lists
