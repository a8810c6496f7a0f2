#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

class QTextDocument;

namespace tarnex::test {

// A rich-edit style document around an RTF body: code page 936, 宋体 as \f0, Arial as \f1,
// red and blue as colours 1 and 2.
QByteArray rtfDocument(const QByteArray& body);

// The text of a document the way LibreOffice exports it as text: every paragraph outside
// tables and every paragraph of every table cell on a line of its own, line breaks too.
QStringList documentLines(const QTextDocument& document);

// Lines of a text file as LibreOffice writes it: UTF-8, a byte-order mark, CR LF or LF; trailing
// empty lines dropped.
QStringList textFileLines(const QByteArray& data);

QByteArray readFile(const QString& path);
QString fixturePath(const QString& name);

// Converts a file with LibreOffice into the given format (for example "txt:Text (encoded):UTF8")
// in its own profile folder; returns the converted file's path, or an empty string when soffice
// is missing or failed.
QString sofficeConvert(const QString& inputPath, const QString& format, const QString& extension,
                       const QString& outputDir);
bool hasSoffice();

} // namespace tarnex::test
