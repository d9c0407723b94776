#pragma once

#include <QString>
#include <span>

namespace glintbox {

// Every key of the section "Settings", in the order they are written (the
// "Filters" section is written between Controls and Height; its keys come
// from the file type table).
enum class SettingKey {
    DriveLetter,
    DrivePath,
    MaxFileSize,
    TextColour,
    PictureColour,
    LaunchColour,
    Controls,
    Height,
    Width,
    State,
    Top,
    Left,
    RTFmode,
    HTMLmode,
    FontFace,
    FontSize,
    FontBold,
    FontItalic,
    FontUline,
    FontStrike,
    FontColour,
    WebMode,
    WordWrap,
};

struct SettingKeyInfo {
    SettingKey key;
    const char *name;
    const char *defaultText;
};

// The one table of stored keys and their defaults, in writing order.
std::span<const SettingKeyInfo> settingKeys();
const SettingKeyInfo &settingKeyInfo(SettingKey key);

// Keys of an older layout, removed from "Settings" on every save, in order.
std::span<const char *const> obsoleteSettingKeys();

inline const QString SettingsSection = QStringLiteral("Settings");
inline const QString FiltersSection = QStringLiteral("Filters");

// Written after this key: the whole "Filters" section.
constexpr SettingKey LastKeyBeforeFilters = SettingKey::Controls;

} // namespace glintbox
