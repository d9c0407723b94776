#pragma once

#include <QHash>
#include <QString>

class QAction;
class QMenuBar;
class QObject;

namespace glintbox {

// The menu bar of the main window, built from one table: captions with their
// access letters and shortcuts. Items are found by their names ("mnuPrint",
// and "mnuEdit0".."mnuEdit2" for the item arrays).
class MainMenus {
public:
    explicit MainMenus(QMenuBar *menuBar);

    QAction *item(const QString &name) const;
    const QHash<QString, QAction *> &items() const { return m_items; }

private:
    QHash<QString, QAction *> m_items;
};

} // namespace glintbox
