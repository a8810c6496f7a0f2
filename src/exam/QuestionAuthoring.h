#pragma once

#include "AnswerLetters.h"
#include "QuestionKind.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <utility>

namespace tarnex {

// The rules of adding, modifying and deleting a question on the exam screen in author mode: what
// the page must hold before anything is written, which number counts as taken, and the answer
// columns written from the ticked controls. The window gathers what its controls show and asks.

// The answer type buttons of a calculation question.
enum class CalculationType
{
    None,   // neither "选择型" nor "答题型" ticked
    Choice, // 选择型: the five groups of option boxes
    Written // 答题型: written answers through the calculator
};

// What a kind's page shows when an operation starts.
struct AuthoredQuestion
{
    QuestionKind kind = QuestionKind::SingleChoice;
    QString stem;          // plain text of the stem editor
    QString options;       // plain text of the options editor (single and multiple choice)
    QString number;        // the number edit as typed
    int singleChoice = -1; // the ticked button d_a..d_d (0 to 3), -1 for none
    OptionTicks multipleChoice{};
    bool trueTicked = false;
    bool falseTicked = false;
    CalculationType type = CalculationType::None;
    std::array<OptionTicks, SubQuestionCount> subAnswers{}; // calculation and case groups 1 to 5
};

// Where a refusal puts the keyboard focus.
enum class AuthoringField
{
    None,
    Stem,
    Options,
    Number
};

struct AuthoringRefusal
{
    QString message;
    AuthoringField focus = AuthoringField::None;
};

// The checks of add and modify, in their order: stem, options, number, the answer (one letter for
// single choice, at least one box for multiple choice, either button for true/false), the five
// sub-answers of a case question and of a calculation question of the choice type, then the
// calculation's answer type. The first that fails is returned.
std::optional<AuthoringRefusal> checkAuthoredQuestion(const AuthoredQuestion& question);

// The number as it is compared, stored and shown: the typed text trimmed.
QString authoredNumber(const QString& typed);

// The number search over the question index: a number is taken when any node of the index, the
// six roots included, reads the same once both are trimmed (exact, case-sensitive).
bool isNumberTaken(const QStringList& indexTexts, const QString& number);

// The answer columns an add or modify writes besides the rich texts, tihao, tao and kemu, in
// table order: da for the three objective kinds; da1..da5 for calculation (whatever the type) and
// case; leixing for calculation ("选择型" when that button is ticked, else "答题型"); none for
// practical questions.
QList<std::pair<QString, QString>> authoredAnswerColumns(const AuthoredQuestion& question);

// Whether modify refuses outright unless a question is selected (single and multiple choice).
bool modifyNeedsSelectedQuestion(QuestionKind kind);

// Which row a modify writes. The selected question's row when a question of the kind is selected;
// for the kinds that need no selection, the row added last while no other question of its kind
// was selected since. Nothing otherwise: modify then refuses instead of writing into a row the
// author is not looking at.
enum class ModifyTarget
{
    SelectedQuestion,
    JustAdded,
    Nothing
};
ModifyTarget modifyTarget(QuestionKind kind, bool questionOfKindSelected, bool justAddedRowExists);

// Whether a modify must run the number search: only when the number differs from the number of
// the row it writes (both trimmed).
bool modifyChangesNumber(const QString& rowNumber, const QString& typedNumber);

// The single-choice number edit lets through the digits, Backspace and Enter; every other typed
// character is refused with digitsOnlyMessage(). keyText is the text a key press types.
bool isNumberKeyAccepted(const QString& keyText);

// The texts of the operations ("提示" boxes).
QString addConfirmation();                     // 确实要添加试题吗？
QString deleteConfirmation();                  // 确实要删除此条试题吗？
QString modifyConfirmation(QuestionKind kind); // 确实要修改此条试题吗？ / 确实要修改试题吗？
QString numberTakenOnAdd();                    // 题号在本套试题中重复，请更改题号！
QString numberTakenOnModify();    // 要修改的题号与现在试用中的题号重复,不能修改！
QString selectQuestionToDelete(); // 请选择要删除的题号？
QString selectQuestionToModify(); // 请选择要修改的题号？
QString digitsOnlyMessage();      // 只能输入数字

} // namespace tarnex
