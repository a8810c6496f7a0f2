#pragma once

#include "RtfContent.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace tarnex::rtf {

// The shape of the plain text that both the reader's plain-text path and documentPlainText()
// give: a paragraph is a line (its line breaks start new lines), a table row is a line whose
// cells are separated by tabs, and inside a cell paragraphs and line breaks become spaces.
class PlainTextBuilder
{
public:
    void addParagraph(QString text);
    void addRow(const QStringList& cells);
    // The cell of a row from the texts of its paragraphs.
    static QString cellText(const QStringList& paragraphs);
    QString result();

private:
    void addLine(const QString& line);
    void flushRows();

    QString m_text;
    std::vector<QStringList> m_rows; // the rows of the current table
    qsizetype m_columns = 0;
    bool m_empty = true;
    bool m_afterRow = false;
    bool m_heldEmptyLine = false;
};

// Collects the reader's content as plain text, without building a document.
class PlainTextSink : public Sink
{
public:
    void paragraph(const Paragraph& paragraph, const Resources& resources) override;
    void tableRow(const TableRow& row, const Resources& resources) override;
    bool wantsPictures() const override { return false; }

    QString result() { return m_builder.result(); }

private:
    static QString text(const Paragraph& paragraph);

    PlainTextBuilder m_builder;
};

} // namespace tarnex::rtf
