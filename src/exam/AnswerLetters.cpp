#include "AnswerLetters.h"

namespace tarnex {

QString optionLetter(int option)
{
    return QString(QChar(u'a' + option));
}

QString composeAnswerLetters(const OptionTicks& ticked)
{
    QString letters;
    for (int option = 0; option < 4; ++option) {
        if (ticked[std::size_t(option)])
            letters += optionLetter(option);
    }
    return letters;
}

OptionTicks lettersOccurring(const QString& stored)
{
    OptionTicks ticked{};
    for (int option = 0; option < 4; ++option)
        ticked[std::size_t(option)] = stored.contains(optionLetter(option));
    return ticked;
}

int singleChoiceOption(const QString& stored)
{
    for (int option = 0; option < 4; ++option) {
        if (stored == optionLetter(option))
            return option;
    }
    return -1;
}

TrueFalseSelection trueFalseSelection(const QString& stored)
{
    return {stored.contains(u'a'), stored.contains(u'b')};
}

QString trueFalseLetter(bool isTrue)
{
    return isTrue ? QStringLiteral("a") : QStringLiteral("b");
}

QString subQuestionChoiceColumn(int subQuestion)
{
    return QStringLiteral("myc%1").arg(subQuestion);
}

QString subQuestionTextColumn(int subQuestion)
{
    return QStringLiteral("myt%1").arg(subQuestion);
}

QString subQuestionAnswerColumn(int subQuestion)
{
    return QStringLiteral("da%1").arg(subQuestion);
}

bool isChoiceTypeCalculation(const QString& leixing)
{
    return leixing == u"选择型";
}

} // namespace tarnex
