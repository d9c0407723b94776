#pragma once

#include "ViewMode.h"
#include "core/MenuCommand.h"

#include <span>

namespace glintbox {

// The commands whose enabled state follows the view mode. Every other command
// stays enabled whatever is shown.
enum class ModeCommand {
    ToolbarPrint,
    ToolbarFont,
    ToolbarFind,
    MnuPrint,
    MnuFontSize,
    MnuEdit0,
    MnuEdit1,
    MnuEdit2,
    MnuSelect,
    MnuSearch,
    MnuEnter,
    MnuKeys0,
    MnuKeys1,
    BtnZoom0,
    BtnZoom1,
    BtnZoom2,
    BtnZoom3,
    BtnZoom4,
    BtnZoom5,
    BtnZoom6,
    BtnZoom7,
    BtnZoom8,
};

enum class CommandControl { ToolbarButton, MenuItem, ZoomButton };

// One row of the command table: which control it is (a toolbar button by its
// key, a zoom button by name and index, a menu item by its command and index,
// -1 when not an array) and whether it is enabled in Text, Image, Movie and
// Launcher view mode.
struct ModeCommandRow {
    ModeCommand command;
    CommandControl control;
    const char *name; // the key or name of a toolbar or zoom button
    MenuCommand menuItem;
    int index;
    bool enabledIn[4];

    bool isEnabledIn(ViewMode mode) const { return enabledIn[int(mode)]; }
};

// The whole table, one row per command, in the order above.
std::span<const ModeCommandRow> modeCommandTable();

bool isCommandEnabled(ModeCommand command, ViewMode mode);

// Movie view mode takes the zoom slider out of the tab order; nothing puts it back.
inline bool takesZoomOutOfTabOrder(ViewMode mode)
{
    return mode == ViewMode::Movie;
}

} // namespace glintbox
