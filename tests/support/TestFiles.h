#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace glintbox {

// Writes a file, making the folders on the way; false when it cannot.
bool writeFile(const QString &path, const QByteArray &content = {});

// Empty files below root, and folders for the names that end in "/".
bool makeFiles(const QString &root, const QStringList &names);

// A whole file, or nothing when it cannot be read.
QByteArray readFile(const QString &path);

} // namespace glintbox
