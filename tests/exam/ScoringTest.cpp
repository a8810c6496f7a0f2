#include "exam/Scoring.h"

#include <gtest/gtest.h>

namespace tarnex {
namespace {

TEST(ScoringTest, ExactAnswerCountsAndIsNotMarked)
{
    const RowVerdict verdict = scoreObjectiveRow(QStringLiteral("abd"), QStringLiteral("abd"));
    EXPECT_TRUE(verdict.counts);
    EXPECT_FALSE(verdict.marked);
}

TEST(ScoringTest, ComparisonIsOnTrimmedText)
{
    const RowVerdict verdict = scoreObjectiveRow(QStringLiteral(" a\r\n"), QStringLiteral("\ta "));
    EXPECT_TRUE(verdict.counts);
    EXPECT_FALSE(verdict.marked);
}

TEST(ScoringTest, OtherOrderOrCaseCountsWrong)
{
    for (const QString& chosen : {QStringLiteral("dba"), QStringLiteral("ABD"), QStringLiteral("Abd"),
                                  QStringLiteral("ab"), QStringLiteral("abcd")}) {
        const RowVerdict verdict = scoreObjectiveRow(QStringLiteral("abd"), chosen);
        EXPECT_FALSE(verdict.counts) << chosen.toStdString();
        EXPECT_TRUE(verdict.marked) << chosen.toStdString();
    }
}

TEST(ScoringTest, UnansweredIsMarkedUnlessTheCorrectAnswerIsEmptyToo)
{
    RowVerdict verdict = scoreObjectiveRow(QStringLiteral("b"), QString());
    EXPECT_FALSE(verdict.counts);
    EXPECT_TRUE(verdict.marked);

    verdict = scoreObjectiveRow(QString(), QStringLiteral("  "));
    EXPECT_FALSE(verdict.counts);
    EXPECT_FALSE(verdict.marked);

    // An answer given to a question without a correct answer is wrong.
    verdict = scoreObjectiveRow(QString(), QStringLiteral("a"));
    EXPECT_FALSE(verdict.counts);
    EXPECT_TRUE(verdict.marked);
}

TEST(ScoringTest, TallyCountsAndListsMarkedNumbersInOrder)
{
    ScoreTally tally;
    tally.add(QStringLiteral(" 1 "), QStringLiteral("a"), QStringLiteral("a"));
    tally.add(QStringLiteral("2"), QStringLiteral("b"), QStringLiteral("c"));
    tally.add(QStringLiteral("10"), QStringLiteral("abd"), QStringLiteral("abd"));
    tally.add(QStringLiteral("11 "), QStringLiteral("abd"), QStringLiteral("ABD"));
    tally.add(QStringLiteral("20"), QStringLiteral("a"), QString());
    tally.add(QStringLiteral("21"), QString(), QString());
    EXPECT_EQ(tally.count(), 2);
    EXPECT_EQ(tally.markedQuestions(),
              QStringList({QStringLiteral("2"), QStringLiteral("11"), QStringLiteral("20")}));
}

} // namespace
} // namespace tarnex
