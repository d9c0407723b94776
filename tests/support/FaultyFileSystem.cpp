#include "FaultyFileSystem.h"

#include "core/RunTimeError.h"

namespace glintbox {

void FaultyFileSystem::check(Operation operation, const QString &path, bool isFolder) const
{
    const QMutexLocker lock(&m_mutex);
    const auto fault = m_faults.find(key(operation, path));
    if (fault == m_faults.end() || fault->callsLeft-- > 0)
        return;
    const int errnoValue = fault->errnoValue;
    if (fault->once)
        m_faults.erase(fault);
    throw RunTimeError::fromErrno(
        errnoValue, isFolder ? RunTimeError::Target::Folder : RunTimeError::Target::File, path);
}

FileStatus FaultyFileSystem::status(const QString &path)
{
    check(Operation::Status, path);
    return LocalFileSystem::status(path);
}

std::vector<FolderEntry> FaultyFileSystem::list(const QString &folder)
{
    check(Operation::List, folder, true);
    return LocalFileSystem::list(folder);
}

QByteArray FaultyFileSystem::readAll(const QString &path)
{
    check(Operation::Read, path);
    QByteArray bytes = LocalFileSystem::readAll(path);
    if (whileReading)
        whileReading(path);
    return bytes;
}

void FaultyFileSystem::writeAll(const QString &path, const QByteArray &data)
{
    m_writes.append(path);
    check(Operation::Write, path);
    LocalFileSystem::writeAll(path, data);
}

void FaultyFileSystem::beforeWriteStep(WriteStep, const QString &path)
{
    check(Operation::WriteStep, path);
}

void FaultyFileSystem::remove(const QString &path)
{
    check(Operation::Remove, path);
    LocalFileSystem::remove(path);
}

WalkFolder FaultyFileSystem::openForWalk(const QString &path, const OpenFolder *ancestor)
{
    if (beforeWalkOpen)
        beforeWalkOpen(path);
    check(Operation::List, path, true);
    return LocalFileSystem::openForWalk(path, ancestor);
}

} // namespace glintbox
