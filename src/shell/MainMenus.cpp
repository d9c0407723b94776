#include "MainMenus.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

namespace glintbox {

namespace {

struct MenuRow {
    const char *name;     // nullptr for a separator
    const char *caption;
    const char *shortcut; // QKeySequence portable text, may be empty
    bool checkable = false;
};

struct MenuDef {
    const char *name;
    const char *caption;
    std::initializer_list<MenuRow> rows;
};

const MenuRow Separator{nullptr, nullptr, nullptr};

const std::initializer_list<MenuDef> &menuTable()
{
    static const std::initializer_list<MenuDef> table = {
        {"mnuFile", "&File",
         {{"mnuNewFile", "Create &New File", "Ctrl+N"},
          Separator,
          {"mnuDeleteFile", "&Delete File", "Del"},
          Separator,
          {"mnuFontSize", "Font &Options", "Ctrl+O"},
          {"mnuPrint", "&Print File", "Ctrl+P"},
          Separator,
          {"mnuExit", "E&xit", "Ctrl+Q"}}},
        {"mnuEditControl", "&Edit",
         {{"mnuEdit0", "Cu&t", "Ctrl+X"},
          {"mnuEdit1", "&Copy", "Ctrl+C"},
          {"mnuEdit2", "&Paste", "Ctrl+V"},
          Separator,
          {"mnuSelect", "Select &All", "Ctrl+A"},
          Separator,
          {"mnuSearch", "&Search Text", "Ctrl+F"}}},
        {"mnuView", "&View",
         {{"mnuControl0", "Controls on the &Top", "Ctrl+T", true},
          {"mnuControl1", "Controls at the Si&de", "Ctrl+D", true},
          Separator,
          {"mnuKeys0", "Zoom In  <&+>", ""},
          {"mnuKeys1", "Zoom Out <&->", ""},
          Separator,
          {"mnuRefresh", "&Refresh Files and Folders", "Ctrl+R"}}},
        {"mnuOptions", "&Options",
         {{"mnuFindFile", "F&ind File", "Ctrl+I"},
          Separator,
          {"mnuEnter", "&Launch Application  <Enter>", ""},
          Separator,
          {"mnuFilter", "File Fi&ltering", "Ctrl+L"},
          {"mnuFileSize", "&Maximum File Size", "Ctrl+M"},
          Separator,
          {"mnuWebMode", "Web Brow&ser ACTIVE", "Ctrl+S", true},
          Separator,
          {"mnuWordWrap", "&Word Wrap Off", "Ctrl+Z", true},
          Separator,
          {"mnuBackColour0", "&Background Colours", "Ctrl+B"}}},
        {"mnuAbout", "&Help",
         {{"mnuHelp", "&Help", "F1"},
          Separator,
          {"mnuBug", "&Bug Busters", "Ctrl+G"},
          Separator,
          {"mnuGlintbox", "About &Glintbox", "Ctrl+E"}}},
    };
    return table;
}

} // namespace

MainMenus::MainMenus(QMenuBar *menuBar)
{
    for (const MenuDef &def : menuTable()) {
        QMenu *menu = menuBar->addMenu(QString::fromUtf8(def.caption));
        menu->setObjectName(QString::fromLatin1(def.name));
        for (const MenuRow &row : def.rows) {
            if (!row.name) {
                menu->addSeparator();
                continue;
            }
            QAction *action = menu->addAction(QString::fromUtf8(row.caption));
            action->setObjectName(QString::fromLatin1(row.name));
            action->setCheckable(row.checkable);
            if (row.shortcut && *row.shortcut) {
                action->setShortcut(QKeySequence(QString::fromLatin1(row.shortcut)));
                // Shortcuts belong to the window and act wherever the focus is.
                action->setShortcutContext(Qt::WindowShortcut);
            }
            m_items.insert(action->objectName(), action);
        }
    }
}

QAction *MainMenus::item(const QString &name) const
{
    return m_items.value(name);
}

} // namespace glintbox
