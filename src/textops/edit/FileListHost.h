#pragma once

#include <QString>

namespace glintbox {

// What creating and deleting files need of the main window's lists, beyond
// what the file display already has (DisplayHost).
class FileListHost {
public:
    virtual ~FileListHost() = default;
    virtual int fileListCount() const = 0;
    // The selected entry of File1, -1 when none.
    virtual int fileListIndex() const = 0;
    virtual QString fileListEntry(int index) const = 0;
    // Selecting an entry shows it; an index the list does not have throws
    // RunTimeError 380.
    virtual void setFileListIndex(int index) = 0;
    virtual void refreshFileList() = 0;
    // The drive list to the drive that holds the folder, then the folder list
    // to the folder; the file list follows.
    virtual void showFolder(const QString &folder) = 0;
};

} // namespace glintbox
