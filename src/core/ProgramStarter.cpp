#include "ProgramStarter.h"

#include "BrowserSandbox.h"
#include "RunTimeError.h"

#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QProcess>
#include <QStandardPaths>
#include <cerrno>

Q_LOGGING_CATEGORY(lcProgramStarter, "glintbox.programstarter")

namespace glintbox {

namespace {

bool beginsWithMz(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw RunTimeError::fromErrno(errno, RunTimeError::Target::File, path);
    return file.read(2) == "MZ";
}

} // namespace

std::optional<StartCommand> startCommandFor(const QString &path, const ProgramFileKind &kind,
                                            const QString &winePath)
{
    if (kind.isWindowsProgram && !winePath.isEmpty())
        return StartCommand{winePath, {path}};
    if (kind.isExecutable)
        return StartCommand{path, {}};
    return std::nullopt;
}

QProcessEnvironment startedProgramEnvironment(QProcessEnvironment environment)
{
    environment.remove(QString::fromLatin1(BrowserSandboxVariable));
    return environment;
}

ProgramStarter &ProgramStarter::local()
{
    static LocalProgramStarter starter;
    return starter;
}

void LocalProgramStarter::start(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        throw RunTimeError(FileNotFound, path);
    if (!info.isFile())
        throw RunTimeError(PathFileAccessError, path);
    const ProgramFileKind kind{info.isExecutable(), beginsWithMz(path)};
    const auto command =
        startCommandFor(path, kind, QStandardPaths::findExecutable(QStringLiteral("wine")));
    if (!command)
        throw RunTimeError(InvalidProcedureCall, path + QStringLiteral(" is not a program"));

    QProcess process;
    process.setProgram(command->program);
    process.setArguments(command->arguments);
    // A program finds the files it comes with beside itself.
    process.setWorkingDirectory(info.absolutePath());
    process.setProcessEnvironment(
        startedProgramEnvironment(QProcessEnvironment::systemEnvironment()));
    if (!process.startDetached()) {
        qCWarning(lcProgramStarter) << "cannot start" << command->program << process.errorString();
        throw RunTimeError(InvalidProcedureCall, process.errorString());
    }
}

} // namespace glintbox
