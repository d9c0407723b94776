#include "SettingsKeys.h"

#include <array>

namespace glintbox {

namespace {

using K = SettingKey;

// Defaults are the stored text forms: colours as signed decimal (0x80000005 is
// -2147483643, 0x808080 is 8421504), 99999 meaning "no position stored".
constexpr std::array<SettingKeyInfo, 23> Keys = {{
    {K::DriveLetter, "DriveLetter", "C"},
    {K::DrivePath, "DrivePath", ""},
    {K::MaxFileSize, "MaxFileSize", "20480000"},
    {K::TextColour, "TextColour", "-2147483643"},
    {K::PictureColour, "PictureColour", "8421504"},
    {K::LaunchColour, "LaunchColour", "8421504"},
    {K::Controls, "Controls", "Side"},
    {K::Height, "Height", "6500"},
    {K::Width, "Width", "9000"},
    {K::State, "State", "0"},
    {K::Top, "Top", "99999"},
    {K::Left, "Left", "99999"},
    {K::RTFmode, "RTFmode", "1"},
    {K::HTMLmode, "HTMLmode", "1"},
    {K::FontFace, "FontFace", "Tahoma"},
    {K::FontSize, "FontSize", "8"},
    {K::FontBold, "FontBold", "False"},
    {K::FontItalic, "FontItalic", "False"},
    {K::FontUline, "FontUline", "False"},
    {K::FontStrike, "FontStrike", "False"},
    {K::FontColour, "FontColour", "0"},
    {K::WebMode, "WebMode", "False"},
    {K::WordWrap, "WordWrap", "False"},
}};

constexpr std::array<const char *, 16> ObsoleteKeys = {
    "ALL", "TXT", "HTM", "BMP", "WMF", "ICO", "INI", "INF",
    "RTF", "CUR", "GIF", "JPG", "BAT", "SYS", "EMF", "Mode",
};

} // namespace

std::span<const SettingKeyInfo> settingKeys()
{
    return Keys;
}

const SettingKeyInfo &settingKeyInfo(SettingKey key)
{
    return Keys[std::size_t(key)];
}

std::span<const char *const> obsoleteSettingKeys()
{
    return ObsoleteKeys;
}

} // namespace glintbox
