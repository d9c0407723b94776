#include "SettingsKeys.h"

#include <array>

namespace glintbox {

namespace {

constexpr std::array<const char *, 16> ObsoleteKeys = {
    "ALL", "TXT", "HTM", "BMP", "WMF", "ICO", "INI", "INF",
    "RTF", "CUR", "GIF", "JPG", "BAT", "SYS", "EMF", "Mode",
};

} // namespace

std::span<const char *const> obsoleteSettingKeys()
{
    return ObsoleteKeys;
}

} // namespace glintbox
