#pragma once

#include "Exchange.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace tarnex::bank {

struct BankTables;

// The papers of a bank as exchange questions, in the order the tables first name them; the
// questions of a paper kind by kind (dds, duo, sf, jsfx, anli, ws), each kind in the bank's order.
std::vector<ExchangePaper> papersOfBank(const BankTables& bank);

enum class ExchangeFormat
{
    Xlsx,   // one workbook per paper: SUBJECT-PAPER.xlsx
    Moodle, // one Moodle XML file per subject, a category per paper: SUBJECT.xml
};

// Writes the papers into the folder (made when missing). Every target is checked before the first
// is written: an existing file of the same name is an error and nothing is written. Returns the
// names of the files written; notes about what a format cannot carry go to warnings.
QStringList writeExchangeFiles(const std::vector<ExchangePaper>& papers, const QString& folder,
                               ExchangeFormat format, QStringList* warnings);

// A file name for a subject or paper name: characters that file systems refuse become "_".
QString safeFileName(const QString& name);

} // namespace tarnex::bank
