#include "FileSystem.h"

#include "FileNameBytes.h"
#include "LargeBuffers.h"
#include "RunTimeError.h"

#include <QRandomGenerator>

#include <cerrno>
#include <climits>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

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

void refuseUnlessRegular(const struct stat &st, const QString &path)
{
    if (S_ISDIR(st.st_mode))
        throwErrno(EISDIR, path);
    FileStatus status;
    status.isRegular = S_ISREG(st.st_mode);
    requireRegularFile(status, path);
}

// A new file beside a target, written and then renamed over it, so that a
// failed write leaves the old file whole. Removed again unless it replaced
// the target.
struct FileBeside {
    QByteArray name;
    QByteArray target;
    QString path;
    int fd = -1;

    FileBeside(const QByteArray &targetName, const QString &shownPath)
        : target(targetName)
        , path(shownPath)
    {
        while (fd < 0) {
            name = target + ".glintbox-" +
                   QByteArray::number(QRandomGenerator::global()->generate(), 36);
            fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd < 0 && errno != EEXIST)
                throwErrno(errno, path);
        }
    }
    ~FileBeside()
    {
        if (fd >= 0)
            ::close(fd);
        if (!name.isEmpty())
            ::unlink(name.constData());
    }

    void flush()
    {
        const int file = std::exchange(fd, -1);
        int error = ::fsync(file) == 0 ? 0 : errno;
        if (::close(file) != 0 && error == 0)
            error = errno;
        if (error != 0)
            throwErrno(error, path);
    }

    void replaceTarget()
    {
        if (::rename(name.constData(), target.constData()) != 0)
            throwErrno(errno, path);
        name.clear();
    }
};

struct DirCloser {
    void operator()(DIR *dir) const { ::closedir(dir); }
};

} // namespace

void requireRegularFile(const FileStatus &status, const QString &path)
{
    if (!status.isRegular)
        throw RunTimeError(PathFileAccessError, path + QStringLiteral(" is not a regular file"));
}

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
    result.isRegular = S_ISREG(st.st_mode);
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
    const QByteArray name = encoded(path);
    struct stat st {};
    // A special file is refused before it is opened: opening a device may act.
    if (::stat(name.constData(), &st) != 0)
        throwErrno(errno, path);
    refuseUnlessRegular(st, path);
    // Without blocking, in case a pipe took the file's place since: it opens
    // at once and is refused like every other special file.
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        throwErrno(errno, path);
    FdCloser closer{fd};
    if (::fstat(fd, &st) != 0)
        throwErrno(errno, path);
    refuseUnlessRegular(st, path);
    // Read straight into the result, which the size fits with a byte to spare
    // to see the end; the size is a hint: the file may grow or shrink meanwhile.
    QByteArray data = uninitializedBytes(qsizetype(st.st_size) + 1);
    qsizetype filled = 0;
    for (;;) {
        if (filled == data.size())
            data.resize(data.size() * 2);
        const ssize_t got = ::read(fd, data.data() + filled, size_t(data.size() - filled));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            throwErrno(errno, path);
        }
        if (got == 0)
            break;
        filled += got;
    }
    data.truncate(filled);
    return data;
}

void LocalFileSystem::writeAll(const QString &path, const QByteArray &data)
{
    // By the name's bytes, so that a name that is not UTF-8 is replaced, not
    // joined by a look-alike. A link stays a link: its file is replaced.
    QByteArray target = encoded(path);
    char resolved[PATH_MAX];
    struct stat st {};
    if (::lstat(target.constData(), &st) == 0 && S_ISLNK(st.st_mode)) {
        if (!::realpath(target.constData(), resolved))
            throwErrno(errno, path);
        target = resolved;
    }
    const bool existed = ::stat(target.constData(), &st) == 0;
    beforeWriteStep(WriteStep::Create, path);
    FileBeside written(target, path);
    if (existed && ::fchmod(written.fd, st.st_mode & 07777) != 0)
        throwErrno(errno, path);
    for (qsizetype done = 0; done < data.size();) {
        beforeWriteStep(WriteStep::Write, path);
        const ssize_t got =
            ::write(written.fd, data.constData() + done, size_t(data.size() - done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            throwErrno(got < 0 ? errno : EIO, path);
        done += got;
    }
    beforeWriteStep(WriteStep::Flush, path);
    written.flush();
    beforeWriteStep(WriteStep::Rename, path);
    written.replaceTarget();
}

void LocalFileSystem::beforeWriteStep(WriteStep, const QString &)
{
}

void LocalFileSystem::remove(const QString &path)
{
    if (::unlink(encoded(path).constData()) != 0)
        throwErrno(errno, path);
}

void LocalFileSystem::makeFolders(const QString &path)
{
    const QByteArray name = encoded(path);
    for (qsizetype slash = name.indexOf('/', 1);; slash = name.indexOf('/', slash + 1)) {
        const QByteArray folder = slash < 0 ? name : name.left(slash);
        if (!folder.isEmpty() && ::mkdir(folder.constData(), 0777) != 0 && errno != EEXIST)
            throwErrno(errno, path, RunTimeError::Target::Folder);
        if (slash < 0)
            break;
    }
}

} // namespace glintbox
