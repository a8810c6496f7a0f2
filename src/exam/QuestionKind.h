#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace tarnex {

// The six kinds of question of a paper, in the order of their roots in the question index and of
// their pages on the exam screen.
enum class QuestionKind
{
    SingleChoice,
    MultipleChoice,
    TrueFalse,
    Calculation,
    Case,
    Practical
};

constexpr int QuestionKindCount = 6;

const std::array<QuestionKind, QuestionKindCount>& allQuestionKinds();

// Position of the kind among the roots of the index and the pages of the exam screen (0 to 5).
int kindIndex(QuestionKind kind);
QuestionKind kindAt(int index); // index 0 to 5

// The kind's table in the question bank: dds, duo, sf, jsfx, anli, ws.
QString kindTable(QuestionKind kind);
// The text of the kind's root in the question index: 单选题, 多选题, 是非题, 计算分析, 案例分析, 实务操作.
QString kindRootText(QuestionKind kind);
// The kind whose root text equals the text exactly; none for any other text.
std::optional<QuestionKind> kindOfRootText(const QString& rootText);

// The rich-text columns the display loads, in the order of the page's editors (stem, options,
// analysis; true/false and the sub-question kinds have no option text).
QStringList kindRichTextColumns(QuestionKind kind);

// True for the three kinds whose answer is one value in xuan and which the hand-in scores.
bool isObjectiveKind(QuestionKind kind);
// True for the two kinds with five sub-questions (myc1..myc5, myt1..myt5, da1..da5).
bool hasSubQuestions(QuestionKind kind);

} // namespace tarnex
