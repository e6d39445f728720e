#pragma once
#include <optional>
#include <QSettings>
#include <QString>

// The per-user settings store of the organisation "Orvanel" (no application name),
// like the per-user key of that name on other systems.
inline QSettings UserSettings() { return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Orvanel")); }

// The window and tree sizes kept between runs: the string value "Size" = "%d|%d|%d"
// (client width, client height, tree width) of the organisation "Orvanel".
struct SavedSize {
    int width = 0;
    int height = 0;
    int treeWidth = 0;
};

// nullopt for an empty or malformed value: not exactly three decimal fields, a
// client size that is not positive, or a tree width outside 0..width.
std::optional<SavedSize> ParseSizeValue(const QString& value);
QString FormatSizeValue(const SavedSize& size);

std::optional<SavedSize> ReadSavedSize();
void WriteSavedSize(const SavedSize& size);
