#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

namespace glintbox {

class DriveSource;
class FileSystem;
class Prompts;

// A file or folder the program was asked to open (a file manager's "Open
// with" passes its path): the lists start in its folder, as if the user had
// gone there, and a file is shown first.
struct StartTarget {
    QString driveText;
    QString folder;
    QString fileName; // empty when a folder was asked for
};

// The path named on the command line (its bytes as the file manager passed
// them: a name need not be UTF-8), made absolute against the working folder;
// empty when none is named.
QString openPathFromArguments(const QList<QByteArray> &arguments, const QString &workingFolder);

// Where the lists start for an absolute path. A path that cannot be read gets
// the shared error report, and start-up goes on as if none was named.
std::optional<StartTarget> startTargetOf(const QString &path, FileSystem &fs, DriveSource &drives,
                                         Prompts &prompts);

} // namespace glintbox
