// File-system reading behind the drive, folder and file lists of the
// registration dialog. Paths are absolute UTF-8 in the platform's own form
// ('\' on Windows, '/' elsewhere); nothing here changes the working folder.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace zavo::platform::folder_lists {

// What ends a registered folder, so that folder and file name joined make a
// path the platform can start.
#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// The folder the lists open on, and the one started programs begin in: the
// working folder; on Linux the home folder instead when the working folder
// lies in a hidden folder of it (a start from the desktop's menu, which runs
// the launcher in its configuration folder).
std::string startFolder();

// What the drive list offers. Windows: the drive roots, sorted, always
// including the drive of the start folder. Linux: the home folder, the root
// and the mounted media a file manager shows, each once.
std::vector<std::string> driveRoots();

// The entry of driveRoots() holding `folder`: its drive root on Windows; on
// Linux the deepest place that holds it (the root at least).
std::string driveOf(const std::string& folder);

// `folder` and its ancestors, from the root down to `folder` itself.
std::vector<std::string> chain(const std::string& folder);

// What a folder list shows for `folder`: its own name, or the root as written.
std::string displayName(const std::string& folder);

// `name` inside `folder`.
std::string join(const std::string& folder, const std::string& name);

// Names of the visible subfolders, sorted without regard to case; nullopt
// when `folder` cannot be listed. On Linux the home folder's `.local` is
// listed as well: it leads to ~/.local/bin, where a user's own programs live.
std::optional<std::vector<std::string>> subfolders(const std::string& folder);

// Names of the programs in `folder` a user can register, sorted as above;
// nullopt when `folder` cannot be listed. Windows: the visible "*.exe" files
// (matched without regard to case). Linux: the visible regular files the user
// may execute, symbolic links to them included.
std::optional<std::vector<std::string>> programs(const std::string& folder);

} // namespace zavo::platform::folder_lists
