#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace glintbox {

bool writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    return QDir().mkpath(QFileInfo(path).path()) && file.open(QIODevice::WriteOnly) &&
           file.write(content) == content.size();
}

bool makeFiles(const QString &root, const QStringList &names)
{
    bool made = true;
    for (const QString &name : names) {
        const QString path = root + u'/' + name;
        made = (name.endsWith(u'/') ? QDir().mkpath(path) : writeFile(path)) && made;
    }
    return made;
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace glintbox
