#include "exam/QuestionAuthoring.h"

#include <gtest/gtest.h>

using namespace tarnex;

namespace {

AuthoredQuestion complete(QuestionKind kind)
{
    AuthoredQuestion question;
    question.kind = kind;
    question.stem = QStringLiteral("题干");
    question.options = QStringLiteral("A. 一 B. 二");
    question.number = QStringLiteral("7");
    question.singleChoice = 2;
    question.multipleChoice = {false, true, false, true};
    question.falseTicked = true;
    question.type = CalculationType::Choice;
    for (OptionTicks& group : question.subAnswers)
        group = {true, false, false, false};
    return question;
}

QString refusalOf(const AuthoredQuestion& question)
{
    const std::optional<AuthoringRefusal> refusal = checkAuthoredQuestion(question);
    return refusal ? refusal->message : QString();
}

QString value(const QList<std::pair<QString, QString>>& columns, const QString& column)
{
    for (const auto& [name, text] : columns) {
        if (name == column)
            return text;
    }
    return QStringLiteral("<missing>");
}

} // namespace

TEST(QuestionAuthoring, RefusalsComeInTheirOrderWithTheirFocus)
{
    AuthoredQuestion question = complete(QuestionKind::SingleChoice);
    question.stem = QStringLiteral(" \r\n\t");
    question.options.clear();
    question.number = QStringLiteral("  ");
    question.singleChoice = -1;
    auto refusal = checkAuthoredQuestion(question);
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->message, u"题目内容部分不能为空！");
    EXPECT_EQ(refusal->focus, AuthoringField::Stem);

    question.stem = QStringLiteral("题干");
    refusal = checkAuthoredQuestion(question);
    EXPECT_EQ(refusal->message, u"题目选择部分不能为空！");
    EXPECT_EQ(refusal->focus, AuthoringField::Options);

    question.options = QStringLiteral("选项");
    refusal = checkAuthoredQuestion(question);
    EXPECT_EQ(refusal->message, u"题号不能为空！");
    EXPECT_EQ(refusal->focus, AuthoringField::Number);

    question.number = QStringLiteral("3");
    refusal = checkAuthoredQuestion(question);
    EXPECT_EQ(refusal->message, u"请选择一个正确的答案！");
    EXPECT_EQ(refusal->focus, AuthoringField::None);

    // True/false has no options text: an empty one is no reason to refuse.
    AuthoredQuestion trueFalse = complete(QuestionKind::TrueFalse);
    trueFalse.options.clear();
    trueFalse.falseTicked = false;
    EXPECT_EQ(refusalOf(trueFalse), u"请选择一个正确的答案！");
    trueFalse.trueTicked = true;
    EXPECT_EQ(refusalOf(trueFalse), QString());

    AuthoredQuestion multiple = complete(QuestionKind::MultipleChoice);
    multiple.multipleChoice = {};
    EXPECT_EQ(refusalOf(multiple), u"请选择一个正确的答案！");
}

TEST(QuestionAuthoring, SubAnswersAreCheckedInOrderThenTheType)
{
    AuthoredQuestion calculation = complete(QuestionKind::Calculation);
    calculation.subAnswers.at(2) = {};
    calculation.subAnswers.at(3) = {};
    EXPECT_EQ(refusalOf(calculation), u"请为第三题选择一个正确的答案！");
    calculation.subAnswers.at(2) = {false, false, true, false};
    EXPECT_EQ(refusalOf(calculation), u"请为第四题选择一个正确的答案！");

    // Written answers need no box; neither type ticked is refused after the sub-answers.
    calculation.type = CalculationType::Written;
    EXPECT_EQ(refusalOf(calculation), QString());
    calculation.type = CalculationType::None;
    EXPECT_EQ(refusalOf(calculation), u"操作型或者答题型 必须选择一个类型！");
    calculation.subAnswers = {};
    EXPECT_EQ(refusalOf(calculation), u"操作型或者答题型 必须选择一个类型！");
    calculation.stem.clear();
    EXPECT_EQ(refusalOf(calculation), u"题目内容部分不能为空！");

    AuthoredQuestion caseQuestion = complete(QuestionKind::Case);
    caseQuestion.type = CalculationType::None;
    EXPECT_EQ(refusalOf(caseQuestion), QString()) << "a case question has no type";
    caseQuestion.subAnswers.at(0) = {};
    EXPECT_EQ(refusalOf(caseQuestion), u"请为第一题选择一个正确的答案！");
    caseQuestion.subAnswers.at(0) = {true, false, false, false};
    caseQuestion.subAnswers.at(4) = {};
    EXPECT_EQ(refusalOf(caseQuestion), u"请为第五题选择一个正确的答案！");
    caseQuestion.number.clear();
    EXPECT_EQ(refusalOf(caseQuestion), u"题号不能为空！");

    AuthoredQuestion practical = complete(QuestionKind::Practical);
    practical.subAnswers = {};
    practical.type = CalculationType::None;
    practical.options.clear();
    EXPECT_EQ(refusalOf(practical), QString()) << "only stem and number are asked for";
}

