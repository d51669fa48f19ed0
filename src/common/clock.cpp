#include "common/clock.h"

#include <utility>

namespace fm {

QDateTime SystemClock::now() const
{
    return QDateTime::currentDateTime();
}

FixedClock::FixedClock(QDateTime t)
    : m_now(std::move(t))
{
}

void FixedClock::set(QDateTime t)
{
    m_now = std::move(t);
}

QDateTime FixedClock::now() const
{
    return m_now;
}

} // namespace fm
