#pragma once
#include <QString>
#include <QStringList>

// The files opened last (newest first, at most kMaxRecentFiles) and the folder the
// file dialog was last left in, kept in the per-user settings beside the window size.
inline constexpr int kMaxRecentFiles = 10;
QStringList RecentFiles();
void RememberRecentFile(const QString& path);
QString LastOpenFolder();
void RememberOpenFolder(const QString& folder);
