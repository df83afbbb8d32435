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

std::string currentFolder();

// Root paths of the mounted volumes (drive letters on Windows), without
// duplicates, sorted, always including the volume of the current folder.
std::vector<std::string> driveRoots();

// Root path of the volume holding `folder`.
std::string driveOf(const std::string& folder);

// `folder` and its ancestors, from the root down to `folder` itself.
std::vector<std::string> chain(const std::string& folder);

// What a folder list shows for `folder`: its own name, or the root as written.
std::string displayName(const std::string& folder);

// `name` inside `folder`.
std::string join(const std::string& folder, const std::string& name);

// Names of the visible subfolders, sorted without regard to case; nullopt
// when `folder` cannot be listed.
std::optional<std::vector<std::string>> subfolders(const std::string& folder);

// Names of the visible files whose extension is `extension` (".exe", matched
// without regard to case, as the Windows file list does); nullopt when
// `folder` cannot be listed.
std::optional<std::vector<std::string>> files(const std::string& folder,
                                              const std::string& extension);

} // namespace zavo::platform::folder_lists
