#include "folder_lists.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

#include <algorithm>

namespace zavo::ui::folder_lists {
namespace {

bool canList(const QString& folder) {
    const QFileInfo info(folder);
    if (!info.isDir() || !QDir(folder).isReadable())
        return false;
#ifndef _WIN32
    // Without search permission the entries' types cannot be told apart.
    if (!info.isExecutable())
        return false;
#endif
    return true;
}

std::optional<QStringList> entries(const QString& folder, const QStringList& nameFilters,
                                   QDir::Filters filters) {
    if (!canList(folder))
        return std::nullopt;
    // Name filters of QDir match without regard to case unless told otherwise.
    return QDir(folder).entryList(nameFilters, filters | QDir::NoDotAndDotDot,
                                  QDir::Name | QDir::IgnoreCase | QDir::LocaleAware);
}

} // namespace

QStringList driveRoots() {
    QStringList roots;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes())
        if (volume.isValid() && !volume.rootPath().isEmpty())
            roots << volume.rootPath();
    roots << driveOf(QDir::currentPath());
    roots.removeDuplicates();
    std::sort(roots.begin(), roots.end());
    return roots;
}

QString driveOf(const QString& folder) {
    const QStorageInfo volume(folder);
    if (volume.isValid() && !volume.rootPath().isEmpty())
        return volume.rootPath();
    return chain(folder).value(0, QDir::rootPath());
}

QStringList chain(const QString& folder) {
    QString path = QDir::cleanPath(QDir(folder).absolutePath());
    QStringList paths{path};
    while (!QDir(path).isRoot()) {
        const QString parent = QFileInfo(path).path();
        if (parent == path)
            break;
        path = parent;
        paths.prepend(path);
    }
    return paths;
}

QString displayName(const QString& folder) {
    if (QDir(folder).isRoot())
        return QDir::toNativeSeparators(folder);
    return QFileInfo(folder).fileName();
}

std::optional<QStringList> subfolders(const QString& folder) {
    return entries(folder, {}, QDir::Dirs);
}

std::optional<QStringList> files(const QString& folder, const QString& pattern) {
    return entries(folder, {pattern}, QDir::Files);
}

} // namespace zavo::ui::folder_lists
