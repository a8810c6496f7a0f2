#pragma once

#include <QString>
#include <QStringList>

namespace tarnex {

// One line of a journal entry as the calculator stores it in dtxx.
struct JournalLine
{
    QString direction; // "借" or "贷" (combobox)
    QString subject;   // the account subject (edit2)
    QString amount;    // the amount exactly as typed (edit3)

    // The display line (ntemp): direction, U+FF0C, subject, ASCII comma, amount;
    // for example 借，库存现金,1000.
    QString displayLine() const;
};

// The answer text of a list of display lines: each line trimmed and followed by two blanks, the
// last one included, with no line break.
QString journalAnswerText(const QStringList& displayLines);

// What the exam screen stores for a sub-question: the memo's text without leading and trailing
// blanks and line breaks. Empty means nothing is recorded.
QString storedWrittenAnswer(const QString& memoText);

enum class AmountCheck
{
    Accepted,
    Empty,
    Malformed
};

// Checks the amount field of "增加": empty after trimming, or not a floating-point number written
// as an optional sign, digits with at most one decimal separator and an optional exponent
// (e or E, optional sign, digits). Thousands separators, currency signs and other text fail.
AmountCheck checkAmount(const QString& amount, const QString& decimalSeparator);
bool isFloatingPointText(const QString& text, const QString& decimalSeparator);

// The refusal shown for a check's result; empty for Accepted.
QString amountMessage(AmountCheck check);

} // namespace tarnex
