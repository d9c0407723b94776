#pragma once

#include <QString>

namespace glintbox {

class FileSystem;
class Prompts;

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
};

} // namespace glintbox