TEST(QuestionAuthoring, AnswerColumnsHoldTheLettersInOrder)
{
    EXPECT_EQ(value(authoredAnswerColumns(complete(QuestionKind::SingleChoice)), u"da"_qs), u"c");
    EXPECT_EQ(value(authoredAnswerColumns(complete(QuestionKind::MultipleChoice)), u"da"_qs), u"bd");
    EXPECT_EQ(value(authoredAnswerColumns(complete(QuestionKind::TrueFalse)), u"da"_qs), u"b");
    AuthoredQuestion trueFalse = complete(QuestionKind::TrueFalse);
    trueFalse.falseTicked = false;
    trueFalse.trueTicked = true;
    EXPECT_EQ(value(authoredAnswerColumns(trueFalse), u"da"_qs), u"a");

    AuthoredQuestion caseQuestion = complete(QuestionKind::Case);
    caseQuestion.subAnswers.at(3) = {false, true, false, false};
    caseQuestion.subAnswers.at(4) = {true, false, true, false};
    const auto caseColumns = authoredAnswerColumns(caseQuestion);
    EXPECT_EQ(value(caseColumns, u"da4"_qs), u"b");
    EXPECT_EQ(value(caseColumns, u"da5"_qs), u"ac");
    EXPECT_EQ(value(caseColumns, u"leixing"_qs), u"<missing>");
    EXPECT_EQ(value(caseColumns, u"da"_qs), u"<missing>");

    AuthoredQuestion written = complete(QuestionKind::Calculation);
    written.type = CalculationType::Written;
    written.subAnswers = {};
    written.subAnswers.at(1) = {false, false, false, true};
    const auto writtenColumns = authoredAnswerColumns(written);
    EXPECT_EQ(value(writtenColumns, u"leixing"_qs), u"答题型");
    EXPECT_EQ(value(writtenColumns, u"da1"_qs), u"");
    EXPECT_EQ(value(writtenColumns, u"da2"_qs), u"d") << "the boxes are read whatever the type";
    EXPECT_EQ(value(authoredAnswerColumns(complete(QuestionKind::Calculation)), u"leixing"_qs), u"选择型");
    EXPECT_TRUE(authoredAnswerColumns(complete(QuestionKind::Practical)).isEmpty());
}

TEST(QuestionAuthoring, NumberSearchCoversRootsAndTrims)
{
    const QStringList index = {u"单选题"_qs, u"1"_qs,        u"多选题"_qs,   u" 12 "_qs,     u"是非题"_qs,
                               u"7"_qs,      u"计算分析"_qs, u"案例分析"_qs, u"实务操作"_qs, u"A1"_qs};
    EXPECT_TRUE(isNumberTaken(index, u"7"_qs));
    EXPECT_TRUE(isNumberTaken(index, u"12"_qs));
    EXPECT_TRUE(isNumberTaken(index, u"\t1 "_qs));
    EXPECT_TRUE(isNumberTaken(index, u"多选题"_qs));
    EXPECT_FALSE(isNumberTaken(index, u"a1"_qs)) << "the search is case-sensitive";
    EXPECT_FALSE(isNumberTaken(index, u"17"_qs));
    EXPECT_EQ(authoredNumber(u" 12 "_qs), u"12");
}

TEST(QuestionAuthoring, ModifyWritesOnlyARowThatBelongs)
{
    EXPECT_EQ(modifyTarget(QuestionKind::SingleChoice, true, true), ModifyTarget::SelectedQuestion);
    EXPECT_EQ(modifyTarget(QuestionKind::SingleChoice, false, true), ModifyTarget::Nothing);
    EXPECT_EQ(modifyTarget(QuestionKind::MultipleChoice, false, true), ModifyTarget::Nothing);
    for (QuestionKind kind :
         {QuestionKind::TrueFalse, QuestionKind::Calculation, QuestionKind::Case, QuestionKind::Practical}) {
        EXPECT_EQ(modifyTarget(kind, false, true), ModifyTarget::JustAdded);
        EXPECT_EQ(modifyTarget(kind, false, false), ModifyTarget::Nothing);
    }
    EXPECT_FALSE(modifyChangesNumber(u"12"_qs, u" 12 "_qs));
    EXPECT_TRUE(modifyChangesNumber(u"12"_qs, u"13"_qs));
    EXPECT_EQ(modifyConfirmation(QuestionKind::MultipleChoice), u"确实要修改此条试题吗？");
    EXPECT_EQ(modifyConfirmation(QuestionKind::TrueFalse), u"确实要修改试题吗？");
}

TEST(QuestionAuthoring, NumberKeysAreDigitsBackspaceAndEnter)
{
    for (const char* accepted : {"0", "5", "9", "\b", "\r"})
        EXPECT_TRUE(isNumberKeyAccepted(QString::fromLatin1(accepted))) << accepted;
    for (const char* refused : {"x", " ", "-", ".", "\x16", "12"})
        EXPECT_FALSE(isNumberKeyAccepted(QString::fromLatin1(refused))) << refused;
    EXPECT_FALSE(isNumberKeyAccepted(u"５"_qs)) << "full-width digits are not digits here";
}
