#pragma once

#include <QByteArray>

class QMimeData;
class QTextCursor;

namespace tarnex {

// The RTF document that a clipboard or a drop offers, from the flavours word processors put
// there (text/rtf, application/rtf, text/richtext, the Windows "Rich Text Format"); empty when
// none of them holds RTF.
QByteArray rtfFromMimeData(const QMimeData& data);

// Inserts an RTF document at the cursor as the reader reads it: paragraphs, character formats,
// tables and pictures. Every picture is added to the cursor's document under a name of its own,
// so it never replaces a picture the document already shows.
void insertRtf(QTextCursor& cursor, const QByteArray& rtf);

} // namespace tarnex
