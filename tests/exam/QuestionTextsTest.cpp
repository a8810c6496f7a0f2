#include "exam/QuestionTexts.h"
#include "exam/ExamWindowRules.h"
#include "exam/NavigationList.h"
#include "exam/QuestionKind.h"

#include <gtest/gtest.h>

using namespace tarnex;

TEST(QuestionKind, TablesRootsAndPagesFollowTheIndexOrder)
{
    const QStringList tables = {u"dds"_qs, u"duo"_qs, u"sf"_qs, u"jsfx"_qs, u"anli"_qs, u"ws"_qs};
    const QStringList roots = {u"单选题"_qs,   u"多选题"_qs,   u"是非题"_qs,
                               u"计算分析"_qs, u"案例分析"_qs, u"实务操作"_qs};
    for (int i = 0; i < QuestionKindCount; ++i) {
        const QuestionKind kind = kindAt(i);
        EXPECT_EQ(kindIndex(kind), i);
        EXPECT_EQ(kindTable(kind), tables.at(i));
        EXPECT_EQ(kindRootText(kind), roots.at(i));
        EXPECT_EQ(kindOfRootText(roots.at(i)), kind);
    }
    EXPECT_FALSE(kindOfRootText(u"单选题 "_qs).has_value());
    EXPECT_FALSE(kindOfRootText(u"1"_qs).has_value());
    EXPECT_FALSE(kindOfRootText(QString()).has_value());

    EXPECT_EQ(kindRichTextColumns(QuestionKind::MultipleChoice),
              (QStringList{u"tou"_qs, u"wei"_qs, u"ping"_qs}));
    EXPECT_EQ(kindRichTextColumns(QuestionKind::TrueFalse), (QStringList{u"tou"_qs, u"ping"_qs}));
    EXPECT_TRUE(isObjectiveKind(QuestionKind::TrueFalse));
    EXPECT_FALSE(isObjectiveKind(QuestionKind::Case));
    EXPECT_TRUE(hasSubQuestions(QuestionKind::Calculation));
    EXPECT_FALSE(hasSubQuestions(QuestionKind::Practical));
}

TEST(QuestionTexts, HeadingJoinsRootAndNumber)
{
    EXPECT_EQ(questionHeading(u"多选题"_qs, u"25"_qs), u"多选题 第25题");
    EXPECT_EQ(questionHeading(u"实务操作"_qs, u"007"_qs), u"实务操作 第007题");
}

TEST(QuestionTexts, CorrectAnswerLineByKind)
{
    CorrectAnswer answer;
    answer.da = u" ac "_qs;
    EXPECT_EQ(correctAnswerLine(QuestionKind::MultipleChoice, answer), u"正确答案：AC");
    answer.da = u"b"_qs;
    EXPECT_EQ(correctAnswerLine(QuestionKind::SingleChoice, answer), u"正确答案：B");

    answer.da = u" a"_qs;
    EXPECT_EQ(correctAnswerLine(QuestionKind::TrueFalse, answer), u"正确答案： 正确");
    answer.da = u"b"_qs;
    EXPECT_EQ(correctAnswerLine(QuestionKind::TrueFalse, answer), u"正确答案： 错误");
    answer.da = u""_qs;
    EXPECT_EQ(correctAnswerLine(QuestionKind::TrueFalse, answer), u"正确答案： 错误");

    CorrectAnswer sub;
    sub.subAnswers = {u"a"_qs, u" bc"_qs, u""_qs, u"abcd"_qs, u"d "_qs};
    EXPECT_EQ(correctAnswerLine(QuestionKind::Case, sub), u"正确答案(1-5)：A\\BC\\\\ABCD\\D");
    sub.leixing = u"选择型"_qs;
    EXPECT_EQ(correctAnswerLine(QuestionKind::Calculation, sub), u"正确答案(1-5)：A\\BC\\\\ABCD\\D");
    sub.leixing = u"答题型"_qs;
    EXPECT_EQ(correctAnswerLine(QuestionKind::Calculation, sub), u"正确答案：");
    sub.leixing.clear();
    EXPECT_EQ(correctAnswerLine(QuestionKind::Calculation, sub), u"正确答案：");
    EXPECT_EQ(correctAnswerLine(QuestionKind::Practical, sub), u"正确答案：");
    EXPECT_EQ(bareCorrectAnswerLine(), u"正确答案：");
}

