#pragma once

#include <QString>
#include <span>

namespace glintbox {

inline const QString SettingsSection = QStringLiteral("Settings");
inline const QString FiltersSection = QStringLiteral("Filters");
// The stored drive and folder, which a file or folder named on the command
// line stands in for at start-up.
inline const QString DriveLetterKey = QStringLiteral("DriveLetter");
inline const QString DrivePathKey = QStringLiteral("DrivePath");

// Keys of an older layout, removed from "Settings" on every save, in order.
// Every current key, with its default, is in the binding table.
std::span<const char *const> obsoleteSettingKeys();

} // namespace glintbox
