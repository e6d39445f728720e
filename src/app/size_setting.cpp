#include "app/size_setting.h"

#include <QSettings>
#include <QStringList>

namespace {
constexpr char kSizeKey[] = "Size";
}  // namespace

std::optional<SavedSize> ParseSizeValue(const QString& value) {
    const QStringList fields = value.split(QLatin1Char('|'));
    if (fields.size() != 3) return std::nullopt;
    int numbers[3] = {};
    for (int i = 0; i < 3; ++i) {
        bool ok = false;
        numbers[i] = fields[i].toInt(&ok, 10);
        if (!ok) return std::nullopt;
    }
    SavedSize size{numbers[0], numbers[1], numbers[2]};
    if (size.width <= 0 || size.height <= 0 || size.treeWidth < 0 || size.treeWidth > size.width) return std::nullopt;
    return size;
}

QString FormatSizeValue(const SavedSize& size) {
    return QStringLiteral("%1|%2|%3").arg(size.width).arg(size.height).arg(size.treeWidth);
}

std::optional<SavedSize> ReadSavedSize() { return ParseSizeValue(UserSettings().value(kSizeKey).toString()); }

void WriteSavedSize(const SavedSize& size) { UserSettings().setValue(kSizeKey, FormatSizeValue(size)); }
