// File-system reading behind the drive, folder and file lists of the
// registration dialog. Paths are absolute and use '/' (Qt's form); nothing
// here changes the process's working directory.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace zavo::ui::folder_lists {

// What ends a registered folder, so that folder and file name joined make a
// path the platform can start.
#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// Root paths of the mounted volumes (drive letters on Windows), without
// duplicates, sorted, always including the volume of the current directory.
QStringList driveRoots();

// Root path of the volume holding `folder`.
QString driveOf(const QString& folder);

// `folder` and its ancestors, from the root down to `folder` itself.
QStringList chain(const QString& folder);

// What a folder list shows for `folder`: its own name, or the root as written
// on this platform.
QString displayName(const QString& folder);

// Names of the visible subfolders, sorted without regard to case; nullopt
// when `folder` cannot be listed.
std::optional<QStringList> subfolders(const QString& folder);

// Names of the visible files matching `pattern` (matched without regard to
// case, as the Windows file list does); nullopt when `folder` cannot be
// listed.
std::optional<QStringList> files(const QString& folder, const QString& pattern);

} // namespace zavo::ui::folder_lists
