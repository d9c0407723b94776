#include "ModeCommands.h"

namespace glintbox {

namespace {

constexpr bool E = true;
constexpr bool D = false;

using C = ModeCommand;
using K = CommandControl;
using M = MenuCommand;

// Enabled in: {Text, Image, Movie, Launcher}.
constexpr ModeCommandRow table[] = {
    {C::ToolbarPrint, K::ToolbarButton, "Print", {}, -1, {E, E, D, D}},
    {C::ToolbarFont, K::ToolbarButton, "Font", {}, -1, {E, D, D, D}},
    {C::ToolbarFind, K::ToolbarButton, "Find", {}, -1, {E, D, D, D}},
    {C::MnuPrint, K::MenuItem, nullptr, M::mnuPrint, -1, {E, E, D, D}},
    {C::MnuFontSize, K::MenuItem, nullptr, M::mnuFontSize, -1, {E, D, D, D}},
    {C::MnuEdit0, K::MenuItem, nullptr, M::mnuEdit, 0, {E, D, D, D}},
    {C::MnuEdit1, K::MenuItem, nullptr, M::mnuEdit, 1, {E, D, D, D}},
    {C::MnuEdit2, K::MenuItem, nullptr, M::mnuEdit, 2, {E, D, D, D}},
    {C::MnuSelect, K::MenuItem, nullptr, M::mnuSelect, -1, {E, D, D, D}},
    {C::MnuSearch, K::MenuItem, nullptr, M::mnuSearch, -1, {E, D, D, D}},
    {C::MnuEnter, K::MenuItem, nullptr, M::mnuEnter, -1, {D, D, D, E}},
    {C::MnuKeys0, K::MenuItem, nullptr, M::mnuKeys, 0, {D, E, D, D}},
    {C::MnuKeys1, K::MenuItem, nullptr, M::mnuKeys, 1, {D, E, D, D}},
    {C::BtnZoom0, K::ZoomButton, "btnZoom", {}, 0, {D, E, D, D}},
    {C::BtnZoom1, K::ZoomButton, "btnZoom", {}, 1, {D, E, D, D}},
    {C::BtnZoom2, K::ZoomButton, "btnZoom", {}, 2, {D, E, D, D}},
    // The presets 100% to 400% also size the movie window.
    {C::BtnZoom3, K::ZoomButton, "btnZoom", {}, 3, {D, E, E, D}},
    {C::BtnZoom4, K::ZoomButton, "btnZoom", {}, 4, {D, E, E, D}},
    {C::BtnZoom5, K::ZoomButton, "btnZoom", {}, 5, {D, E, E, D}},
    {C::BtnZoom6, K::ZoomButton, "btnZoom", {}, 6, {D, E, E, D}},
    {C::BtnZoom7, K::ZoomButton, "btnZoom", {}, 7, {D, E, D, D}},
    {C::BtnZoom8, K::ZoomButton, "btnZoom", {}, 8, {D, E, D, D}},
};

constexpr bool tableFollowsEnumOrder()
{
    for (int i = 0; i < int(std::size(table)); ++i) {
        if (int(table[i].command) != i)
            return false;
    }
    return true;
}
static_assert(tableFollowsEnumOrder(), "rows must be in ModeCommand order");

} // namespace

std::span<const ModeCommandRow> modeCommandTable()
{
    return table;
}

bool isCommandEnabled(ModeCommand command, ViewMode mode)
{
    return table[int(command)].isEnabledIn(mode);
}

} // namespace glintbox
