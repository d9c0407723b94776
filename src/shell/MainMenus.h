#pragma once

#include <QHash>
#include <QKeySequence>
#include <QList>
#include <QObject>
#include <QString>
#include <functional>

class QAction;
class QMenuBar;

namespace glintbox {

// The menu bar of the main window, built from one table: captions with their
// access letters and shortcuts. Items are found by their names ("mnuPrint",
// and "mnuEdit0".."mnuEdit2" for the item arrays). Choosing an item runs the
// handler set for it; an item array has one handler that receives the index.
class MainMenus : public QObject {
    Q_OBJECT
public:
    // A handler receives the item's index, or -1 for an item outside an array.
    using Handler = std::function<void(int index)>;

    explicit MainMenus(QMenuBar *menuBar);

    QAction *item(const QString &name) const;
    const QHash<QString, QAction *> &items() const { return m_items; }

    // Sets the handler of an item ("mnuRefresh") or of an item array
    // ("mnuEdit"); an item without one does nothing when chosen.
    void setHandler(const QString &name, Handler handler);
    // Runs the command of an item as if it had been chosen from the menu.
    void choose(const QString &name, int index = -1) const;

    // The window's shortcuts that a text box must leave to the window: all but
    // the editing keys that the text box keeps as its own.
    QList<QKeySequence> windowShortcuts() const;

private:
    QHash<QString, QAction *> m_items;
    QHash<QString, Handler> m_handlers;
    QList<QKeySequence> m_windowShortcuts;
};

} // namespace glintbox
