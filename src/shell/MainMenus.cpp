#include "MainMenus.h"

#include "core/ErrorTrap.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <stdexcept>

namespace glintbox {

namespace {

using M = MenuCommand;

enum class Kind {
    Command,
    Checkable,
    // Cut, copy, paste and select all are the text box's own keys: with the
    // focus there, the text box keeps them.
    TextBoxKey,
    Separator,
};

struct MenuRow {
    MenuCommand command;
    int index; // index in an item array, -1 outside one
    const char *caption;
    const char *shortcut; // QKeySequence portable text, may be empty
    Kind kind = Kind::Command;
};

struct MenuDef {
    const char *name;
    const char *caption;
    std::initializer_list<MenuRow> rows;
};

// A separator line; its command is never read.
const MenuRow Separator{MenuCommand{}, -1, nullptr, nullptr, Kind::Separator};

const std::initializer_list<MenuDef> &menuTable()
{
    static const std::initializer_list<MenuDef> table = {
        {"mnuFile",
         "&File",
         {{M::mnuNewFile, -1, "Create &New File", "Ctrl+N"},
          Separator,
          {M::mnuDeleteFile, -1, "&Delete File", "Del"},
          Separator,
          {M::mnuFontSize, -1, "Font &Options", "Ctrl+O"},
          {M::mnuPrint, -1, "&Print File", "Ctrl+P"},
          Separator,
          {M::mnuExit, -1, "E&xit", "Ctrl+Q"}}},
        {"mnuEditControl",
         "&Edit",
         {{M::mnuEdit, 0, "Cu&t", "Ctrl+X", Kind::TextBoxKey},
          {M::mnuEdit, 1, "&Copy", "Ctrl+C", Kind::TextBoxKey},
          {M::mnuEdit, 2, "&Paste", "Ctrl+V", Kind::TextBoxKey},
          Separator,
          {M::mnuSelect, -1, "Select &All", "Ctrl+A", Kind::TextBoxKey},
          Separator,
          {M::mnuSearch, -1, "&Search Text", "Ctrl+F"}}},
        {"mnuView",
         "&View",
         {{M::mnuControl, 0, "Controls on the &Top", "Ctrl+T", Kind::Checkable},
          {M::mnuControl, 1, "Controls at the Si&de", "Ctrl+D", Kind::Checkable},
          Separator,
          {M::mnuKeys, 0, "Zoom In  <&+>", ""},
          {M::mnuKeys, 1, "Zoom Out <&->", ""},
          Separator,
          {M::mnuRefresh, -1, "&Refresh Files and Folders", "Ctrl+R"}}},
        {"mnuOptions",
         "&Options",
         {{M::mnuFindFile, -1, "F&ind File", "Ctrl+I"},
          Separator,
          {M::mnuEnter, -1, "&Launch Application  <Enter>", ""},
          Separator,
          {M::mnuFilter, -1, "File Fi&ltering", "Ctrl+L"},
          {M::mnuFileSize, -1, "&Maximum File Size", "Ctrl+M"},
          Separator,
          {M::mnuWebMode, -1, "Web Brow&ser ACTIVE", "Ctrl+S", Kind::Checkable},
          Separator,
          {M::mnuWordWrap, -1, "&Word Wrap Off", "Ctrl+Z", Kind::Checkable},
          Separator,
          {M::mnuBackColour, 0, "&Background Colours", "Ctrl+B"}}},
        {"mnuAbout",
         "&Help",
         {{M::mnuHelp, -1, "&Help", "F1"},
          Separator,
          {M::mnuBug, -1, "&Bug Busters", "Ctrl+G"},
          Separator,
          {M::mnuGlintbox, -1, "About &Glintbox", "Ctrl+E"}}},
    };
    return table;
}

} // namespace

MainMenus::MainMenus(QMenuBar *menuBar, Prompts &prompts)
    : QObject(menuBar)
    , m_prompts(prompts)
{
    for (const MenuDef &def : menuTable()) {
        QMenu *menu = menuBar->addMenu(QString::fromUtf8(def.caption));
        menu->setObjectName(QString::fromLatin1(def.name));
        for (const MenuRow &row : def.rows) {
            if (row.kind == Kind::Separator) {
                menu->addSeparator();
                continue;
            }
            QAction *action = menu->addAction(QString::fromUtf8(row.caption));
            action->setObjectName(menuItemName(row.command, row.index));
            action->setCheckable(row.kind == Kind::Checkable);
            if (*row.shortcut) {
                action->setShortcut(QKeySequence(QString::fromLatin1(row.shortcut)));
                // Shortcuts belong to the window and act wherever the focus is.
                action->setShortcutContext(Qt::WindowShortcut);
                if (row.kind != Kind::TextBoxKey)
                    m_windowShortcuts.append(action->shortcut());
            }
            connect(action, &QAction::triggered, this,
                    [this, command = row.command, index = row.index] { choose(command, index); });
            m_items.add(row.command, row.index, action);
        }
    }
}

void MainMenus::wire(MenuCommand command, std::function<void()> handler)
{
    requireArray(command, false);
    m_handlers[size_t(command)] = [handler = std::move(handler)](int) { handler(); };
}

void MainMenus::wire(MenuCommand command, std::function<void(int index)> handler)
{
    requireArray(command, true);
    m_handlers[size_t(command)] = std::move(handler);
}

void MainMenus::requireArray(MenuCommand command, bool array) const
{
    if (m_items.isArray(command) != array)
        throw std::logic_error(menuItemName(command).toStdString() +
                               (array ? " is no item array: its handler takes no index"
                                      : " is an item array: its handler takes the index"));
}

void MainMenus::choose(MenuCommand command, int index) const
{
    // A copy: the handler may wire handlers while it runs.
    const std::function<void(int)> handler = m_handlers[size_t(command)];
    if (handler)
        runTrapped(m_prompts, [&] { handler(index); });
}

QList<QKeySequence> MainMenus::windowShortcuts() const
{
    return m_windowShortcuts;
}

} // namespace glintbox
