#pragma once

#include <QString>
#include <QtGlobal>

#include <memory>
#include <vector>

namespace glintbox {

// Which folder on which device: a walk enters each folder once, whatever path
// (a bind mount, say) leads to it again.
struct FolderIdentity {
    quint64 device = 0;
    quint64 inode = 0;
    bool operator==(const FolderIdentity &) const = default;
};

enum class EntryKind {
    Folder,
    File,  // a regular file
    Other, // pipes, sockets, devices, and links that lead nowhere
};

struct WalkEntry {
    QString name;
    // For a symbolic link, the kind of what it leads to.
    EntryKind kind = EntryKind::Other;
    bool isSymlink = false;
};

// A folder held open during a walk: its subfolders open relative to it, so a
// walk reaches folders whose paths are too long to open whole. Closes itself.
class OpenFolder {
public:
    OpenFolder(QString path, int descriptor)
        : m_path(std::move(path))
        , m_descriptor(descriptor)
    {
    }
    ~OpenFolder();
    OpenFolder(const OpenFolder &) = delete;
    OpenFolder &operator=(const OpenFolder &) = delete;

    const QString &path() const { return m_path; }
    int descriptor() const { return m_descriptor; }

private:
    QString m_path;
    int m_descriptor;
};

// One folder as a walk reads it: what it is, what it holds, and the folder
// itself held open for opening its subfolders.
struct WalkFolder {
    FolderIdentity identity;
    std::vector<WalkEntry> entries;
    std::unique_ptr<OpenFolder> folder;
};

} // namespace glintbox
