#pragma once

#include <QString>
#include <exception>

namespace glintbox {

// The run-time error numbers the program reports, with their standard descriptions.
enum ErrorNumber : int {
    InvalidProcedureCall = 5,
    Overflow = 6,
    OutOfMemory = 7,
    TypeMismatch = 13,
    FileNotFound = 53,
    DeviceIoError = 57,
    DiskFull = 61,
    InputPastEndOfFile = 62,
    DeviceUnavailable = 68,
    PermissionDenied = 70,
    PathFileAccessError = 75,
    PathNotFound = 76,
    InvalidPropertyValue = 380,
    InvalidPicture = 481,
    PrinterError = 482,
};

// A run-time error: a number and its standard description. Handlers throw it;
// the trap at the edge of each handler reports it (see ErrorTrap.h).
class RunTimeError : public std::exception {
public:
    explicit RunTimeError(int number);
    RunTimeError(int number, QString detail);

    int number() const { return m_number; }
    // The standard description of the number, as shown to the user.
    QString description() const;
    // What went wrong in the program's own words, for logs; may be empty.
    QString detail() const { return m_detail; }
    const char *what() const noexcept override;

    static QString standardDescription(int number);

    // Maps an errno value onto the error numbers above. A missing file and a
    // missing folder differ only in what was asked for.
    enum class Target { File, Folder };
    static RunTimeError fromErrno(int errnoValue, Target target = Target::File,
                                  const QString &detail = {});

private:
    int m_number;
    QString m_detail;
    QByteArray m_what;
};

} // namespace glintbox
