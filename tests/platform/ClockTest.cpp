#include "platform/Clock.h"

#include <gtest/gtest.h>

namespace tarnex {
namespace {

TEST(Clock, FixedTimeIsReturnedUntilCleared)
{
    const QDateTime fixed(QDate(2012, 4, 1), QTime(9, 30, 15));
    Clock::setNowForTesting(fixed);
    EXPECT_EQ(Clock::now(), fixed);
    EXPECT_EQ(Clock::now(), fixed) << "a fixed clock does not move";

    Clock::setNowForTesting(QDateTime());
    const QDateTime before = QDateTime::currentDateTime();
    const QDateTime now = Clock::now();
    const QDateTime after = QDateTime::currentDateTime();
    EXPECT_LE(before, now);
    EXPECT_LE(now, after);
    EXPECT_EQ(now.timeSpec(), Qt::LocalTime);
}

} // namespace
} // namespace tarnex
