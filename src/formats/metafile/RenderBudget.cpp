#include "RenderBudget.h"

#include <chrono>

namespace glintbox {

qint64 RenderBudget::steadyMilliseconds()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

RenderBudget::RenderBudget(qint64 milliseconds, qint64 maxRecords, Clock clock)
    : m_clock(std::move(clock))
    , m_start(m_clock())
    , m_milliseconds(milliseconds)
    , m_maxRecords(maxRecords)
{
}

bool RenderBudget::spend()
{
    if (m_exhausted)
        return true;
    // One record can cost tens of milliseconds, so the clock is read often.
    if (++m_records > m_maxRecords || ((m_records & 7) == 0 && pastDeadline()))
        m_exhausted = true;
    return m_exhausted;
}

bool RenderBudget::overTime()
{
    if (!m_exhausted && pastDeadline())
        m_exhausted = true;
    return m_exhausted;
}

} // namespace glintbox
