#include "Clock.h"

namespace tarnex {
namespace {
QDateTime& fixedNow()
{
    static QDateTime fixed;
    return fixed;
}
} // namespace

QDateTime Clock::now()
{
    if (fixedNow().isValid())
        return fixedNow();
    return QDateTime::currentDateTime();
}

void Clock::setNowForTesting(const QDateTime& fixed)
{
    fixedNow() = fixed;
}

} // namespace tarnex
