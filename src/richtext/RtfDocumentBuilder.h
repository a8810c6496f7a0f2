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

// Where the cells of a table's rows go in a grid. A cell's columns come from its edges: the grid
// has a column boundary at every right edge that any row gives, so a cell that spans the edges of
// other rows spans their columns. Merged ranges (\clmgf/\clmrg across, \clvmgf/\clvmrg down)
// become one cell. Rows without usable edges put their cells one per column.
struct TableLayout
{
    struct Cell
    {
        int row = 0;
        int column = 0;
        int rowSpan = 1;
        int columnSpan = 1;
        // A cell that continues another (merged into it, or past the last column) has that
        // cell's row and column and no grid position of its own.
        bool continues = false;
    };
    int columns = 0;
    std::vector<int> columnWidths;       // twips; 0 where unknown
    std::vector<std::vector<Cell>> rows; // one entry per cell of each row, in the rows' order
};
TableLayout layoutTable(const std::vector<TableRow>& rows, int maxColumns);

// Puts what the reader finds into a QTextDocument: paragraphs as blocks, rows as rows of a
// QTextTable, pictures as image resources of the document.
class DocumentBuilder : public Sink
{
public:
    // The document should be empty: content is appended at its end.
    explicit DocumentBuilder(QTextDocument* document);

    void paragraph(const Paragraph& paragraph, const Resources& resources) override;
    void tableRow(const TableRow& row, const Resources& resources) override;
    void end() override;

private:
    void flushTable();
    void insertParagraph(QTextCursor& cursor, const Paragraph& paragraph, const Resources& resources,
                         bool reuseBlock);
    void insertPicture(QTextCursor& cursor, const Picture& picture, const QTextCharFormat& format);
    const QTextCharFormat& charFormat(const CharProps& props, const Resources& resources);
    static QTextBlockFormat blockFormat(const ParaProps& props);

    QTextDocument* m_document;
    QTextCursor m_cursor;
    bool m_blockFresh = true; // the cursor's block is empty and takes the next paragraph
    // The rows of the table being read: a table is built once all its rows are known, since a
    // later row may split the columns of an earlier one.
    std::vector<TableRow> m_rows;
    const Resources* m_rowResources = nullptr;
    int m_pictureCount = 0;
    std::vector<std::pair<CharProps, QTextCharFormat>> m_formats;
    QTextCharFormat m_scratchFormat;
};

// A document cannot start with a table: Qt keeps an empty block before it, which is no paragraph
// of the text. True for that block.
bool isBlockBeforeLeadingTable(const QTextFrame::iterator& it);

} // namespace tarnex::rtf
