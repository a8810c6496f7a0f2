#pragma once

#include <QByteArray>

class QImage;
class QString;
class QTextDocument;

namespace tarnex {

// Writes the document as an RTF document that the Windows rich-edit control reads back:
// {\rtf1\ansi\ansicpg936\deff0 ...}, Chinese text as code page 936 \'hh pairs, characters outside
// the code page as \uN?, character and paragraph formatting, tables and PNG pictures.
QByteArray writeRtf(const QTextDocument& document);

// The picture a document holds under an image name (an image resource given as QImage, QPixmap
// or encoded bytes), or a null image.
QImage documentImage(const QTextDocument& document, const QString& name);

} // namespace tarnex
