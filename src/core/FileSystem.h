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
};

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
    // The whole file in one request.
    virtual QByteArray readAll(const QString &path) = 0;
    // Replaces the file atomically: a failed write leaves the old file whole.
    virtual void writeAll(const QString &path, const QByteArray &data) = 0;
    virtual void remove(const QString &path) = 0;

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
    WalkFolder openForWalk(const QString &path, const OpenFolder *ancestor) override;
};

} // namespace glintbox
