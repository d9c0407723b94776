#pragma once

#include <QElapsedTimer>

namespace glintbox {

// Bounds the work of one replay: a record count and a wall-clock limit, so a
// hostile or monstrous metafile ends its drawing instead of hanging the viewer.
class RenderBudget {
public:
    explicit RenderBudget(qint64 milliseconds = 3000, qint64 maxRecords = 4'000'000)
        : m_milliseconds(milliseconds)
        , m_maxRecords(maxRecords)
    {
        m_timer.start();
    }

    // Counts one record; true once the budget is spent.
    bool spend()
    {
        if (m_exhausted)
            return true;
        // One record can cost tens of milliseconds, so the clock is read often.
        if (++m_records > m_maxRecords ||
            ((m_records & 7) == 0 && m_timer.hasExpired(m_milliseconds)))
            m_exhausted = true;
        return m_exhausted;
    }
    bool exhausted() const { return m_exhausted; }
    // Reads the clock now, for loops inside one costly record.
    bool overTime()
    {
        if (!m_exhausted && m_timer.hasExpired(m_milliseconds))
            m_exhausted = true;
        return m_exhausted;
    }

private:
    QElapsedTimer m_timer;
    qint64 m_milliseconds;
    qint64 m_maxRecords;
    qint64 m_records = 0;
    bool m_exhausted = false;
};

} // namespace glintbox
