#include "QuestionTexts.h"

#include "AnswerLetters.h"
#include "platform/TextUtil.h"

namespace tarnex {

QString questionHeading(const QString& rootText, const QString& number)
{
    return rootText + QStringLiteral(" 第") + number + QStringLiteral("题");
}

QString bareCorrectAnswerLine()
{
    return QStringLiteral("正确答案：");
}

QString correctAnswerLine(QuestionKind kind, const CorrectAnswer& answer)
{
    switch (kind) {
    case QuestionKind::SingleChoice:
    case QuestionKind::MultipleChoice:
        return bareCorrectAnswerLine() + trimmedText(answer.da).toUpper();
    case QuestionKind::TrueFalse:
        return trimmedText(answer.da) == u"a" ? QStringLiteral("正确答案： 正确")
                                              : QStringLiteral("正确答案： 错误");
    case QuestionKind::Calculation:
        if (!isChoiceTypeCalculation(answer.leixing))
            return bareCorrectAnswerLine();
        [[fallthrough]];
    case QuestionKind::Case: {
        QStringList parts;
        for (int i = 0; i < SubQuestionCount; ++i)
            parts.append(trimmedText(answer.subAnswers.value(i)).toUpper());
        return QStringLiteral("正确答案(1-5)：") + parts.join(u'\\');
    }
    case QuestionKind::Practical:
        break;
    }
    return bareCorrectAnswerLine();
}

QString candidateName()
{
    return QStringLiteral("路人甲");
}

QString admissionTicketNumber()
{
    return QStringLiteral("37012011210323499");
}

QString startTimeLine(const QDateTime& start)
{
    return QStringLiteral("    开始考试时间：") + start.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}

} // namespace tarnex
