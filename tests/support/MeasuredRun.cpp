#include "MeasuredRun.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryFile>
#include <QThread>

#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace glintbox {

MeasuredRun runMeasured(const QString &program, const QStringList &arguments, int timeoutMs)
{
    MeasuredRun run;
    QTemporaryFile output;
    if (!output.open())
        return run;
    // Everything the child needs is prepared before the fork.
    std::vector<QByteArray> storage{program.toLocal8Bit()};
    for (const QString &argument : arguments)
        storage.push_back(argument.toLocal8Bit());
    std::vector<char *> argv;
    for (QByteArray &item : storage)
        argv.push_back(item.data());
    argv.push_back(nullptr);

    QElapsedTimer clock;
    clock.start();
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(output.handle(), STDOUT_FILENO);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    if (child < 0)
        return run;
    int status = 0;
    rusage usage{};
    while (::wait4(child, &status, WNOHANG, &usage) == 0) {
        if (clock.elapsed() > timeoutMs) {
            ::kill(child, SIGKILL);
            ::wait4(child, &status, 0, &usage);
            return run;
        }
        QThread::msleep(20);
    }
    run.finished = WIFEXITED(status);
    run.exitCode = run.finished ? WEXITSTATUS(status) : -1;
    run.peakKiB = usage.ru_maxrss;
    run.cpuSeconds = double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                     double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    output.seek(0);
    run.output = QString::fromUtf8(output.readAll());
    return run;
}

} // namespace glintbox
