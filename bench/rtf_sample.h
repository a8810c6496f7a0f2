#pragma once

#include <QByteArray>

// Question texts as the Windows rich-edit control writes them, for the RTF benchmarks: Chinese
// text in code page 936 with character formatting, paragraph changes and, in accounting style,
// tables of accounts and amounts.
namespace tarnex::bench {

// A document of at least the given size in bytes, made of whole paragraphs and tables.
QByteArray sampleRtf(qsizetype minimumBytes, bool withTables = true);

} // namespace tarnex::bench
