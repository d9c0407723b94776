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
    MenuCommand command;
    int index;
    const char *controls; // "Controls" setting written before the command
};

using M = MenuCommand;

constexpr ButtonRow Separator{};

// The buttons in order; the dispatch compares keys in this order too.
constexpr ButtonRow buttonTable[] = {
    {"New", "Create New File", "new", "document-new", M::mnuNewFile, -1, nullptr},
    {"Delete", "Delete File", "delete", "edit-delete", M::mnuDeleteFile, -1, nullptr},
    Separator,
    {"Print", "Print File", "print", "document-print", M::mnuPrint, -1, nullptr},
    {"Font", "Font Options", "font", "preferences-desktop-font", M::mnuFontSize, -1, nullptr},
    Separator,
    {"Find", "Search Text", "find", "edit-find", M::mnuSearch, -1, nullptr},
    {"FindFile", "Find File", "findfile", "system-search", M::mnuFindFile, -1, nullptr},
    Separator,
    {"Colour", "Background Colours", "colour", "color-management", M::mnuBackColour, 0, nullptr},
    Separator,
    {"Filter", "File Filtering", "filter", "view-filter", M::mnuFilter, -1, nullptr},
    {"Max", "Maximum File Size", "max", nullptr, M::mnuFileSize, -1, nullptr},
    Separator,
    {"SideView", "Controls at the Side", "sideview", "view-split-left-right", M::mnuControl, 1,
     "Side"},
    {"TopView", "Controls on the Top", "topview", "view-split-top-bottom", M::mnuControl, 0, "Top"},
    Separator,
    {"Refresh", "Refresh Files and Folders", "refresh", "view-refresh", M::mnuRefresh, -1, nullptr},
    Separator,
    {"Help", "Help", "help", "help-contents", M::mnuHelp, -1, nullptr},
    Separator,
};

} // namespace

std::optional<ToolbarCommand> toolbarCommandFor(const QString &key)
{
    for (const ButtonRow &row : buttonTable) {
        if (row.key && key == QLatin1String(row.key)) {
            ToolbarCommand command{row.command, row.index, std::nullopt};
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
    m_menus.choose(command->command, command->index);
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
