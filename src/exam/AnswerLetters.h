#pragma once

#include <QString>

#include <array>

namespace tarnex {

// The four option boxes of one group (multiple choice, or one sub-question), a to d.
using OptionTicks = std::array<bool, 4>;

constexpr int SubQuestionCount = 5;

// The lower-case letter of option 0 to 3: "a" to "d".
QString optionLetter(int option);

// The stored answer of a group of option boxes: the letters of the ticked boxes, always in the
// order a, b, c, d and without separators, whatever order they were ticked in; "" for none.
QString composeAnswerLetters(const OptionTicks& ticked);

// Which boxes a stored group answer ticks: a box is ticked when its lower-case letter occurs
// anywhere in the value, so "ca" ticks a and c and "A" ticks nothing.
OptionTicks lettersOccurring(const QString& stored);

// The single-choice option a stored xuan selects: 0 to 3 for exactly "a" to "d", -1 for any other
// value (blanks around the letter included).
int singleChoiceOption(const QString& stored);

// The true/false buttons a stored xuan selects, in this order: "正确" when "a" occurs, then
// "错误" when "b" occurs. Each selection records its letter, so "ab" ends as "b".
struct TrueFalseSelection
{
    bool selectTrue = false;
    bool selectFalse = false;
};
TrueFalseSelection trueFalseSelection(const QString& stored);

// The letters the true/false buttons record: "a" for 正确, "b" for 错误.
QString trueFalseLetter(bool isTrue);

// Columns of sub-question n (1 to 5): the chosen letters myc<n>, the written answer myt<n> and
// the correct answer da<n>.
QString subQuestionChoiceColumn(int subQuestion);
QString subQuestionTextColumn(int subQuestion);
QString subQuestionAnswerColumn(int subQuestion);

// A calculation question is answered with option boxes only when its leixing is exactly
// "选择型"; every other value, the empty one included, means written answers.
bool isChoiceTypeCalculation(const QString& leixing);

} // namespace tarnex
