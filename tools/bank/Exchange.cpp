#include "Exchange.h"

#include <QHash>

namespace tarnex::bank {
namespace {

// Full-width letters and brackets read like their ASCII forms.
QChar halfWidth(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= 0xFF01 && u <= 0xFF5E)
        return QChar(char16_t(u - 0xFEE0));
    return c;
}

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\x3000';
}

} // namespace

QStringList Diagnostics::format(const QString& file, const std::vector<Entry>& entries)
{
    QStringList lines;
    for (const Entry& entry : entries)
        lines.append(entry.row > 0 ? QStringLiteral("%1:%2: %3").arg(file).arg(entry.row).arg(entry.text)
                                   : QStringLiteral("%1: %2").arg(file, entry.text));
    return lines;
}

QString questionPrefix(const ExchangeQuestion& question)
{
    return question.name.isEmpty() ? QString() : QStringLiteral("question \"%1\": ").arg(question.name);
}

QString kindTitle(const QString& kind)
{
    static const QHash<QString, QString> titles = {
        {u"dds"_qs, u"单选题"_qs},    {u"duo"_qs, u"多选题"_qs},    {u"sf"_qs, u"判断题"_qs},
        {u"jsfx"_qs, u"计算分析"_qs}, {u"anli"_qs, u"案例分析"_qs}, {u"ws"_qs, u"实务操作"_qs},
    };
    return titles.value(kind, kind);
}

std::optional<OptionMarker> optionMarkerAt(QStringView line)
{
    qsizetype i = 0;
    auto skipBlanks = [&] {
        while (i < line.size() && isBlank(line[i]))
            ++i;
    };
    auto letterAt = [&](qsizetype at) -> QChar {
        if (at >= line.size())
            return {};
        const QChar c = halfWidth(line[at]).toLower();
        return c >= u'a' && c <= u'd' ? c : QChar();
    };
    skipBlanks();
    QChar letter;
    if (i < line.size() && (halfWidth(line[i]) == u'(')) {
        ++i;
        skipBlanks();
        letter = letterAt(i);
        if (letter.isNull())
            return std::nullopt;
        ++i;
        skipBlanks();
        if (i >= line.size() || halfWidth(line[i]) != u')')
            return std::nullopt;
        ++i;
    } else {
        letter = letterAt(i);
        if (letter.isNull())
            return std::nullopt;
        ++i;
        skipBlanks();
        static const QString punctuation = QStringLiteral(".:)、");
        if (i >= line.size() || !punctuation.contains(halfWidth(line[i])))
            return std::nullopt;
        ++i;
    }
    skipBlanks();
    return OptionMarker{letter, i};
}

QString markedOptionLetters(const QString& optionText)
{
    QString letters;
    for (const QString& line : optionText.split(u'\n')) {
        if (const auto marker = optionMarkerAt(line); marker && !letters.contains(marker->letter))
            letters.append(marker->letter);
    }
    std::sort(letters.begin(), letters.end());
    return letters;
}

QString displayLetters(const QString& letters)
{
    return letters.toUpper();
}

} // namespace tarnex::bank
