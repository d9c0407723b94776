#pragma once

#include <QtGlobal>

#include <functional>

namespace glintbox {

// Bounds the work of one replay: a record count and a wall-clock limit, so a
// hostile or monstrous metafile ends its drawing instead of hanging the viewer.
class RenderBudget {
public:
    // Milliseconds from any fixed start; tests drive their own.
    using Clock = std::function<qint64()>;
    static qint64 steadyMilliseconds();

    explicit RenderBudget(qint64 milliseconds = 3000, qint64 maxRecords = 4'000'000,
                          Clock clock = &RenderBudget::steadyMilliseconds);

    // Counts one record; true once the budget is spent.
    bool spend();
    bool exhausted() const { return m_exhausted; }
    // Reads the clock now, for loops inside one costly record.
    bool overTime();

private:
    bool pastDeadline() const { return m_clock() - m_start > m_milliseconds; }

    Clock m_clock;
    qint64 m_start;
    qint64 m_milliseconds;
    qint64 m_maxRecords;
    qint64 m_records = 0;
    bool m_exhausted = false;
};

} // namespace glintbox
