#pragma once

#include "formats/text/TextFileForm.h"

#include <QString>

namespace glintbox {

class FileSystem;
class Prompts;

// A file's text as the display put it into Text1, with what it takes to save
// an edit back into the file the way the file holds its text.
struct ShownText {
    QString path;
    // Rich text shown with its formatting; otherwise plain text in `form`.
    bool formatted = false;
    TextFileForm form;
    // The text holds all of its file: saving a part would cut off the rest.
    bool whole = true;
    // The plain text given to Text1, empty for a formatted text. Reading it
    // back from the box takes a pass over every line of it.
    QString plainText;
};

// What the file display needs from the main window beyond the viewer: the
// file list, the status line and the folder-change handling.
class DisplayHost {
public:
    virtual ~DisplayHost() = default;
    virtual QString fileListPath() const = 0;
    // The bare name of File1's selected entry, empty when none.
    virtual QString fileListFileName() const = 0;
    virtual void setFileListToolTip(const QString &text) = 0;
    virtual void focusFileList() = 0;
    // The line and the file name it holds, which gives way first when the
    // line does not fit.
    virtual void setStatusLine(const QString &text, const QString &fileName) = 0;
    virtual void Dir1_Change() = 0;
    virtual Prompts &prompts() = 0;
    virtual FileSystem &fileSystem() = 0;
    // Text1 now holds the text of a file.
    virtual void textShown(const ShownText &) {}
};

} // namespace glintbox
