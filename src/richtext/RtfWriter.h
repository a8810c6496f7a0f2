#pragma once

#include <QByteArray>

class QTextDocument;

namespace tarnex {

// Writes the document as an RTF document that the Windows rich-edit control reads back:
// {\rtf1\ansi\ansicpg936\deff0 ...}, Chinese text as code page 936 \'hh pairs, characters outside
// the code page as \uN?, character and paragraph formatting, tables and PNG pictures.
QByteArray writeRtf(const QTextDocument& document);

} // namespace tarnex
