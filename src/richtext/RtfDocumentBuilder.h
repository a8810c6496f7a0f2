#pragma once

#include "RtfContent.h"

#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextFrame>

#include <utility>
#include <vector>

class QTextDocument;
class QTextTable;

namespace tarnex::rtf {

// Puts what the reader finds into a QTextDocument: paragraphs as blocks, rows as rows of a
// QTextTable, pictures as image resources of the document.
class DocumentBuilder : public Sink
{
public:
    // The document should be empty: content is appended at its end.
    explicit DocumentBuilder(QTextDocument* document);

    void paragraph(const Paragraph& paragraph, const Resources& resources) override;
    void tableRow(const TableRow& row, const Resources& resources) override;

private:
    void insertParagraph(QTextCursor& cursor, const Paragraph& paragraph, const Resources& resources,
                         bool reuseBlock);
    void insertPicture(QTextCursor& cursor, const Picture& picture, const QTextCharFormat& format);
    const QTextCharFormat& charFormat(const CharProps& props, const Resources& resources);
    static QTextBlockFormat blockFormat(const ParaProps& props);

    QTextDocument* m_document;
    QTextCursor m_cursor;
    bool m_blockFresh = true; // the cursor's block is empty and takes the next paragraph
    QTextTable* m_table = nullptr;
    int m_pictureCount = 0;
    std::vector<std::pair<CharProps, QTextCharFormat>> m_formats;
    QTextCharFormat m_scratchFormat;
};

// A document cannot start with a table: Qt keeps an empty block before it, which is no paragraph
// of the text. True for that block.
bool isBlockBeforeLeadingTable(const QTextFrame::iterator& it);

} // namespace tarnex::rtf
