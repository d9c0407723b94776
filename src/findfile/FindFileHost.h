#pragma once

#include <QString>

class QWidget;

namespace glintbox {

class DriveSource;
class FileSystem;
class Prompts;

// What the Find File window needs from the main window: where its lists
// stand, and the hand-off that shows a found file there.
class FindFileHost {
public:
    virtual ~FindFileHost() = default;
    // Drive1's drive text and Dir1's path.
    virtual QString currentDrive() const = 0;
    virtual QString currentFolder() const = 0;
    // Drive1, Dir1 and File1 move to the folder; may throw RunTimeError.
    virtual void showFolder(const QString &folder) = 0;
    // Selects File1's entry of exactly this name, which shows the file; a
    // name the file list does not show (its filter hides it) selects nothing.
    virtual void selectFile(const QString &name) = 0;

    virtual FileSystem &fileSystem() = 0;
    virtual DriveSource &drives() = 0;
    virtual Prompts &prompts() = 0;
    virtual QWidget *dialogParent() = 0;
};

} // namespace glintbox
