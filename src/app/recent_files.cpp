#include "app/recent_files.h"

#include <QFileInfo>

#include "app/size_setting.h"

namespace {
constexpr char kRecentKey[] = "RecentFiles";
constexpr char kFolderKey[] = "OpenFolder";
}  // namespace

QStringList RecentFiles() { return UserSettings().value(kRecentKey).toStringList(); }

void RememberRecentFile(const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList files = RecentFiles();
    files.removeAll(absolute);
    files.prepend(absolute);
    while (files.size() > kMaxRecentFiles) files.removeLast();
    UserSettings().setValue(kRecentKey, files);
}

QString LastOpenFolder() { return UserSettings().value(kFolderKey).toString(); }

void RememberOpenFolder(const QString& folder) { UserSettings().setValue(kFolderKey, folder); }
