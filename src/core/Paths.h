#pragma once

#include <QString>

namespace glintbox {

// Path rules. "/" separates; a drive root ends in the separator and every
// other folder does not; a full path is the folder without its trailing
// separator, the separator, then the name (so a file in "/" is "/name").
constexpr QChar PathSeparator = u'/';

inline bool endsWithSeparator(const QString &path)
{
    return path.endsWith(PathSeparator);
}

// The folder as the file display keeps it: without a trailing separator
// ("/" becomes "", "/media/usb/" becomes "/media/usb").
inline QString folderWithoutSeparator(const QString &folder)
{
    return endsWithSeparator(folder) ? folder.chopped(1) : folder;
}

inline QString fullPath(const QString &folder, const QString &name)
{
    return folderWithoutSeparator(folder) + PathSeparator + name;
}

// The bare name of a full path.
inline QString fileNameOf(const QString &path)
{
    return path.mid(path.lastIndexOf(PathSeparator) + 1);
}

} // namespace glintbox
