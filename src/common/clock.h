#pragma once
// Where "now" comes from. Logic takes a Clock& and never reads the system
// clock itself, so that tests can fix the date a settlement period or a
// balance "as of today" depends on.

#include <QDate>
#include <QDateTime>

namespace fm {

class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
    // The workstation's date.
    QDate today() const { return now().date(); }
};

class SystemClock : public Clock {
public:
    QDateTime now() const override;
};

class FixedClock : public Clock {
public:
    explicit FixedClock(QDateTime t);
    void set(QDateTime t);
    QDateTime now() const override;

private:
    QDateTime m_now;
};

} // namespace fm
