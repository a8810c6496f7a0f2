#include "Countdown.h"

#include <limits>

namespace tarnex {

QString countdownText(int minutes)
{
    // Widened first, so the smallest integer has a magnitude to print.
    const qint64 value = minutes;
    const qint64 magnitude = value < 0 ? -value : value;
    const QString digits = QStringLiteral("%1").arg(magnitude, 2, 10, QLatin1Char('0'));
    return value < 0 ? QLatin1Char('-') + digits : digits;
}

QString Countdown::tick()
{
    // An exam screen left open for four thousand years stops at the bottom instead of wrapping.
    if (m_minutes > std::numeric_limits<int>::min())
        --m_minutes;
    return text();
}

} // namespace tarnex
