#pragma once

#include <QDateTime>

namespace tarnex {

// The local time; tests fix it.
class Clock
{
public:
    static QDateTime now();
    static void setNowForTesting(const QDateTime& fixed); // invalid QDateTime: real clock again
};

} // namespace tarnex
