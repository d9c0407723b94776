#pragma once

#include "core/ProgramStarter.h"
#include "core/RunTimeError.h"

#include <QStringList>
#include <optional>

namespace glintbox {

// Records the programs it is asked to start, or fails with a chosen error;
// nothing is ever run.
class RecordingStarter : public ProgramStarter {
public:
    QStringList started;
    std::optional<int> failWith;

    void start(const QString &path) override
    {
        if (failWith)
            throw RunTimeError(*failWith);
        started.append(path);
    }
};

} // namespace glintbox
