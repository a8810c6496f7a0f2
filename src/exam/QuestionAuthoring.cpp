#include "QuestionAuthoring.h"

#include "platform/TextUtil.h"

namespace tarnex {
namespace {

bool isEmptyText(const QString& text)
{
    return trimmedText(text).isEmpty();
}

bool anyTicked(const OptionTicks& ticks)
{
    for (bool ticked : ticks) {
        if (ticked)
            return true;
    }
    return false;
}

AuthoringRefusal refusal(const QString& message, AuthoringField focus = AuthoringField::None)
{
    return {message, focus};
}

QString subAnswerMissing(int subQuestion)
{
    static const QString ordinals[] = {QStringLiteral("一"), QStringLiteral("二"), QStringLiteral("三"),
                                       QStringLiteral("四"), QStringLiteral("五")};
    return QStringLiteral("请为第%1题选择一个正确的答案！").arg(ordinals[subQuestion - 1]);
}

bool hasOptionsText(QuestionKind kind)
{
    return kind == QuestionKind::SingleChoice || kind == QuestionKind::MultipleChoice;
}

std::optional<AuthoringRefusal> checkObjectiveAnswer(const AuthoredQuestion& question)
{
    bool answered = false;
    switch (question.kind) {
    case QuestionKind::SingleChoice:
        answered = question.singleChoice >= 0 && question.singleChoice < 4;
        break;
    case QuestionKind::MultipleChoice:
        answered = anyTicked(question.multipleChoice);
        break;
    case QuestionKind::TrueFalse:
        answered = question.trueTicked || question.falseTicked;
        break;
    default:
        return std::nullopt;
    }
    if (!answered)
        return refusal(QStringLiteral("请选择一个正确的答案！"));
    return std::nullopt;
}

std::optional<AuthoringRefusal> checkSubAnswers(const AuthoredQuestion& question)
{
    const bool checked = question.kind == QuestionKind::Case || (question.kind == QuestionKind::Calculation &&
                                                                 question.type == CalculationType::Choice);
    if (checked) {
        for (int i = 0; i < SubQuestionCount; ++i) {
            if (!anyTicked(question.subAnswers.at(std::size_t(i))))
                return refusal(subAnswerMissing(i + 1));
        }
    }
    if (question.kind == QuestionKind::Calculation && question.type == CalculationType::None)
        return refusal(QStringLiteral("操作型或者答题型 必须选择一个类型！"));
    return std::nullopt;
}

} // namespace

std::optional<AuthoringRefusal> checkAuthoredQuestion(const AuthoredQuestion& question)
{
    if (isEmptyText(question.stem))
        return refusal(QStringLiteral("题目内容部分不能为空！"), AuthoringField::Stem);
    if (hasOptionsText(question.kind) && isEmptyText(question.options))
        return refusal(QStringLiteral("题目选择部分不能为空！"), AuthoringField::Options);
    if (authoredNumber(question.number).isEmpty())
        return refusal(QStringLiteral("题号不能为空！"), AuthoringField::Number);
    if (isObjectiveKind(question.kind))
        return checkObjectiveAnswer(question);
    return checkSubAnswers(question);
}

QString authoredNumber(const QString& typed)
{
    return trimmedText(typed);
}

bool isNumberTaken(const QStringList& indexTexts, const QString& number)
{
    const QString wanted = trimmedText(number);
    for (const QString& text : indexTexts) {
        if (trimmedText(text) == wanted)
            return true;
    }
    return false;
}

QList<std::pair<QString, QString>> authoredAnswerColumns(const AuthoredQuestion& question)
{
    QList<std::pair<QString, QString>> columns;
    const QString da = QStringLiteral("da");
    switch (question.kind) {
    case QuestionKind::SingleChoice:
        if (question.singleChoice >= 0 && question.singleChoice < 4)
            columns.append({da, optionLetter(question.singleChoice)});
        else
            columns.append({da, QString()});
        break;
    case QuestionKind::MultipleChoice:
        columns.append({da, composeAnswerLetters(question.multipleChoice)});
        break;
    case QuestionKind::TrueFalse:
        // Only reached with a button ticked; 正确 wins as it does when both letters are stored.
        columns.append({da, question.trueTicked
                                ? trueFalseLetter(true)
                                : (question.falseTicked ? trueFalseLetter(false) : QString())});
        break;
    case QuestionKind::Calculation:
    case QuestionKind::Case:
        for (int i = 0; i < SubQuestionCount; ++i)
            columns.append({subQuestionAnswerColumn(i + 1),
                            composeAnswerLetters(question.subAnswers.at(std::size_t(i)))});
        if (question.kind == QuestionKind::Calculation)
            columns.append({QStringLiteral("leixing"), question.type == CalculationType::Choice
                                                           ? QStringLiteral("选择型")
                                                           : QStringLiteral("答题型")});
        break;
    case QuestionKind::Practical:
        break;
    }
    return columns;
}

bool modifyNeedsSelectedQuestion(QuestionKind kind)
{
    return kind == QuestionKind::SingleChoice || kind == QuestionKind::MultipleChoice;
}

ModifyTarget modifyTarget(QuestionKind kind, bool questionOfKindSelected, bool justAddedRowExists)
{
    if (questionOfKindSelected)
        return ModifyTarget::SelectedQuestion;
    if (!modifyNeedsSelectedQuestion(kind) && justAddedRowExists)
        return ModifyTarget::JustAdded;
    return ModifyTarget::Nothing;
}

bool modifyChangesNumber(const QString& rowNumber, const QString& typedNumber)
{
    return trimmedText(rowNumber) != trimmedText(typedNumber);
}

bool isNumberKeyAccepted(const QString& keyText)
{
    if (keyText.size() != 1)
        return false;
    const QChar c = keyText.front();
    return (c >= u'0' && c <= u'9') || c == u'\b' || c == u'\r' || c == u'\n';
}

QString addConfirmation()
{
    return QStringLiteral("确实要添加试题吗？");
}

QString deleteConfirmation()
{
    return QStringLiteral("确实要删除此条试题吗？");
}

QString modifyConfirmation(QuestionKind kind)
{
    if (kind == QuestionKind::SingleChoice || kind == QuestionKind::MultipleChoice)
        return QStringLiteral("确实要修改此条试题吗？");
    return QStringLiteral("确实要修改试题吗？");
}

QString numberTakenOnAdd()
{
    return QStringLiteral("题号在本套试题中重复，请更改题号！");
}

QString numberTakenOnModify()
{
    return QStringLiteral("要修改的题号与现在试用中的题号重复,不能修改！");
}

QString selectQuestionToDelete()
{
    return QStringLiteral("请选择要删除的题号？");
}

QString selectQuestionToModify()
{
    return QStringLiteral("请选择要修改的题号？");
}

QString digitsOnlyMessage()
{
    return QStringLiteral("只能输入数字");
}

} // namespace tarnex
