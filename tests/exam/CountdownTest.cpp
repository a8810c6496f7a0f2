#include "exam/Countdown.h"

#include <gtest/gtest.h>

#include <limits>

namespace tarnex {
namespace {

TEST(CountdownTest, TextHasAtLeastTwoDigitsAndTheSignFirst)
{
    EXPECT_EQ(countdownText(60), QStringLiteral("60"));
    EXPECT_EQ(countdownText(59), QStringLiteral("59"));
    EXPECT_EQ(countdownText(10), QStringLiteral("10"));
    EXPECT_EQ(countdownText(5), QStringLiteral("05"));
    EXPECT_EQ(countdownText(0), QStringLiteral("00"));
    EXPECT_EQ(countdownText(-1), QStringLiteral("-01"));
    EXPECT_EQ(countdownText(-9), QStringLiteral("-09"));
    EXPECT_EQ(countdownText(-12), QStringLiteral("-12"));
    EXPECT_EQ(countdownText(123), QStringLiteral("123"));
    EXPECT_EQ(countdownText(-123), QStringLiteral("-123"));
    EXPECT_EQ(countdownText(std::numeric_limits<int>::min()), QStringLiteral("-2147483648"));
}

TEST(CountdownTest, TicksPastZeroWithoutStopping)
{
    Countdown countdown;
    EXPECT_EQ(countdown.minutes(), 60);
    EXPECT_EQ(countdown.text(), QStringLiteral("60"));
    EXPECT_EQ(countdown.tick(), QStringLiteral("59"));
    for (int i = 0; i < 54; ++i)
        countdown.tick();
    EXPECT_EQ(countdown.text(), QStringLiteral("05"));
    for (int i = 0; i < 5; ++i)
        countdown.tick();
    EXPECT_EQ(countdown.text(), QStringLiteral("00"));
    EXPECT_EQ(countdown.tick(), QStringLiteral("-01"));
    for (int i = 0; i < 11; ++i)
        countdown.tick();
    EXPECT_EQ(countdown.text(), QStringLiteral("-12"));
    EXPECT_EQ(countdown.minutes(), -12);
}

} // namespace
} // namespace tarnex
