#pragma once

#include <QString>

namespace tarnex {

// The minutes as the countdown label shows them: at least two digits, a minus sign before the
// digits of a negative value (59 -> "59", 5 -> "05", 0 -> "00", -1 -> "-01", -12 -> "-12").
QString countdownText(int minutes);

// The minutes left of an exam. It only counts: nothing happens at zero, the count goes on below it.
class Countdown
{
public:
    static constexpr int StartMinutes = 60;
    static constexpr int TickIntervalMs = 60000;

    int minutes() const { return m_minutes; }
    QString text() const { return countdownText(m_minutes); }
    // One minute passed; returns the new text.
    QString tick();

private:
    int m_minutes = StartMinutes;
};

} // namespace tarnex
