#include "FileSystem.h"

#include "FileNameBytes.h"
#include "RunTimeError.h"

#include <QFile>
#include <QSaveFile>

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace glintbox {

namespace {

QByteArray encoded(const QString &path)
{
    return fileNameToBytes(path);
}

[[noreturn]] void throwErrno(int errnoValue, const QString &path,
                             RunTimeError::Target target = RunTimeError::Target::File)
{
    throw RunTimeError::fromErrno(errnoValue, target, path);
}

struct FdCloser {
    int fd;
    ~FdCloser() { ::close(fd); }
};

struct DirCloser {
    void operator()(DIR *dir) const { ::closedir(dir); }
};

} // namespace

FileSystem &FileSystem::local()
{
    static LocalFileSystem instance;
    return instance;
}

FileStatus LocalFileSystem::status(const QString &path)
{
    struct stat st {};
    if (::stat(encoded(path).constData(), &st) != 0)
        throwErrno(errno, path);
    FileStatus result;
    result.size = st.st_size;
    result.isFolder = S_ISDIR(st.st_mode);
    result.modified = QDateTime::fromSecsSinceEpoch(st.st_mtim.tv_sec);
    return result;
}

std::vector<FolderEntry> LocalFileSystem::list(const QString &folder)
{
    const QByteArray path = encoded(folder);
    std::unique_ptr<DIR, DirCloser> dir(::opendir(path.constData()));
    if (!dir)
        throwErrno(errno, folder, RunTimeError::Target::Folder);
    const int dirFd = ::dirfd(dir.get());
    std::vector<FolderEntry> entries;
    errno = 0;
    while (const dirent *entry = ::readdir(dir.get())) {
        const char *name = entry->d_name;
        if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0)))
            continue;
        bool isFolder = entry->d_type == DT_DIR;
        if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
            struct stat st {};
            // A dangling link is listed as a file; opening it reports the error.
            isFolder = ::fstatat(dirFd, name, &st, 0) == 0 && S_ISDIR(st.st_mode);
        }
        entries.push_back({fileNameFromBytes(QByteArrayView(name)), isFolder});
        errno = 0;
    }
    if (errno != 0)
        throwErrno(errno, folder, RunTimeError::Target::Folder);
    return entries;
}

QByteArray LocalFileSystem::readAll(const QString &path)
{
    const int fd = ::open(encoded(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throwErrno(errno, path);
    FdCloser closer{fd};
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        throwErrno(errno, path);
    if (S_ISDIR(st.st_mode))
        throwErrno(EISDIR, path);
    QByteArray data;
    // The size is a hint: the file may grow or shrink while it is read.
    data.reserve(qsizetype(st.st_size) + 1);
    char chunk[65536];
    for (;;) {
        const ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            throwErrno(errno, path);
        }
        if (got == 0)
            break;
        data.append(chunk, got);
    }
    return data;
}

void LocalFileSystem::writeAll(const QString &path, const QByteArray &data)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throwErrno(errno ? errno : EACCES, path);
    if (file.write(data) != data.size()) {
        const int error = errno ? errno : EIO;
        file.cancelWriting();
        throwErrno(error, path);
    }
    errno = 0;
    if (!file.commit())
        throwErrno(errno ? errno : EIO, path);
}

void LocalFileSystem::remove(const QString &path)
{
    if (::unlink(encoded(path).constData()) != 0)
        throwErrno(errno, path);
}

} // namespace glintbox
