#pragma once

#include "Exchange.h"
#include "SheetReader.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace tarnex::bank {

// The spreadsheet template of a paper (docs/exchange-formats.md): a header row naming the columns
// 题型, 题号, 题干, 选项 (or 选项A to 选项D), 答案, 解析, 类型 and 小题答案1 to 小题答案5, in
// any order, and one question per row below it. Rows above the header and empty rows are skipped.
namespace Template {

const QStringList& columns(); // the header of an exported workbook, in its order

// The questions of the sheet, their texts stored as rich text. Every row that is not a valid
// question is an error at its row; the header's faults are errors too.
std::vector<ExchangeQuestion> read(const Sheet& sheet, Diagnostics& diagnostics);

// The kind (table) a 题型 cell names: 单选题 or 单选 or 单项选择题 -> dds, and so on.
std::optional<QString> kindOf(const QString& cell);

// Answer letters written in a cell ("A", "a,c", "B D", "ＡＢ") in the bank's form: lower case, each
// once, in the order a, b, c, d. Nothing when the cell holds anything else.
std::optional<QString> lettersOf(const QString& cell);

// 正确, 对, A (true) -> "a"; 错误, 错, B (false) -> "b".
std::optional<QString> trueFalseOf(const QString& cell);

} // namespace Template
} // namespace tarnex::bank
