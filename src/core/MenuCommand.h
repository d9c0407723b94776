#pragma once

#include <QList>
#include <QString>
#include <array>

class QAction;

namespace glintbox {

// The commands of the main window's menu bar, one per menu item or item array,
// named as the items are. The items of an array are told apart by an index.
enum class MenuCommand {
    mnuNewFile,
    mnuDeleteFile,
    mnuFontSize,
    mnuPrint,
    mnuExit,
    mnuEdit,
    mnuSelect,
    mnuSearch,
    mnuControl,
    mnuKeys,
    mnuRefresh,
    mnuFindFile,
    mnuEnter,
    mnuFilter,
    mnuFileSize,
    mnuWebMode,
    mnuWordWrap,
    mnuBackColour,
    mnuHelp,
    mnuBug,
    mnuGlintbox,
};

constexpr int MenuCommandCount = int(MenuCommand::mnuGlintbox) + 1;

// The item's name, "mnuPrint"; an item of an array has its index appended,
// "mnuEdit0".
QString menuItemName(MenuCommand command, int index = -1);

// The menu items by command: one item for a plain command, one per index for
// an item array (indices from 0, -1 standing for "not an array").
class MenuItems {
public:
    void add(MenuCommand command, int index, QAction *action);

    bool isArray(MenuCommand command) const { return m_isArray[size_t(command)]; }
    // A command or index the menu bar does not have is a programming error:
    // throws std::logic_error naming it.
    QAction *item(MenuCommand command, int index = -1) const;

private:
    std::array<QList<QAction *>, MenuCommandCount> m_items;
    std::array<bool, MenuCommandCount> m_isArray{};
};

} // namespace glintbox
