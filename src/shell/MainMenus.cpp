#include "MainMenus.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace glintbox {

namespace {

enum class Kind {
    Command,
    Checkable,
    // Cut, copy, paste and select all are the text box's own keys: with the
    // focus there, the text box keeps them.
    TextBoxKey,
};

struct MenuRow {
    const char *name; // nullptr for a separator
    int index;        // index in an item array, -1 outside one
    const char *caption;
    const char *shortcut; // QKeySequence portable text, may be empty
    Kind kind = Kind::Command;
};

struct MenuDef {
    const char *name;
    const char *caption;
    std::initializer_list<MenuRow> rows;
};

const MenuRow Separator{nullptr, -1, nullptr, nullptr};

const std::initializer_list<MenuDef> &menuTable()
{
    static const std::initializer_list<MenuDef> table = {
        {"mnuFile",
         "&File",
         {{"mnuNewFile", -1, "Create &New File", "Ctrl+N"},
          Separator,
          {"mnuDeleteFile", -1, "&Delete File", "Del"},
          Separator,
          {"mnuFontSize", -1, "Font &Options", "Ctrl+O"},
          {"mnuPrint", -1, "&Print File", "Ctrl+P"},
          Separator,
          {"mnuExit", -1, "E&xit", "Ctrl+Q"}}},
        {"mnuEditControl",
         "&Edit",
         {{"mnuEdit", 0, "Cu&t", "Ctrl+X", Kind::TextBoxKey},
          {"mnuEdit", 1, "&Copy", "Ctrl+C", Kind::TextBoxKey},
          {"mnuEdit", 2, "&Paste", "Ctrl+V", Kind::TextBoxKey},
          Separator,
          {"mnuSelect", -1, "Select &All", "Ctrl+A", Kind::TextBoxKey},
          Separator,
          {"mnuSearch", -1, "&Search Text", "Ctrl+F"}}},
        {"mnuView",
         "&View",
         {{"mnuControl", 0, "Controls on the &Top", "Ctrl+T", Kind::Checkable},
          {"mnuControl", 1, "Controls at the Si&de", "Ctrl+D", Kind::Checkable},
          Separator,
          {"mnuKeys", 0, "Zoom In  <&+>", ""},
          {"mnuKeys", 1, "Zoom Out <&->", ""},
          Separator,
          {"mnuRefresh", -1, "&Refresh Files and Folders", "Ctrl+R"}}},
        {"mnuOptions",
         "&Options",
         {{"mnuFindFile", -1, "F&ind File", "Ctrl+I"},
          Separator,
          {"mnuEnter", -1, "&Launch Application  <Enter>", ""},
          Separator,
          {"mnuFilter", -1, "File Fi&ltering", "Ctrl+L"},
          {"mnuFileSize", -1, "&Maximum File Size", "Ctrl+M"},
          Separator,
          {"mnuWebMode", -1, "Web Brow&ser ACTIVE", "Ctrl+S", Kind::Checkable},
          Separator,
          {"mnuWordWrap", -1, "&Word Wrap Off", "Ctrl+Z", Kind::Checkable},
          Separator,
          {"mnuBackColour", 0, "&Background Colours", "Ctrl+B"}}},
        {"mnuAbout",
         "&Help",
         {{"mnuHelp", -1, "&Help", "F1"},
          Separator,
          {"mnuBug", -1, "&Bug Busters", "Ctrl+G"},
          Separator,
          {"mnuGlintbox", -1, "About &Glintbox", "Ctrl+E"}}},
    };
    return table;
}

} // namespace

MainMenus::MainMenus(QMenuBar *menuBar)
    : QObject(menuBar)
{
    for (const MenuDef &def : menuTable()) {
        QMenu *menu = menuBar->addMenu(QString::fromUtf8(def.caption));
        menu->setObjectName(QString::fromLatin1(def.name));
        for (const MenuRow &row : def.rows) {
            if (!row.name) {
                menu->addSeparator();
                continue;
            }
            const QString array = QString::fromLatin1(row.name);
            const QString name = row.index < 0 ? array : array + QString::number(row.index);
            QAction *action = menu->addAction(QString::fromUtf8(row.caption));
            action->setObjectName(name);
            action->setCheckable(row.kind == Kind::Checkable);
            if (*row.shortcut) {
                action->setShortcut(QKeySequence(QString::fromLatin1(row.shortcut)));
                // Shortcuts belong to the window and act wherever the focus is.
                action->setShortcutContext(Qt::WindowShortcut);
                if (row.kind != Kind::TextBoxKey)
                    m_windowShortcuts.append(action->shortcut());
            }
            const int index = row.index;
            connect(action, &QAction::triggered, this,
                    [this, array, index] { choose(array, index); });
            m_items.insert(name, action);
        }
    }
}

QAction *MainMenus::item(const QString &name) const
{
    return m_items.value(name);
}

void MainMenus::setHandler(const QString &name, Handler handler)
{
    m_handlers.insert(name, std::move(handler));
}

void MainMenus::choose(const QString &name, int index) const
{
    // A copy: the handler may set handlers while it runs.
    const Handler handler = m_handlers.value(name);
    if (handler)
        handler(index);
}

QList<QKeySequence> MainMenus::windowShortcuts() const
{
    return m_windowShortcuts;
}

} // namespace glintbox
