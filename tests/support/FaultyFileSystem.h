#pragma once

#include "core/FileSystem.h"

#include <QHash>

#include <functional>

namespace glintbox {

// The real file system, except that chosen operations on chosen paths fail
// with a chosen errno (root ignores permissions, so chmod cannot stand in).
class FaultyFileSystem : public LocalFileSystem {
public:
    enum class Operation { Status, List, Read, Write, Remove };

    void failWith(Operation operation, const QString &path, int errnoValue)
    {
        m_faults.insert(key(operation, path), errnoValue);
    }
    void clearFaults() { m_faults.clear(); }
    // Runs before each folder a walk opens, to act in the middle of a walk.
    std::function<void(const QString &folder)> beforeWalkOpen;

    FileStatus status(const QString &path) override;
    std::vector<FolderEntry> list(const QString &folder) override;
    QByteArray readAll(const QString &path) override;
    void writeAll(const QString &path, const QByteArray &data) override;
    void remove(const QString &path) override;
    // Fails as a listing of the folder does.
    WalkFolder openForWalk(const QString &path, const OpenFolder *ancestor) override;

private:
    static QString key(Operation operation, const QString &path)
    {
        return QString::number(int(operation)) + u'|' + path;
    }
    void check(Operation operation, const QString &path, bool isFolder = false) const;

    QHash<QString, int> m_faults;
};

} // namespace glintbox
