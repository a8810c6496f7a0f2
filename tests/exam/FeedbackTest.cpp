#include "exam/Feedback.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace tarnex {
namespace {

const QString Basics = QStringLiteral("会计基础");

QString phraseFor(const QString& subject, int count, RotationCounters counters = {})
{
    return chooseFeedbackPhrase(subject, count, counters).phrase;
}

TEST(FeedbackTest, ComputerAccountingBandsAtEveryBoundary)
{
    const QString subject = computerAccountingSubject();
    const QString low = QStringLiteral("亲还得努力！");
    const QString near = QStringLiteral("亲离过关 只有一步之遥！");
    EXPECT_EQ(phraseFor(subject, 0), low);
    EXPECT_EQ(phraseFor(subject, 14), low);
    EXPECT_EQ(phraseFor(subject, 15), near);
    EXPECT_EQ(phraseFor(subject, 17), near);
    EXPECT_EQ(phraseFor(subject, 18), QString());
    EXPECT_EQ(phraseFor(subject, 36), QString());
    EXPECT_EQ(phraseFor(subject, 60), QString());
    for (int count : {0, 14, 15, 17, 18, 35, 36, 53, 54, 59, 60})
        EXPECT_EQ(chooseFeedbackPhrase(subject, count, {}).rotationCode, 0) << count;
}

TEST(FeedbackTest, ComputerAccountingSubjectIsComparedTrimmed)
{
    EXPECT_EQ(phraseFor(QStringLiteral(" 初级会计电算化\t"), 15), QStringLiteral("亲离过关 只有一步之遥！"));
    // Any other spelling is another subject with the rotating bands.
    EXPECT_EQ(phraseFor(QStringLiteral("初级会计电算"), 15), lowestBandPhrase(1));
}

TEST(FeedbackTest, OtherSubjectBandsAtEveryBoundary)
{
    const RotationCounters counters{2, 3, 1};
    EXPECT_EQ(phraseFor(Basics, 0, counters), QStringLiteral("正确率还不足30% 亲 再学习吗?"));
    EXPECT_EQ(phraseFor(Basics, 14, counters), QStringLiteral("正确率还不足30% 亲 再学习吗?"));
    EXPECT_EQ(phraseFor(Basics, 15, counters), QStringLiteral("正确率还不足30% 亲 再学习吗?"));
    EXPECT_EQ(phraseFor(Basics, 17, counters), QStringLiteral("正确率还不足30% 亲 再学习吗?"));
    const QString second = QStringLiteral("正确率还不足60% 亲 你不用去考试了，再去就是浪费时间！");
    EXPECT_EQ(phraseFor(Basics, 18, counters), second);
    EXPECT_EQ(phraseFor(Basics, 35, counters), second);
    const QString good = QStringLiteral("正确率60%－90% 亲 继续努力过关没问题！");
    EXPECT_EQ(phraseFor(Basics, 36, counters), good);
    EXPECT_EQ(phraseFor(Basics, 53, counters), good);
    const QString near = QStringLiteral("正确率90%－100% 亲 离过关只有一步之遥！");
    EXPECT_EQ(phraseFor(Basics, 54, counters), near);
    EXPECT_EQ(phraseFor(Basics, 59, counters), near);
    const QString full = QStringLiteral("正确率100% 亲 你真的很棒 ^_^ ！");
    EXPECT_EQ(phraseFor(Basics, 60, counters), full);
    EXPECT_EQ(phraseFor(Basics, 300, counters), full);

    EXPECT_EQ(chooseFeedbackPhrase(Basics, 17, counters).rotationCode, RotationCounters::SanBand);
    EXPECT_EQ(chooseFeedbackPhrase(Basics, 18, counters).rotationCode, RotationCounters::LiuBand);
    EXPECT_EQ(chooseFeedbackPhrase(Basics, 35, counters).rotationCode, RotationCounters::LiuBand);
    EXPECT_EQ(chooseFeedbackPhrase(Basics, 36, counters).rotationCode, 0);
    EXPECT_EQ(chooseFeedbackPhrase(Basics, 60, counters).rotationCode, 0);
}

TEST(FeedbackTest, RotatingPhrasesByCounterValue)
{
    EXPECT_EQ(lowestBandPhrase(1), QStringLiteral("正确率不足30% 亲 你还得努力！"));
    EXPECT_EQ(lowestBandPhrase(2), QStringLiteral("正确率还不足30% 亲 再学习吗?"));
    EXPECT_EQ(lowestBandPhrase(3), QStringLiteral("正确率还不足30% 亲 你不用去考试了，再去就是浪费时间！"));
    EXPECT_EQ(secondBandPhrase(1), QStringLiteral("正确率不足60% 假如真的考试 你会不及格的！"));
    EXPECT_EQ(secondBandPhrase(2), QStringLiteral("正确率还不足60% 亲 再学习吗?"));
    EXPECT_EQ(secondBandPhrase(3), QStringLiteral("正确率还不足60% 亲 你不用去考试了，再去就是浪费时间！"));
    for (int outside : {0, -1, 4, 7, 1000}) {
        EXPECT_EQ(lowestBandPhrase(outside), QString()) << outside;
        EXPECT_EQ(secondBandPhrase(outside), QString()) << outside;
    }
}

TEST(FeedbackTest, MessageLinesEndWithLineFeedThenCarriageReturn)
{
    EXPECT_EQ(scoreMessage(12, QStringLiteral("P")),
              QStringLiteral("单选、多选、是非题，答对数：12 题\n\r其它题型 答对数：未统计\n\rP"));
    EXPECT_EQ(scoreMessage(0, QString()),
              QStringLiteral("单选、多选、是非题，答对数：0 题\n\r其它题型 答对数：未统计\n\r"));
}

TEST(FeedbackTest, HandInChoosesWithOldCountersAndAdvancesOnlyRotatingBands)
{
    HandInFeedback feedback = composeHandInFeedback(Basics, 3, {1, 1, 1});
    EXPECT_EQ(feedback.message, scoreMessage(3, QStringLiteral("正确率不足30% 亲 你还得努力！")));
    EXPECT_TRUE(feedback.rotates());
    EXPECT_EQ(feedback.counters, (RotationCounters{2, 1, 1}));

    feedback = composeHandInFeedback(Basics, 20, {2, 3, 1});
    EXPECT_EQ(feedback.message,
              scoreMessage(20, QStringLiteral("正确率还不足60% 亲 你不用去考试了，再去就是浪费时间！")));
    EXPECT_EQ(feedback.counters, (RotationCounters{2, 1, 1}));

    feedback = composeHandInFeedback(Basics, 40, {2, 3, 5});
    EXPECT_FALSE(feedback.rotates());
    EXPECT_EQ(feedback.counters, (RotationCounters{2, 3, 5}));

    feedback = composeHandInFeedback(computerAccountingSubject(), 2, {3, 3, 3});
    EXPECT_EQ(feedback.message, scoreMessage(2, QStringLiteral("亲还得努力！")));
    EXPECT_FALSE(feedback.rotates());
    EXPECT_EQ(feedback.counters, (RotationCounters{3, 3, 3}));

    feedback = composeHandInFeedback(computerAccountingSubject(), 18, {1, 1, 1});
    EXPECT_EQ(feedback.message, scoreMessage(18, QString()));
    EXPECT_TRUE(feedback.message.endsWith(QStringLiteral("未统计\n\r")));
}

TEST(FeedbackTest, CounterOutsideTheCycleGivesNoPhraseButStillRotates)
{
    HandInFeedback feedback = composeHandInFeedback(Basics, 0, {7, 1, 1});
    EXPECT_EQ(feedback.message, scoreMessage(0, QString()));
    EXPECT_EQ(feedback.counters.san, 1);

    feedback = composeHandInFeedback(Basics, 30, {1, -2, 1});
    EXPECT_EQ(feedback.message, scoreMessage(30, QString()));
    EXPECT_EQ(feedback.counters.liu, -1);
}

TEST(FeedbackTest, ThreeHandInsInTheLowestBandShowItsThreePhrasesInTurn)
{
    RotationCounters counters;
    QStringList seen;
    for (int i = 0; i < 4; ++i) {
        const HandInFeedback feedback = composeHandInFeedback(Basics, 5, counters);
        seen.append(feedback.message.section(QStringLiteral("\n\r"), 2));
        counters = feedback.counters;
    }
    EXPECT_EQ(seen, QStringList({lowestBandPhrase(1), lowestBandPhrase(2), lowestBandPhrase(3),
                                 lowestBandPhrase(1)}));
    EXPECT_EQ(counters.liu, 1); // the other band keeps its place
}

} // namespace
} // namespace tarnex
