#include "FileNameBytes.h"
#include "FileSystem.h"
#include "RunTimeError.h"

#include <cerrno>
#include <climits>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace glintbox {

namespace {

constexpr int FolderOpenFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;

[[noreturn]] void throwFolderError(int errnoValue, const QString &path)
{
    throw RunTimeError::fromErrno(errnoValue, RunTimeError::Target::Folder, path);
}

// Opens a relative or absolute path below base; a path too long for one
// request is opened a piece at a time. Returns -1 with errno set on failure.
int openFolderAt(int base, const QByteArray &path, int flags)
{
    if (path.size() < PATH_MAX)
        return ::openat(base, path.constData(), flags);
    int current = base;
    qsizetype start = 0;
    while (start < path.size()) {
        qsizetype end = path.size();
        if (end - start >= PATH_MAX)
            end = path.lastIndexOf('/', start + PATH_MAX - 1);
        if (end <= start) {
            if (current != base)
                ::close(current);
            errno = ENAMETOOLONG;
            return -1;
        }
        const QByteArray piece = path.mid(start, end - start);
        const int next = ::openat(current, piece.constData(), flags);
        const int error = errno;
        if (current != base)
            ::close(current);
        if (next < 0) {
            errno = error;
            return -1;
        }
        current = next;
        start = end + 1;
    }
    return current;
}

EntryKind kindOfMode(mode_t mode)
{
    if (S_ISDIR(mode))
        return EntryKind::Folder;
    return S_ISREG(mode) ? EntryKind::File : EntryKind::Other;
}

// The kind of an entry, reading the file system only for links and for file
// systems that do not give the kind with the name. An entry that cannot be
// read is of no kind the walk uses; it never ends the walk.
WalkEntry entryOf(int folder, const dirent &entry)
{
    WalkEntry result{fileNameFromBytes(QByteArrayView(entry.d_name)), EntryKind::Other, false};
    struct stat st {};
    switch (entry.d_type) {
    case DT_DIR:
        result.kind = EntryKind::Folder;
        return result;
    case DT_REG:
        result.kind = EntryKind::File;
        return result;
    case DT_LNK:
        result.isSymlink = true;
        break;
    case DT_UNKNOWN:
        if (::fstatat(folder, entry.d_name, &st, AT_SYMLINK_NOFOLLOW) != 0)
            return result;
        result.isSymlink = S_ISLNK(st.st_mode);
        if (!result.isSymlink) {
            result.kind = kindOfMode(st.st_mode);
            return result;
        }
        break;
    default:
        return result;
    }
    if (::fstatat(folder, entry.d_name, &st, 0) == 0)
        result.kind = kindOfMode(st.st_mode);
    return result;
}

struct DirCloser {
    void operator()(DIR *dir) const { ::closedir(dir); }
};

} // namespace

OpenFolder::~OpenFolder()
{
    ::close(m_descriptor);
}

WalkFolder LocalFileSystem::openForWalk(const QString &path, const OpenFolder *ancestor)
{
    int base = AT_FDCWD;
    // The folder a walk starts in may be reached through a link, as the user
    // chose it; below it, a link is never followed.
    int flags = FolderOpenFlags;
    QStringView relative = path;
    if (ancestor && path.startsWith(ancestor->path())) {
        base = ancestor->descriptor();
        flags |= O_NOFOLLOW;
        relative = relative.mid(ancestor->path().size());
        while (relative.startsWith(u'/'))
            relative = relative.mid(1);
    }
    const int descriptor = openFolderAt(base, fileNameToBytes(relative), flags);
    if (descriptor < 0)
        throwFolderError(errno, path);
    WalkFolder result;
    result.folder = std::make_unique<OpenFolder>(path, descriptor);

    struct stat st {};
    if (::fstat(descriptor, &st) != 0)
        throwFolderError(errno, path);
    result.identity = {quint64(st.st_dev), quint64(st.st_ino)};

    // The listing reads through its own descriptor and leaves the folder's
    // open for its subfolders.
    const int listing = ::fcntl(descriptor, F_DUPFD_CLOEXEC, 0);
    if (listing < 0)
        throwFolderError(errno, path);
    std::unique_ptr<DIR, DirCloser> dir(::fdopendir(listing));
    if (!dir) {
        const int error = errno;
        ::close(listing);
        throwFolderError(error, path);
    }
    errno = 0;
    while (const dirent *entry = ::readdir(dir.get())) {
        const char *name = entry->d_name;
        if (!(name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0))))
            result.entries.push_back(entryOf(descriptor, *entry));
        errno = 0;
    }
    if (errno != 0)
        throwFolderError(errno, path);
    return result;
}

} // namespace glintbox
