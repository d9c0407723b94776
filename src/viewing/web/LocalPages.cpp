#include "LocalPages.h"

#include "core/FileNameBytes.h"
#include "core/FileSystem.h"
#include "core/Paths.h"
#include "core/RunTimeError.h"
#include "viewing/modes/ViewMode.h"

#include <QDir>
#include <QLoggingCategory>
#include <QMimeDatabase>
#include <QStringDecoder>
#include <climits>
#include <cstdlib>

Q_LOGGING_CATEGORY(lcPageScheme, "glintbox.web.pages", QtWarningMsg)

namespace glintbox {

namespace {

// The path with every link resolved, or empty when it does not exist.
QString resolvedPath(const QString &path)
{
    char resolved[PATH_MAX];
    if (!::realpath(fileNameToBytes(path).constData(), resolved))
        return {};
    return fileNameFromBytes(resolved);
}

} // namespace

QUrl localPageUrl(const QString &path)
{
    const QString absolute = QDir::isAbsolutePath(path) ? path : QDir::currentPath() + u'/' + path;
    const qsizetype slash = absolute.lastIndexOf(u'/');
    const QString fileName = absolute.mid(slash + 1);
    QString folder = slash > 0 ? resolvedPath(absolute.left(slash)) : QStringLiteral("/");
    if (folder.isEmpty())
        folder = QDir::cleanPath(absolute.left(slash));
    QUrl url;
    url.setScheme(QString::fromLatin1(LocalPageScheme));
    // Set as a decoded path, '#', '?' and blanks stay part of the file name.
    url.setPath(folder.endsWith(u'/') ? folder + fileName : folder + u'/' + fileName,
                QUrl::DecodedMode);
    return url;
}

QString localPagePath(const QUrl &url)
{
    if (url.scheme() != QLatin1String(LocalPageScheme))
        return {};
    return url.path(QUrl::FullyDecoded);
}

bool isInsideFolder(const QString &folder, const QString &path)
{
    if (folder.isEmpty() || path.isEmpty())
        return false;
    if (folder == QLatin1String("/"))
        return path.startsWith(u'/');
    return path.startsWith(folder) && path.size() > folder.size() && path.at(folder.size()) == u'/';
}

QByteArray servedContentType(const QString &fileName, const QByteArray &content)
{
    static const QMimeDatabase database;
    const QByteArray type =
        isHtmlExt(fileExtOf(fileName))
            ? QByteArrayLiteral("text/html")
            : database.mimeTypeForFile(fileName, QMimeDatabase::MatchExtension).name().toLatin1();
    // A declaration is looked for where a page must make it, in its first bytes.
    if (!type.startsWith("text/") ||
        content.first(qMin<qsizetype>(content.size(), 1024)).toLower().contains("charset"))
        return type;
    QStringDecoder utf8(QStringDecoder::Utf8);
    [[maybe_unused]] const QString decoded = utf8.decode(content);
    return utf8.hasError() ? type : type + ";charset=utf-8";
}

LocalPageFolder::LocalPageFolder(FileSystem &fileSystem)
    : m_fileSystem(fileSystem)
{
}

void LocalPageFolder::setFolder(const QString &folder)
{
    m_folder = folder.isEmpty() ? QString() : resolvedPath(folder);
}

void LocalPageFolder::navigatingTo(const QUrl &url)
{
    const QString path = localPagePath(url);
    setFolder(path.left(qMax<qsizetype>(1, path.lastIndexOf(u'/'))));
}

PageFiles::Reply LocalPageFolder::serve(const QUrl &url)
{
    const QString requested = localPagePath(url);
    // Links are resolved first, so none leads out of the folder.
    const QString path = resolvedPath(requested);
    if (path.isEmpty())
        return {Outcome::NotFound, {}, {}};
    if (!isInsideFolder(m_folder, path)) {
        qCDebug(lcPageScheme) << "outside the page's folder:" << requested;
        return {Outcome::Denied, {}, {}};
    }
    Reply reply{Outcome::Served, {}, {}};
    try {
        reply.content = m_fileSystem.readAll(path);
    } catch (const RunTimeError &error) {
        qCDebug(lcPageScheme) << requested << error.number() << error.detail();
        return {error.number() == PermissionDenied ? Outcome::Denied : Outcome::Failed, {}, {}};
    }
    reply.contentType = servedContentType(fileNameOf(requested), reply.content);
    return reply;
}

} // namespace glintbox
