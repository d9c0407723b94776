#include "MenuCommand.h"

#include <stdexcept>
#include <utility>

namespace glintbox {

namespace {

using M = MenuCommand;

constexpr std::pair<MenuCommand, const char *> Names[] = {
    {M::mnuNewFile, "mnuNewFile"},   {M::mnuDeleteFile, "mnuDeleteFile"},
    {M::mnuFontSize, "mnuFontSize"}, {M::mnuPrint, "mnuPrint"},
    {M::mnuExit, "mnuExit"},         {M::mnuEdit, "mnuEdit"},
    {M::mnuSelect, "mnuSelect"},     {M::mnuSearch, "mnuSearch"},
    {M::mnuControl, "mnuControl"},   {M::mnuKeys, "mnuKeys"},
    {M::mnuRefresh, "mnuRefresh"},   {M::mnuFindFile, "mnuFindFile"},
    {M::mnuEnter, "mnuEnter"},       {M::mnuFilter, "mnuFilter"},
    {M::mnuFileSize, "mnuFileSize"}, {M::mnuWebMode, "mnuWebMode"},
    {M::mnuWordWrap, "mnuWordWrap"}, {M::mnuBackColour, "mnuBackColour"},
    {M::mnuHelp, "mnuHelp"},         {M::mnuBug, "mnuBug"},
    {M::mnuGlintbox, "mnuGlintbox"},
};

constexpr bool namesFollowEnumOrder()
{
    if (std::size(Names) != MenuCommandCount)
        return false;
    for (int i = 0; i < MenuCommandCount; ++i) {
        if (int(Names[i].first) != i)
            return false;
    }
    return true;
}
static_assert(namesFollowEnumOrder(), "one name per command, in MenuCommand order");

} // namespace

QString menuItemName(MenuCommand command, int index)
{
    const QString name = QString::fromLatin1(Names[size_t(command)].second);
    return index < 0 ? name : name + QString::number(index);
}

void MenuItems::add(MenuCommand command, int index, QAction *action)
{
    QList<QAction *> &items = m_items[size_t(command)];
    const bool array = index >= 0;
    // An array's items come in index order; a plain command has one item.
    const bool fits =
        array ? index == items.size() && (items.isEmpty() || isArray(command)) : items.isEmpty();
    if (!fits)
        throw std::logic_error("menu item out of place: " +
                               menuItemName(command, index).toStdString());
    m_isArray[size_t(command)] = array;
    items.append(action);
}

QAction *MenuItems::item(MenuCommand command, int index) const
{
    const QList<QAction *> &items = m_items[size_t(command)];
    const bool array = m_isArray[size_t(command)];
    const qsizetype at = array ? index : (index < 0 ? 0 : -1);
    if (at < 0 || at >= items.size())
        throw std::logic_error("no menu item " + menuItemName(command, index).toStdString());
    return items[at];
}

} // namespace glintbox
