#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <optional>

namespace glintbox {

// How a program file is started: the program to run and its arguments. The
// file's own name is always one argument, never text for a shell.
struct StartCommand {
    QString program;
    QStringList arguments;

    friend bool operator==(const StartCommand &, const StartCommand &) = default;
};

// What the launch rule needs to know about the file.
struct ProgramFileKind {
    bool isExecutable = false;
    // The file begins with "MZ", the mark of a Windows program.
    bool isWindowsProgram = false;
};

// The launch rule: a Windows program runs through wine when wine is present
// (winePath not empty); any other executable file starts directly; anything
// else cannot be started.
std::optional<StartCommand> startCommandFor(const QString &path, const ProgramFileKind &kind,
                                            const QString &winePath);

// The environment a started program gets: the program's own, without what
// belongs to its engines alone (the browser's sandbox switch).
QProcessEnvironment startedProgramEnvironment(QProcessEnvironment environment);

// Starts a program file as a separate process, with no arguments, without
// waiting for it or keeping its identity. Throws RunTimeError when the file
// is missing, is not a program or cannot be started. Tests install a fake.
class ProgramStarter {
public:
    virtual ~ProgramStarter() = default;
    virtual void start(const QString &path) = 0;

    // The real one.
    static ProgramStarter &local();
};

class LocalProgramStarter : public ProgramStarter {
public:
    void start(const QString &path) override;
};

} // namespace glintbox
