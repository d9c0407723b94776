#include "Corpus.h"

#include <QDirIterator>

namespace glintbox {

QStringList corpusFiles(const QString &subfolder, const QStringList &nameFilters)
{
    QStringList files;
    QDirIterator it(corpusFolder() + u'/' + subfolder, nameFilters, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        files.append(it.next());
    files.sort();
    return files;
}

} // namespace glintbox