TEST(QuestionTexts, StartTimeLineUsesTwentyFourHoursAndTwoDigits)
{
    const QDateTime morning(QDate(2012, 6, 2), QTime(9, 5, 7));
    EXPECT_EQ(startTimeLine(morning), u"    开始考试时间：2012-06-02 09:05:07");
    const QDateTime evening(QDate(2013, 12, 31), QTime(23, 59, 0));
    EXPECT_EQ(startTimeLine(evening), u"    开始考试时间：2013-12-31 23:59:00");
    EXPECT_EQ(candidateName(), u"路人甲");
    EXPECT_EQ(admissionTicketNumber(), u"37012011210323499");
}

TEST(NavigationList, IndexIgnoresCaseAndTakesTheFirstEqualEntry)
{
    NavigationList list;
    for (const QString& n : {u"1"_qs, u"2a"_qs, u"10"_qs, u"2A"_qs})
        list.append(n);
    EXPECT_EQ(list.indexOf(u"2A"_qs), 1);
    EXPECT_EQ(list.indexOf(u"10"_qs), 2);
    EXPECT_EQ(list.indexOf(u"01"_qs), -1);
    EXPECT_EQ(list.indexOf(u" 1"_qs), -1);
}

TEST(NavigationList, StepsStopAtBothEnds)
{
    NavigationList list;
    int position = -1;
    EXPECT_EQ(list.stepNext(position), NavigationList::Step::Nothing);
    EXPECT_EQ(list.stepPrevious(position), NavigationList::Step::Nothing);
    EXPECT_EQ(position, -1);

    list.append(u"1"_qs);
    list.append(u"2"_qs);
    list.append(u"3"_qs);
    position = 0;
    EXPECT_EQ(list.stepPrevious(position), NavigationList::Step::AtBoundary);
    EXPECT_EQ(position, 0);
    EXPECT_EQ(list.stepNext(position), NavigationList::Step::Moved);
    EXPECT_EQ(list.stepNext(position), NavigationList::Step::Moved);
    EXPECT_EQ(position, 2);
    EXPECT_EQ(list.stepNext(position), NavigationList::Step::AtBoundary);
    EXPECT_EQ(position, 2);
    EXPECT_EQ(list.stepPrevious(position), NavigationList::Step::Moved);
    EXPECT_EQ(position, 1);

    // A question outside the list (position -1): next starts at the first entry, previous is at
    // the start already.
    position = -1;
    EXPECT_EQ(list.stepPrevious(position), NavigationList::Step::AtBoundary);
    EXPECT_EQ(list.stepNext(position), NavigationList::Step::Moved);
    EXPECT_EQ(position, 0);

    EXPECT_EQ(NavigationList::lastEntryMessage(), u"已经到最后一题了！");
    EXPECT_EQ(NavigationList::firstEntryMessage(), u"已经到第一题了！");
}

TEST(ExamWindowRules, StripOnlyForPracticalQuestionsBeforeHandIn)
{
    EXPECT_TRUE(showsExamAsStrip(QuestionKind::Practical, u"交卷"_qs));
    EXPECT_TRUE(showsExamAsStrip(QuestionKind::Practical, u" 交卷 "_qs));
    EXPECT_FALSE(showsExamAsStrip(QuestionKind::Practical, u"退出"_qs));
    for (int i = 0; i < QuestionKindCount - 1; ++i)
        EXPECT_FALSE(showsExamAsStrip(kindAt(i), u"交卷"_qs));
}

TEST(ExamWindowRules, StripSitsOnTheLowerEdgeOfTheWorkArea)
{
    EXPECT_EQ(bottomStripGeometry(QRect(0, 0, 1280, 770)), QRect(0, 470, 1280, 300));
    // A work area that does not start at the origin (a panel on the left or top).
    EXPECT_EQ(bottomStripGeometry(QRect(64, 30, 1216, 770)), QRect(64, 500, 1216, 300));
    // Never taller than the work area.
    EXPECT_EQ(bottomStripGeometry(QRect(0, 0, 800, 200)), QRect(0, 0, 800, 200));
}
