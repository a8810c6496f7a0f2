#include "exam/AnswerLetters.h"

#include <gtest/gtest.h>

using namespace tarnex;

TEST(AnswerLetters, ComposedInOrderAToDWhateverWasTicked)
{
    EXPECT_EQ(composeAnswerLetters({false, false, false, false}), u"");
    EXPECT_EQ(composeAnswerLetters({false, true, false, true}), u"bd");
    EXPECT_EQ(composeAnswerLetters({true, true, true, true}), u"abcd");
    EXPECT_EQ(composeAnswerLetters({true, false, true, true}), u"acd");
    EXPECT_EQ(composeAnswerLetters({false, false, false, true}), u"d");
}

TEST(AnswerLetters, StoredLettersTickTheirBoxesByOccurrence)
{
    EXPECT_EQ(lettersOccurring(u"ca"_qs), (OptionTicks{true, false, true, false}));
    EXPECT_EQ(lettersOccurring(u"abcd"_qs), (OptionTicks{true, true, true, true}));
    EXPECT_EQ(lettersOccurring(u""_qs), (OptionTicks{false, false, false, false}));
    // Upper-case letters are not the stored form and tick nothing.
    EXPECT_EQ(lettersOccurring(u"AB"_qs), (OptionTicks{false, false, false, false}));
    EXPECT_EQ(lettersOccurring(u" b, d "_qs), (OptionTicks{false, true, false, true}));
}

TEST(AnswerLetters, ComposeAndReadBackAgreeForEveryGroup)
{
    for (int mask = 0; mask < 16; ++mask) {
        const OptionTicks ticks = {bool(mask & 1), bool(mask & 2), bool(mask & 4), bool(mask & 8)};
        const QString letters = composeAnswerLetters(ticks);
        EXPECT_EQ(lettersOccurring(letters), ticks) << letters.toStdString();
        EXPECT_EQ(letters.size(), qsizetype(std::popcount(unsigned(mask))));
    }
}

TEST(AnswerLetters, SingleChoiceNeedsTheExactLetter)
{
    EXPECT_EQ(singleChoiceOption(u"a"_qs), 0);
    EXPECT_EQ(singleChoiceOption(u"d"_qs), 3);
    EXPECT_EQ(singleChoiceOption(u" a"_qs), -1);
    EXPECT_EQ(singleChoiceOption(u"a "_qs), -1);
    EXPECT_EQ(singleChoiceOption(u"A"_qs), -1);
    EXPECT_EQ(singleChoiceOption(u"ab"_qs), -1);
    EXPECT_EQ(singleChoiceOption(u""_qs), -1);
    EXPECT_EQ(singleChoiceOption(u"e"_qs), -1);
}

TEST(AnswerLetters, TrueFalseSelectsByOccurrenceTrueFirst)
{
    EXPECT_TRUE(trueFalseSelection(u"a"_qs).selectTrue);
    EXPECT_FALSE(trueFalseSelection(u"a"_qs).selectFalse);
    EXPECT_FALSE(trueFalseSelection(u"b"_qs).selectTrue);
    EXPECT_TRUE(trueFalseSelection(u"b"_qs).selectFalse);
    const TrueFalseSelection both = trueFalseSelection(u"ab"_qs);
    EXPECT_TRUE(both.selectTrue);
    EXPECT_TRUE(both.selectFalse);
    const TrueFalseSelection none = trueFalseSelection(u""_qs);
    EXPECT_FALSE(none.selectTrue || none.selectFalse);
    EXPECT_EQ(trueFalseLetter(true), u"a");
    EXPECT_EQ(trueFalseLetter(false), u"b");
}

TEST(AnswerLetters, SubQuestionColumnsAndAnswerType)
{
    EXPECT_EQ(subQuestionChoiceColumn(3), u"myc3");
    EXPECT_EQ(subQuestionTextColumn(5), u"myt5");
    EXPECT_EQ(subQuestionAnswerColumn(1), u"da1");
    EXPECT_EQ(optionLetter(0), u"a");
    EXPECT_EQ(optionLetter(3), u"d");

    EXPECT_TRUE(isChoiceTypeCalculation(u"选择型"_qs));
    EXPECT_FALSE(isChoiceTypeCalculation(u""_qs));
    EXPECT_FALSE(isChoiceTypeCalculation(u"答题型"_qs));
    EXPECT_FALSE(isChoiceTypeCalculation(u" 选择型"_qs));
}
