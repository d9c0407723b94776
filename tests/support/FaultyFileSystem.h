#pragma once

#include "core/FileSystem.h"

#include <QHash>
#include <QMutex>
#include <QStringList>

#include <functional>

namespace glintbox {

// The real file system, except that chosen operations on chosen paths fail
// with a chosen errno (root ignores permissions, so chmod cannot stand in).
// Reads may come from a worker thread while the test sets faults.
class FaultyFileSystem : public LocalFileSystem {
public:
    // WriteStep: each step of a write (create, write, flush, rename) on its own.
    enum class Operation { Status, List, Read, Write, Remove, WriteStep };

    void failWith(Operation operation, const QString &path, int errnoValue)
    {
        const QMutexLocker lock(&m_mutex);
        m_faults.insert(key(operation, path), {0, errnoValue, false});
    }
    // The call after the next `successfulCalls` calls of operation on path
    // fails once with errnoValue (0: the very next call).
    void failAfter(Operation operation, const QString &path, int successfulCalls, int errnoValue)
    {
        const QMutexLocker lock(&m_mutex);
        m_faults.insert(key(operation, path), {successfulCalls, errnoValue, true});
    }
    void clearFaults()
    {
        const QMutexLocker lock(&m_mutex);
        m_faults.clear();
    }
    // Every path written to, in order, failed writes included.
    const QStringList &writes() const { return m_writes; }
    // Runs before each folder a walk opens, to act in the middle of a walk.
    std::function<void(const QString &folder)> beforeWalkOpen;
    // Runs when a read has the file's bytes, before it returns them, on the
    // reading thread: the place to hold a read up.
    std::function<void(const QString &path)> whileReading;

    FileStatus status(const QString &path) override;
    std::vector<FolderEntry> list(const QString &folder) override;
    QByteArray readAll(const QString &path) override;
    void writeAll(const QString &path, const QByteArray &data) override;
    void remove(const QString &path) override;
    // Fails as a listing of the folder does.
    WalkFolder openForWalk(const QString &path, const OpenFolder *ancestor) override;

protected:
    void beforeWriteStep(WriteStep step, const QString &path) override;

private:
    static QString key(Operation operation, const QString &path)
    {
        return QString::number(int(operation)) + u'|' + path;
    }
    void check(Operation operation, const QString &path, bool isFolder = false) const;

    struct Fault {
        int callsLeft;
        int errnoValue;
        bool once;
    };
    mutable QMutex m_mutex;
    mutable QHash<QString, Fault> m_faults;
    QStringList m_writes;
};

} // namespace glintbox
