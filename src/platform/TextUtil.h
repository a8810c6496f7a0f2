#pragma once

#include <QString>
#include <QStringList>

namespace tarnex {

// Leading and trailing characters with codes up to 32 (blanks, control characters, line breaks)
// removed. Unlike QString::trimmed() this leaves other Unicode spaces (U+3000 and the like) alone.
QString trimmedText(const QString& text);

// Splits a stored list text into its lines: CR LF, LF or CR each end a line, an empty line is an
// empty entry, and a break after the last line adds no entry. An empty text gives no entries.
QStringList splitListLines(const QString& text);

// The value of a hexadecimal digit (either case), or -1 for any other character.
constexpr int hexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace tarnex
