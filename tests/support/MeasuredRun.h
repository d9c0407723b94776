#pragma once

#include <QString>
#include <QStringList>

namespace glintbox {

// What a child process cost: its own peak memory and processor time, read from
// the kernel's accounting when it ends, so other work on the machine does not
// count.
struct MeasuredRun {
    bool finished = false; // false: killed at the time limit
    int exitCode = -1;
    QString output;     // standard output
    qint64 peakKiB = 0; // largest resident set
    double cpuSeconds = 0;
};

// Runs program with arguments and waits at most timeoutMs for it to end.
MeasuredRun runMeasured(const QString &program, const QStringList &arguments, int timeoutMs);

} // namespace glintbox
