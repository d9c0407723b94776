#pragma once

#include <QString>

namespace glintbox {

struct ViewerControls;
class CommonDialog;
class DisplayHost;
class FileListHost;
class TextEditing;

// Creating a new, empty text file through the save dialog and deleting the
// selected file, each followed by showing the file the list then selects.
class FileCommands {
public:
    FileCommands(ViewerControls &viewer, DisplayHost &display, FileListHost &lists,
                 CommonDialog &dialog, TextEditing &editing);

    void mnuNewFile_Click();
    void mnuDeleteFile_Click();

private:
    void writeNewFile(const QString &path);
    void selectByName(const QString &name);
    void emptyViewer();

    ViewerControls &m_viewer;
    DisplayHost &m_display;
    FileListHost &m_lists;
    CommonDialog &m_dialog;
    TextEditing &m_editing;
};

} // namespace glintbox
