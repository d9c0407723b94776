#include "MainToolbar.h"

#include "ToolbarIcons.h"
#include "core/GlintboxState.h"
#include "shell/MainMenus.h"

#include <QAction>
#include <QEvent>
#include <QToolBar>

namespace glintbox {

namespace {

struct ButtonRow {
    const char *key; // nullptr for a separator
    const char *toolTip;
    const char *icon;      // our picture in resources/icons/toolbar
    const char *themeIcon; // the desktop theme's picture, when it has one
    const char *menuItem;
    int index;
    const char *controls; // "Controls" setting written before the command
};

const ButtonRow Separator{};

// The buttons in order; the dispatch compares keys in this order too.
constexpr ButtonRow buttonTable[] = {
    {"New", "Create New File", "new", "document-new", "mnuNewFile", -1, nullptr},
    {"Delete", "Delete File", "delete", "edit-delete", "mnuDeleteFile", -1, nullptr},
    Separator,
    {"Print", "Print File", "print", "document-print", "mnuPrint", -1, nullptr},
    {"Font", "Font Options", "font", "preferences-desktop-font", "mnuFontSize", -1, nullptr},
    Separator,
    {"Find", "Search Text", "find", "edit-find", "mnuSearch", -1, nullptr},
    {"FindFile", "Find File", "findfile", "system-search", "mnuFindFile", -1, nullptr},
    Separator,
    {"Colour", "Background Colours", "colour", "color-management", "mnuBackColour", 0, nullptr},
    Separator,
    {"Filter", "File Filtering", "filter", "view-filter", "mnuFilter", -1, nullptr},
    {"Max", "Maximum File Size", "max", nullptr, "mnuFileSize", -1, nullptr},
    Separator,
    {"SideView", "Controls at the Side", "sideview", "view-split-left-right", "mnuControl", 1,
     "Side"},
    {"TopView", "Controls on the Top", "topview", "view-split-top-bottom", "mnuControl", 0, "Top"},
    Separator,
    {"Refresh", "Refresh Files and Folders", "refresh", "view-refresh", "mnuRefresh", -1, nullptr},
    Separator,
    {"Help", "Help", "help", "help-contents", "mnuHelp", -1, nullptr},
    Separator,
};

} // namespace

std::optional<ToolbarCommand> toolbarCommandFor(const QString &key)
{
    for (const ButtonRow &row : buttonTable) {
        if (row.key && key == QLatin1String(row.key)) {
            ToolbarCommand command{QString::fromLatin1(row.menuItem), row.index, std::nullopt};
            if (row.controls)
                command.controls = QString::fromLatin1(row.controls);
            return command;
        }
    }
    return std::nullopt;
}

MainToolbar::MainToolbar(QToolBar *toolbar, MainMenus &menus, GlintboxState &state)
    : QObject(toolbar)
    , m_toolbar(toolbar)
    , m_menus(menus)
    , m_state(state)
{
    QAction *before = toolbar->actions().value(0);
    for (const ButtonRow &row : buttonTable) {
        if (!row.key) {
            toolbar->insertSeparator(before);
            continue;
        }
        const QString key = QString::fromLatin1(row.key);
        auto *button = new QAction(toolbar);
        button->setObjectName(key);
        button->setData(key);
        button->setToolTip(QString::fromLatin1(row.toolTip));
        connect(button, &QAction::triggered, this, [this, key] { Toolbar1_ButtonClick(key); });
        toolbar->insertAction(before, button);
        m_buttons.insert(key, button);
    }
    refreshIcons();
    toolbar->installEventFilter(this);
}

void MainToolbar::Toolbar1_ButtonClick(const QString &key)
{
    const std::optional<ToolbarCommand> command = toolbarCommandFor(key);
    if (!command)
        return;
    // The layout reads the setting, so it is written before the menu command runs.
    if (command->controls)
        m_state.controlsPosition = *command->controls;
    m_menus.choose(command->menuItem, command->index);
}

bool MainToolbar::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_toolbar && event->type() == QEvent::PaletteChange)
        refreshIcons();
    return QObject::eventFilter(watched, event);
}

void MainToolbar::refreshIcons()
{
    for (const ButtonRow &row : buttonTable) {
        if (!row.key)
            continue;
        const QIcon ours = toolbarIcon(QString::fromLatin1(row.icon), m_toolbar->palette());
        m_buttons.value(QString::fromLatin1(row.key))
            ->setIcon(row.themeIcon ? QIcon::fromTheme(QString::fromLatin1(row.themeIcon), ours)
                                    : ours);
    }
}

} // namespace glintbox
