#pragma once

#include "core/MenuCommand.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <optional>

class QAction;
class QToolBar;

namespace glintbox {

struct GlintboxState;
class MainMenus;

// What a toolbar button does: the menu command it stands for (with the index
// of the item for an item array, -1 otherwise) and, for the two layout
// buttons, the "Controls" setting written first.
struct ToolbarCommand {
    MenuCommand command;
    int index = -1;
    std::optional<QString> controls;
};

// The command of the button with this key (compared case-sensitively); none
// for a key the toolbar does not know.
std::optional<ToolbarCommand> toolbarCommandFor(const QString &key);

// The command buttons of the toolbar Toolbar1, each with its key, tool tip and
// icon. They go in front of whatever the toolbar already holds (the zoom
// controls), and a click runs the command of the button's key.
class MainToolbar : public QObject {
    Q_OBJECT
public:
    MainToolbar(QToolBar *toolbar, MainMenus &menus, GlintboxState &state);

    // The buttons by key ("New", "Print", ...).
    const QHash<QString, QAction *> &buttons() const { return m_buttons; }

    void Toolbar1_ButtonClick(const QString &key);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void refreshIcons();

    QToolBar *m_toolbar;
    MainMenus &m_menus;
    GlintboxState &m_state;
    QHash<QString, QAction *> m_buttons;
};

} // namespace glintbox
