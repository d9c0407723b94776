#include "RunTimeError.h"

#include <cerrno>

namespace glintbox {

RunTimeError::RunTimeError(int number)
    : RunTimeError(number, QString())
{
}

RunTimeError::RunTimeError(int number, QString detail)
    : m_number(number)
    , m_detail(std::move(detail))
{
    m_what = QStringLiteral("Error %1: %2").arg(number).arg(description()).toUtf8();
    if (!m_detail.isEmpty())
        m_what += " (" + m_detail.toUtf8() + ')';
}

QString RunTimeError::description() const
{
    return standardDescription(m_number);
}

const char *RunTimeError::what() const noexcept
{
    return m_what.constData();
}

QString RunTimeError::standardDescription(int number)
{
    switch (number) {
    case InvalidProcedureCall:
        return QStringLiteral("Invalid procedure call or argument");
    case Overflow:
        return QStringLiteral("Overflow");
    case OutOfMemory:
        return QStringLiteral("Out of memory");
    case TypeMismatch:
        return QStringLiteral("Type mismatch");
    case FileNotFound:
        return QStringLiteral("File not found");
    case DeviceIoError:
        return QStringLiteral("Device I/O error");
    case DiskFull:
        return QStringLiteral("Disk full");
    case InputPastEndOfFile:
        return QStringLiteral("Input past end of file");
    case DeviceUnavailable:
        return QStringLiteral("Device unavailable");
    case PermissionDenied:
        return QStringLiteral("Permission denied");
    case PathFileAccessError:
        return QStringLiteral("Path/File access error");
    case PathNotFound:
        return QStringLiteral("Path not found");
    case InvalidPropertyValue:
        return QStringLiteral("Invalid property value");
    case InvalidPicture:
        return QStringLiteral("Invalid picture");
    case PrinterError:
        return QStringLiteral("Printer error");
    }
    return QStringLiteral("Application-defined or object-defined error");
}

RunTimeError RunTimeError::fromErrno(int errnoValue, Target target, const QString &detail)
{
    switch (errnoValue) {
    case ENOENT:
    case ENOTDIR:
        return RunTimeError(target == Target::Folder ? PathNotFound : FileNotFound, detail);
    case EACCES:
    case EPERM:
    case EROFS:
        return RunTimeError(PermissionDenied, detail);
    case ENOSPC:
    case EDQUOT:
        return RunTimeError(DiskFull, detail);
    case EIO:
        return RunTimeError(DeviceIoError, detail);
    case ENODEV:
    case ENXIO:
    case ENOMEDIUM:
        return RunTimeError(DeviceUnavailable, detail);
    case ENOMEM:
        return RunTimeError(OutOfMemory, detail);
    case EISDIR:
    case ENAMETOOLONG:
    case ELOOP:
    case EBUSY:
    case ETXTBSY:
        return RunTimeError(PathFileAccessError, detail);
    }
    return RunTimeError(PathFileAccessError, detail);
}

} // namespace glintbox
