#pragma once

#include "Exchange.h"

#include <QByteArray>
#include <QString>

#include <map>
#include <vector>

namespace tarnex::bank {

// The cells of one worksheet as text, row by row, the way a spreadsheet program numbers them.
struct SheetRow
{
    int number = 0;               // 1 for the first row
    std::map<int, QString> cells; // column (0 for A) -> text; empty cells are left out
};

struct Sheet
{
    std::vector<SheetRow> rows; // in row order
};

// The first worksheet of an .xlsx workbook (a zip of XML parts): shared strings, inline strings,
// numbers, booleans and the cached results of formulas. What keeps the workbook from being read
// is an error of the diagnostics (row 0, naming the part).
Sheet readXlsx(const QByteArray& data, Diagnostics& diagnostics);

// Comma-separated values as spreadsheet programs write them: fields in double quotes may hold
// commas, line breaks and doubled quotes. UTF-8 with or without a byte-order mark; text that is
// not UTF-8 is GBK (code page 936); UTF-16 with a byte-order mark. An Excel "sep=;" first line
// chooses the separator. A record is a row, numbered as a spreadsheet program shows it.
Sheet readCsv(const QByteArray& data, Diagnostics& diagnostics);

} // namespace tarnex::bank
