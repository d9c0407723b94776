#pragma once

#include <QDir>
#include <QString>
#include <QStringList>

namespace glintbox {

// The shared corpus of real-world files beside the project (read-only).
inline QString corpusFolder()
{
    const QByteArray fromEnv = qgetenv("GLINTBOX_CORPUS");
    return fromEnv.isEmpty() ? QStringLiteral("../shared/corpus") : QString::fromLocal8Bit(fromEnv);
}

// Every file below a corpus subfolder, sorted, as absolute paths.
QStringList corpusFiles(const QString &subfolder, const QStringList &nameFilters = {});

} // namespace glintbox
