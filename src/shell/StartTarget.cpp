#include "StartTarget.h"

#include "core/ErrorTrap.h"
#include "core/FileNameBytes.h"
#include "core/FileSystem.h"
#include "core/Paths.h"
#include "core/RunTimeError.h"
#include "core/lists/Drives.h"

#include <QDir>

namespace glintbox {

QString openPathFromArguments(const QList<QByteArray> &arguments, const QString &workingFolder)
{
    if (arguments.size() < 2 || arguments[1].isEmpty())
        return {};
    return QDir::cleanPath(QDir(workingFolder).absoluteFilePath(fileNameFromBytes(arguments[1])));
}

std::optional<StartTarget> startTargetOf(const QString &path, FileSystem &fs, DriveSource &drives,
                                         Prompts &prompts)
{
    StartTarget target;
    try {
        if (fs.status(path).isFolder) {
            target.folder = path;
        } else {
            const qsizetype separator = path.lastIndexOf(PathSeparator);
            target.folder = separator > 0 ? path.left(separator) : QString(PathSeparator);
            target.fileName = fileNameOf(path);
        }
    } catch (const RunTimeError &error) {
        showErrorReport(prompts, error);
        return std::nullopt;
    }
    const std::optional<Drive> drive = driveContaining(drives.drives(), target.folder);
    target.driveText = drive ? drive->text() : QString(PathSeparator);
    return target;
}

} // namespace glintbox
