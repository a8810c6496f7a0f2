#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>

class QTextDocument;
class QTextEdit;

namespace tarnex {

// True when the bytes start an RTF document ("{\rtf", leading blanks allowed).
bool isRtf(const QByteArray& data);

// Replaces the document's content by the RTF document in data. A value that is not RTF loads as
// plain text in the ANSI code page. Malformed RTF never fails: what can be read is loaded.
void readRtf(const QByteArray& data, QTextDocument* document);

// The plain text of an RTF document as the reader sees it: paragraphs on lines, table cells of a
// row separated by a tab, rows on lines.
QString rtfToPlainText(const QByteArray& data);

// The plain text of a document in the shape rtfToPlainText() gives, so that a document read by
// readRtf() gives the same text as the RTF it came from.
QString documentPlainText(const QTextDocument& document);

// Loads a stored rich-text value into an editor the way the windows need it: the whole value
// replaces the content, an empty value leaves the editor empty.
void loadStoredRichText(QTextEdit* editor, const QByteArray& data);

// Rich-text columns are stored as blobs (RTF, or plain text in the ANSI code page). A value that
// another tool stored as TEXT is text already: RTF is read with its characters as they are, and
// anything else is plain text as it is, never decoded a second time.
void readStoredText(const QString& text, QTextDocument* document);
QString storedTextToPlainText(const QString& text);
// A column's value as the bank holds it: a QString for a TEXT value, bytes for anything else.
void loadStoredValue(QTextEdit* editor, const QVariant& value);

} // namespace tarnex
