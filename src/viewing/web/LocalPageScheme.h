#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>
#include <QWebEngineUrlSchemeHandler>

namespace glintbox {

class FileSystem;

// Local pages are shown through a scheme of our own, not as file URLs: the
// engine would let a file page's scripts read every file the user can read.
// Each document of the scheme has an origin of its own, so no script reads
// another one; the scheme serves the shown page's folder, with its subfolders,
// and nothing else.
constexpr char LocalPageScheme[] = "glintbox-page";

// Registers the scheme with the browser engine; must run before the engine
// starts, and may run more than once.
void registerLocalPageScheme();

// The URL of a local page. The folder is resolved by the file system, so that
// "link/.." means what it means to every other program, not what a text rule
// makes of it.
QUrl localPageUrl(const QString &path);
// The file a URL of the scheme names; empty for any other URL.
QString localPagePath(const QUrl &url);

// Whether a file lies in the folder or below it (both resolved paths).
bool isInsideFolder(const QString &folder, const QString &path);

// What a served file is: a page by its last three characters, as the viewer
// decides ("pagehtml" too), anything else by its extension. Text that names no
// encoding of its own is UTF-8 when its bytes are valid UTF-8, as the viewer
// reads text files; otherwise the engine's default, Windows-1252.
QByteArray servedContentType(const QString &fileName, const QByteArray &content);

// Answers the scheme's requests with the files of one folder and its subfolders,
// read through the file layer; everything else is refused.
class LocalPageSchemeHandler : public QWebEngineUrlSchemeHandler {
    Q_OBJECT
public:
    LocalPageSchemeHandler(FileSystem &fileSystem, QObject *parent = nullptr);

    // The folder of the page on show; empty serves nothing.
    void setFolder(const QString &folder);
    QString folder() const { return m_folder; }

    void requestStarted(QWebEngineUrlRequestJob *job) override;

private:
    FileSystem &m_fileSystem;
    QString m_folder;
};

} // namespace glintbox
