#pragma once

#include "BankFiles.h"
#include "BankSource.h"

#include <QByteArray>
#include <QString>

#include <vector>

namespace tarnex::bank {

// The stored form of a rich-text column written as plain text (each line a paragraph) or as
// simple HTML (images relative to baseFolder). Needs a QGuiApplication.
QByteArray richTextFromPlain(const QString& text);
QByteArray richTextFromHtml(const QString& html, const QString& baseFolder);

// Turns parsed sources into rows. Throws AppError "file:line: message" for a section or field the
// format does not know, a field given twice, a question outside a paper and the like.
BankTables contentFromSources(const std::vector<SourceFile>& files);

// Writes kstk.dat and titao.dat into the folder: both are built in temporary files there and
// renamed into place only when both are complete, replacing an existing bank.
void writeBank(const BankTables& content, const QString& folder);

// The columns whose lines the program separates with CR LF.
bool isCrLfColumn(const QString& table, const QString& column);
// The rich-text columns of a question table.
bool isRichColumn(const QString& column);

} // namespace tarnex::bank
