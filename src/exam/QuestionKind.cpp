#include "QuestionKind.h"

namespace tarnex {

const std::array<QuestionKind, QuestionKindCount>& allQuestionKinds()
{
    static const std::array<QuestionKind, QuestionKindCount> kinds = {
        QuestionKind::SingleChoice, QuestionKind::MultipleChoice, QuestionKind::TrueFalse,
        QuestionKind::Calculation,  QuestionKind::Case,           QuestionKind::Practical};
    return kinds;
}

int kindIndex(QuestionKind kind)
{
    return static_cast<int>(kind);
}

QuestionKind kindAt(int index)
{
    return allQuestionKinds().at(std::size_t(index));
}

QString kindTable(QuestionKind kind)
{
    switch (kind) {
    case QuestionKind::SingleChoice:
        return QStringLiteral("dds");
    case QuestionKind::MultipleChoice:
        return QStringLiteral("duo");
    case QuestionKind::TrueFalse:
        return QStringLiteral("sf");
    case QuestionKind::Calculation:
        return QStringLiteral("jsfx");
    case QuestionKind::Case:
        return QStringLiteral("anli");
    case QuestionKind::Practical:
        break;
    }
    return QStringLiteral("ws");
}

QString kindRootText(QuestionKind kind)
{
    switch (kind) {
    case QuestionKind::SingleChoice:
        return QStringLiteral("单选题");
    case QuestionKind::MultipleChoice:
        return QStringLiteral("多选题");
    case QuestionKind::TrueFalse:
        return QStringLiteral("是非题");
    case QuestionKind::Calculation:
        return QStringLiteral("计算分析");
    case QuestionKind::Case:
        return QStringLiteral("案例分析");
    case QuestionKind::Practical:
        break;
    }
    return QStringLiteral("实务操作");
}

std::optional<QuestionKind> kindOfRootText(const QString& rootText)
{
    for (QuestionKind kind : allQuestionKinds()) {
        if (kindRootText(kind) == rootText)
            return kind;
    }
    return std::nullopt;
}

QStringList kindRichTextColumns(QuestionKind kind)
{
    if (kind == QuestionKind::SingleChoice || kind == QuestionKind::MultipleChoice)
        return {QStringLiteral("tou"), QStringLiteral("wei"), QStringLiteral("ping")};
    return {QStringLiteral("tou"), QStringLiteral("ping")};
}

bool isObjectiveKind(QuestionKind kind)
{
    return kind == QuestionKind::SingleChoice || kind == QuestionKind::MultipleChoice ||
           kind == QuestionKind::TrueFalse;
}

bool hasSubQuestions(QuestionKind kind)
{
    return kind == QuestionKind::Calculation || kind == QuestionKind::Case;
}

} // namespace tarnex
