#pragma once

#include "BrowserEngine.h"

#include <QByteArray>
#include <QString>
#include <QUrl>

namespace glintbox {

class FileSystem;

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

// Serves the files of one folder and its subfolders, read through the file
// layer; everything else is refused. Each document of the page scheme has an
// origin of its own, so no script reads another one.
class LocalPageFolder : public PageFiles {
public:
    explicit LocalPageFolder(FileSystem &fileSystem);

    // The folder of the page on show; empty serves nothing.
    void setFolder(const QString &folder);
    QString folder() const { return m_folder; }

    // A link into another folder serves that one from then on, and a page
    // from elsewhere gets none.
    void navigatingTo(const QUrl &url) override;
    Reply serve(const QUrl &url) override;

private:
    FileSystem &m_fileSystem;
    QString m_folder;
};

} // namespace glintbox
