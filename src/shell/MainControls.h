#pragma once

#include "StatusLine.h"

class QCheckBox;
class QLabel;
class QFrame;
class QToolBar;
class QTimer;
class QWidget;

namespace glintbox {

class DriveList;
class FileList;
class FolderList;
class MainMenus;

// The controls of the main window's navigation side that the handlers of the
// subsystems use, by the names the handlers know them by (the viewer's are in
// ViewerControls). The window owns them.
struct MainControls {
    DriveList *Drive1 = nullptr;
    FolderList *Dir1 = nullptr;
    FileList *File1 = nullptr;
    // Count line: "Showing" N "files" M "dir's".
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label4 = nullptr;
    QLabel *Label5 = nullptr;
    QLabel *Label6 = nullptr;
    QCheckBox *chkAutoMode = nullptr;
    QCheckBox *chkHTMLmode = nullptr;
    QFrame *StatusBar = nullptr;
    StatusLine *InputFileProperties = nullptr;
    QToolBar *Toolbar1 = nullptr;
    QTimer *timIconSwitch = nullptr;
    MainMenus *menus = nullptr;
};

} // namespace glintbox
