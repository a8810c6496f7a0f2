#include "JournalEntry.h"

#include "platform/TextUtil.h"

namespace tarnex {
namespace {

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Skips a run of ASCII digits from pos; returns how many there were.
qsizetype skipDigits(const QString& text, qsizetype& pos)
{
    const qsizetype start = pos;
    while (pos < text.size() && isDigit(text.at(pos)))
        ++pos;
    return pos - start;
}

} // namespace

QString JournalLine::displayLine() const
{
    return direction + QChar(0xFF0C) + subject + QLatin1Char(',') + amount;
}

QString journalAnswerText(const QStringList& displayLines)
{
    QString text;
    for (const QString& line : displayLines)
        text += trimmedText(line) + QStringLiteral("  ");
    return text;
}

QString storedWrittenAnswer(const QString& memoText)
{
    return trimmedText(memoText);
}

bool isFloatingPointText(const QString& text, const QString& decimalSeparator)
{
    qsizetype pos = 0;
    if (pos < text.size() && (text.at(pos) == u'+' || text.at(pos) == u'-'))
        ++pos;
    qsizetype mantissaDigits = skipDigits(text, pos);
    if (!decimalSeparator.isEmpty() && QStringView(text).mid(pos).startsWith(decimalSeparator)) {
        pos += decimalSeparator.size();
        mantissaDigits += skipDigits(text, pos);
    }
    if (mantissaDigits == 0)
        return false;
    if (pos < text.size() && (text.at(pos) == u'e' || text.at(pos) == u'E')) {
        ++pos;
        if (pos < text.size() && (text.at(pos) == u'+' || text.at(pos) == u'-'))
            ++pos;
        if (skipDigits(text, pos) == 0)
            return false;
    }
    return pos == text.size();
}

AmountCheck checkAmount(const QString& amount, const QString& decimalSeparator)
{
    const QString a = trimmedText(amount);
    if (a.isEmpty())
        return AmountCheck::Empty;
    return isFloatingPointText(a, decimalSeparator) ? AmountCheck::Accepted : AmountCheck::Malformed;
}

QString amountMessage(AmountCheck check)
{
    switch (check) {
    case AmountCheck::Empty:
        return QStringLiteral("金额不能为空,请输入！");
    case AmountCheck::Malformed:
        return QStringLiteral("金额输入格式错误,请输入！");
    case AmountCheck::Accepted:
        break;
    }
    return {};
}

} // namespace tarnex
