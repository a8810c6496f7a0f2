#include "RtfPlainText.h"

#include <algorithm>

namespace tarnex::rtf {
namespace {

constexpr char16_t LineSeparator = 0x2028;
constexpr char16_t ObjectReplacement = 0xFFFC;

} // namespace

void PlainTextBuilder::addParagraph(QString text)
{
    flushRows();
    text.remove(QChar(ObjectReplacement));
    text.replace(QChar(LineSeparator), QChar(u'\n'));
    // A table must be followed by a paragraph, so an empty last paragraph after a table is only
    // the document's closing mark: it is held back until something follows it.
    if (text.isEmpty() && m_afterRow) {
        m_heldEmptyLine = true;
        m_afterRow = false;
        return;
    }
    addLine(text);
    m_afterRow = false;
}

void PlainTextBuilder::addRow(const QStringList& cells)
{
    m_rows.push_back(cells);
    m_columns = std::max(m_columns, cells.size());
    m_afterRow = true;
}

void PlainTextBuilder::flushRows()
{
    for (QStringList& cells : m_rows) {
        while (cells.size() < m_columns)
            cells.append(QString());
        addLine(cells.join(u'\t'));
    }
    m_rows.clear();
    m_columns = 0;
}

QString PlainTextBuilder::cellText(const QStringList& paragraphs)
{
    QString text = paragraphs.join(u' ');
    text.remove(QChar(ObjectReplacement));
    text.replace(QChar(LineSeparator), QChar(u' '));
    text.replace(QChar(u'\t'), QChar(u' '));
    return text;
}

void PlainTextBuilder::addLine(const QString& line)
{
    if (m_heldEmptyLine) {
        m_heldEmptyLine = false;
        addLine(QString());
    }
    if (!m_empty)
        m_text += u'\n';
    m_text += line;
    m_empty = false;
}

QString PlainTextBuilder::result()
{
    flushRows();
    return m_text;
}

void PlainTextSink::paragraph(const Paragraph& paragraph, const Resources&)
{
    m_builder.addParagraph(text(paragraph));
}

void PlainTextSink::tableRow(const TableRow& row, const Resources&)
{
    QStringList cells;
    cells.reserve(qsizetype(row.cells.size()));
    for (const TableCell& cell : row.cells) {
        // An empty cell that continues a merged one is part of that cell, as in a document.
        const bool continues = cell.horizontal == CellMerge::Next || cell.vertical == CellMerge::Next;
        if (continues && std::all_of(cell.paragraphs.begin(), cell.paragraphs.end(),
                                     [](const Paragraph& p) { return p.isEmpty(); }))
            continue;
        QStringList paragraphs;
        for (const Paragraph& p : cell.paragraphs)
            paragraphs.append(text(p));
        cells.append(PlainTextBuilder::cellText(paragraphs));
    }
    m_builder.addRow(cells);
}

QString PlainTextSink::text(const Paragraph& paragraph)
{
    if (paragraph.runs.size() == 1)
        return paragraph.runs.front().text;
    QString text;
    for (const Run& run : paragraph.runs)
        text += run.text;
    return text;
}

} // namespace tarnex::rtf
