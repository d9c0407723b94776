#pragma once

#include "FolderWalk.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <vector>

namespace glintbox {

struct FileStatus {
    qint64 size = 0;
    QDateTime modified;
    bool isFolder = false;
    // Only regular files are read: a pipe, socket or device could block the
    // window for ever or never end.
    bool isRegular = false;
};

// Throws error 75 unless the status is that of a regular file.
void requireRegularFile(const FileStatus &status, const QString &path);

struct FolderEntry {
    QString name;
    bool isFolder = false;
};

// Every file-system access of the program goes through this layer, so that
// tests can make any call fail with a chosen error. Failures throw RunTimeError
// with the number mapped from the operating system's error.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    virtual FileStatus status(const QString &path) = 0;
    // The entries of a folder, "." and ".." left out. Hidden names (leading
    // dot) are included; listing rules decide what to show.
    virtual std::vector<FolderEntry> list(const QString &folder) = 0;
    // The whole file in one request. Anything but a regular file is refused
    // with error 75, without waiting for it.
    virtual QByteArray readAll(const QString &path) = 0;
    // Replaces the file atomically: a failed write leaves the old file whole.
    virtual void writeAll(const QString &path, const QByteArray &data) = 0;
    virtual void remove(const QString &path) = 0;
    // Makes the folder and every missing folder above it.
    virtual void makeFolders(const QString &path) = 0;

    // Opens a folder for a walk and reads its entries ("." and ".." left
    // out). With an open ancestor given, the folder is opened relative to it
    // and a symbolic link is never opened as the folder.
    virtual WalkFolder openForWalk(const QString &path, const OpenFolder *ancestor) = 0;

    // The program's real file system.
    static FileSystem &local();
};

class LocalFileSystem : public FileSystem {
public:
    FileStatus status(const QString &path) override;
    std::vector<FolderEntry> list(const QString &folder) override;
    QByteArray readAll(const QString &path) override;
    void writeAll(const QString &path, const QByteArray &data) override;
    void remove(const QString &path) override;
    void makeFolders(const QString &path) override;
    WalkFolder openForWalk(const QString &path, const OpenFolder *ancestor) override;

protected:
    // The steps of writeAll, in order; writing repeats while data is left.
    enum class WriteStep { Create, Write, Flush, Rename };
    // Runs before each step of writeAll: the place to make one step fail.
    virtual void beforeWriteStep(WriteStep step, const QString &path);
};

} // namespace glintbox
