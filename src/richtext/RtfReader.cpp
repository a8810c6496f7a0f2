#include "RtfReader.h"

#include "RtfDocumentBuilder.h"
#include "RtfParser.h"
#include "RtfPlainText.h"
#include "platform/CodePage.h"

#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextFrame>
#include <QTextTable>

namespace tarnex {
namespace {

// Plain text for an editor: lines ended by CR LF, CR or LF become paragraphs.
QString editorText(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    // Other control characters have no place in an editor, as in the RTF path.
    text.removeIf([](QChar c) { return c.unicode() < 0x20 && c != u'\t' && c != u'\n'; });
    return text;
}

// A value that is not RTF is text in the ANSI code page.
QString plainTextOf(const QByteArray& data)
{
    return editorText(CodePage::decode(data, CodePage::Ansi));
}

// An RTF document held as text: characters outside ASCII become Unicode escapes, so the reader
// sees the characters themselves whatever code page the document names.
QByteArray rtfOfText(const QString& text)
{
    QByteArray out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const char16_t unit = c.unicode();
        if (unit < 0x80) {
            out.append(char(unit));
            continue;
        }
        const int signedUnit = unit > 0x7FFF ? int(unit) - 0x10000 : int(unit);
        out.append("\\u").append(QByteArray::number(signedUnit)).append('?');
    }
    return out;
}

// The paragraphs from an iterator of a frame or a table cell to its end, nested frames included.
QStringList paragraphsFrom(QTextFrame::iterator it)
{
    QStringList paragraphs;
    for (; !it.atEnd(); ++it) {
        if (const QTextFrame* child = it.currentFrame())
            paragraphs += paragraphsFrom(child->begin());
        else
            paragraphs.append(it.currentBlock().text());
    }
    return paragraphs;
}

void addFrame(rtf::PlainTextBuilder& builder, const QTextFrame* frame)
{
    for (auto it = frame->begin(); !it.atEnd(); ++it) {
        if (const auto* table = qobject_cast<const QTextTable*>(it.currentFrame())) {
            for (int r = 0; r < table->rows(); ++r) {
                QStringList cells;
                for (int c = 0; c < table->columns(); ++c) {
                    const QTextTableCell cell = table->cellAt(r, c);
                    if (cell.row() == r && cell.column() == c)
                        cells.append(rtf::PlainTextBuilder::cellText(paragraphsFrom(cell.begin())));
                }
                builder.addRow(cells);
            }
        } else if (const QTextFrame* child = it.currentFrame()) {
            addFrame(builder, child);
        } else {
            if (!rtf::isBlockBeforeLeadingTable(it))
                builder.addParagraph(it.currentBlock().text());
        }
    }
}

} // namespace

bool isRtf(const QByteArray& data)
{
    return QByteArrayView(data).trimmed().startsWith("{\\rtf");
}

void readRtf(const QByteArray& data, QTextDocument* document)
{
    document->clear();
    if (!isRtf(data)) {
        document->setPlainText(plainTextOf(data));
        return;
    }
    const bool undo = document->isUndoRedoEnabled();
    document->setUndoRedoEnabled(false);
    // One edit block for the whole load: Qt rescans the document's frames at the end of every
    // edit, which made each table row cost as much as the whole document before it.
    QTextCursor batch(document);
    batch.beginEditBlock();
    rtf::DocumentBuilder builder(document);
    rtf::Parser(data, builder).run();
    batch.endEditBlock();
    document->setUndoRedoEnabled(undo);
}

QString rtfToPlainText(const QByteArray& data)
{
    if (!isRtf(data))
        return plainTextOf(data);
    rtf::PlainTextSink sink;
    rtf::Parser(data, sink).run();
    return sink.result();
}

QString documentPlainText(const QTextDocument& document)
{
    rtf::PlainTextBuilder builder;
    addFrame(builder, document.rootFrame());
    return builder.result();
}

void readStoredText(const QString& text, QTextDocument* document)
{
    if (isRtf(text.left(64).toLatin1()))
        readRtf(rtfOfText(text), document);
    else
        document->setPlainText(editorText(text));
}

QString storedTextToPlainText(const QString& text)
{
    return isRtf(text.left(64).toLatin1()) ? rtfToPlainText(rtfOfText(text)) : editorText(text);
}

void loadStoredValue(QTextEdit* editor, const QVariant& value)
{
    if (value.typeId() != QMetaType::QString) {
        loadStoredRichText(editor, value.toByteArray());
        return;
    }
    const QString text = value.toString();
    if (text.isEmpty())
        editor->clear();
    else
        readStoredText(text, editor->document());
    editor->document()->clearUndoRedoStacks();
    editor->document()->setModified(false);
    editor->moveCursor(QTextCursor::Start);
}

void loadStoredRichText(QTextEdit* editor, const QByteArray& data)
{
    if (data.isEmpty())
        editor->clear();
    else
        readRtf(data, editor->document());
    editor->document()->clearUndoRedoStacks();
    editor->document()->setModified(false);
    editor->moveCursor(QTextCursor::Start);
}

} // namespace tarnex
