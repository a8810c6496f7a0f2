#pragma once

#include "Exchange.h"

#include <QString>
#include <QStringList>

namespace tarnex::bank::Template {

// The cells of a question's row, in the order of columns(): the texts as plain text (paragraphs
// on lines), answers as upper-case letters, 正确 or 错误 for true/false. lostFormatting is set
// when a rich text holds more than its plain text (formatting, pictures, tables).
QStringList cellsOf(const ExchangeQuestion& question, bool* lostFormatting = nullptr);

// Writes the paper as a workbook laid out as the template (the header row, one question per
// row) through libxlsxwriter. The file is written beside path and renamed into place when it is
// complete. Throws AppError. A note for texts that keep only their plain text goes to warnings.
void writeWorkbook(const ExchangePaper& paper, const QString& path, QStringList* warnings);

} // namespace tarnex::bank::Template
