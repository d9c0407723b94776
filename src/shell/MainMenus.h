#pragma once

#include "core/MenuCommand.h"

#include <QKeySequence>
#include <QList>
#include <QObject>
#include <functional>

class QMenuBar;

namespace glintbox {

class Prompts;

// The commands whose subsystems are not built yet: their items are there and
// do nothing. The main window wires every other command, and a test holds it
// to that; wiring one of these means taking it off this list.
inline constexpr MenuCommand CommandsNotYetBuilt[] = {
    MenuCommand::mnuNewFile, MenuCommand::mnuDeleteFile, MenuCommand::mnuEdit,
    MenuCommand::mnuSelect,  MenuCommand::mnuSearch,
};

// The menu bar of the main window, built from one table: captions with their
// access letters and shortcuts. Choosing an item runs the command wired to it
// under the error trap; an item array has one handler that receives the index.
class MainMenus : public QObject {
    Q_OBJECT
public:
    MainMenus(QMenuBar *menuBar, Prompts &prompts);

    // A command or index the menu bar does not have throws std::logic_error.
    QAction *item(MenuCommand command, int index = -1) const
    {
        return m_items.item(command, index);
    }
    const MenuItems &items() const { return m_items; }

    // Wires a command to its handler, replacing any handler before: a plain
    // item's handler takes nothing, an item array's takes the index. The wrong
    // kind of handler throws std::logic_error.
    void wire(MenuCommand command, std::function<void()> handler);
    void wire(MenuCommand command, std::function<void(int index)> handler);
    bool isWired(MenuCommand command) const { return bool(m_handlers[size_t(command)]); }

    // Runs the command as if its item had been chosen from the menu; a command
    // not wired yet does nothing.
    void choose(MenuCommand command, int index = -1) const;

    // The window's shortcuts that a text box must leave to the window: all but
    // the editing keys that the text box keeps as its own.
    QList<QKeySequence> windowShortcuts() const;

private:
    void requireArray(MenuCommand command, bool array) const;

    Prompts &m_prompts;
    MenuItems m_items;
    std::array<std::function<void(int index)>, MenuCommandCount> m_handlers;
    QList<QKeySequence> m_windowShortcuts;
};

} // namespace glintbox
