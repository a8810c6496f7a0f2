#include "RtfDocumentBuilder.h"

#include <QImage>
#include <QPainter>
#include <QTextDocument>
#include <QTextTable>
#include <QUrl>

#include <algorithm>
#include <limits>
#include <utility>

namespace tarnex::rtf {
namespace {

constexpr size_t MaxCachedFormats = 256;
constexpr int MaxColumns = 64;

double twipsToPixels(int twips)
{
    return twips / 15.0;
}

// What a metafile or an unreadable picture shows: a grey box of the picture's size.
QImage placeholderImage(QSize size)
{
    size = size.boundedTo(QSize(1000, 1000)).expandedTo(QSize(8, 8));
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(0xe8, 0xe8, 0xe8));
    QPainter painter(&image);
    painter.setPen(QColor(0x90, 0x90, 0x90));
    painter.drawRect(0, 0, size.width() - 1, size.height() - 1);
    painter.drawLine(0, 0, size.width() - 1, size.height() - 1);
    painter.drawLine(0, size.height() - 1, size.width() - 1, 0);
    return image;
}

} // namespace

TableLayout layoutTable(const std::vector<TableRow>& rows, int maxColumns)
{
    TableLayout layout;
    layout.rows.resize(rows.size());

    // The cells are placed by their edges when every row gives rising right edges for all of them.
    bool byEdges = true;
    std::vector<int> boundaries;
    int tableLeft = std::numeric_limits<int>::max();
    for (const TableRow& row : rows) {
        int previous = std::numeric_limits<int>::min();
        for (const TableCell& cell : row.cells) {
            if (cell.right < 0 || cell.right <= previous) {
                byEdges = false;
                break;
            }
            previous = cell.right;
            boundaries.push_back(cell.right);
        }
        if (!byEdges)
            break;
        if (!row.cells.empty())
            tableLeft = std::min(tableLeft, row.cells.front().right - row.cells.front().width);
    }
    std::sort(boundaries.begin(), boundaries.end());
    boundaries.erase(std::unique(boundaries.begin(), boundaries.end()), boundaries.end());
    if (boundaries.empty() || int(boundaries.size()) > maxColumns)
        byEdges = false;

    if (byEdges) {
        layout.columns = int(boundaries.size());
        int left = tableLeft;
        for (const int boundary : boundaries) {
            layout.columnWidths.push_back(std::max(0, boundary - left));
            left = boundary;
        }
    } else {
        size_t widest = 1;
        for (const TableRow& row : rows)
            widest = std::max(widest, row.cells.size());
        layout.columns = std::clamp(int(widest), 1, maxColumns);
        layout.columnWidths.assign(size_t(layout.columns), 0);
        for (const TableRow& row : rows) {
            for (size_t c = 0; c < row.cells.size() && c < size_t(layout.columns); ++c) {
                if (layout.columnWidths[c] == 0)
                    layout.columnWidths[c] = row.cells[c].width;
            }
        }
    }

    // For each column, the cell that last started there: a cell below that continues it
    // downwards joins it.
    std::vector<std::pair<int, int>> above(size_t(layout.columns), {-1, -1});
    for (size_t r = 0; r < rows.size(); ++r) {
        const std::vector<TableCell>& cells = rows[r].cells;
        std::vector<TableLayout::Cell>& placed = layout.rows[r];
        placed.reserve(cells.size());
        int origin = -1; // the index of the last cell of this row that has a place of its own
        int cellLeft = byEdges && !cells.empty() ? cells.front().right - cells.front().width : 0;
        for (size_t i = 0; i < cells.size(); ++i) {
            const TableCell& source = cells[i];
            TableLayout::Cell cell;
            cell.row = int(r);
            if (byEdges) {
                const auto first = std::upper_bound(boundaries.begin(), boundaries.end(), cellLeft);
                const auto last = std::lower_bound(boundaries.begin(), boundaries.end(), source.right);
                const int lastColumn = int(last - boundaries.begin());
                cell.column = std::min(int(first - boundaries.begin()), lastColumn);
                cell.columnSpan = lastColumn - cell.column + 1;
                cellLeft = source.right;
            } else if (int(i) < layout.columns) {
                cell.column = int(i);
            } else {
                // Past the last column the table allows: the text goes on in the last cell.
                cell = placed[size_t(layout.columns - 1)];
                cell.continues = true;
                placed.push_back(cell);
                continue;
            }

            if (source.horizontal == CellMerge::Next && origin >= 0) {
                TableLayout::Cell& joined = placed[size_t(origin)];
                joined.columnSpan = cell.column + cell.columnSpan - joined.column;
                cell = joined;
                cell.continues = true;
            } else if (source.vertical == CellMerge::Next && above[size_t(cell.column)].first >= 0) {
                const auto [row, index] = above[size_t(cell.column)];
                TableLayout::Cell& joined = layout.rows[size_t(row)][size_t(index)];
                if (joined.column == cell.column && joined.columnSpan == cell.columnSpan) {
                    joined.rowSpan = int(r) - joined.row + 1;
                    cell = joined;
                    cell.continues = true;
                }
            }
            if (!cell.continues) {
                origin = int(i);
                for (int c = cell.column; c < cell.column + cell.columnSpan; ++c)
                    above[size_t(c)] = {int(r), int(i)};
            }
            placed.push_back(cell);
        }
    }
    return layout;
}

DocumentBuilder::DocumentBuilder(QTextDocument* document) : m_document(document), m_cursor(document)
{
    m_formats.reserve(MaxCachedFormats);
    m_cursor.movePosition(QTextCursor::End);
    m_blockFresh = m_cursor.block().length() <= 1;
}

void DocumentBuilder::paragraph(const Paragraph& paragraph, const Resources& resources)
{
    flushTable();
    insertParagraph(m_cursor, paragraph, resources, m_blockFresh);
    m_blockFresh = false;
}

void DocumentBuilder::tableRow(const TableRow& row, const Resources& resources)
{
    m_rows.push_back(row);
    m_rowResources = &resources;
}

void DocumentBuilder::end()
{
    flushTable();
}

void DocumentBuilder::flushTable()
{
    if (m_rows.empty())
        return;
    const std::vector<TableRow> rows = std::exchange(m_rows, {});
    const Resources& resources = *m_rowResources;
    const TableLayout layout = layoutTable(rows, MaxColumns);

    QTextTableFormat format;
    format.setCellPadding(2);
    format.setCellSpacing(0);
    format.setBorderCollapse(true);
    format.setBorder(rows.front().borders ? 1 : 0);
    format.setBorderBrush(QColor(Qt::black));
    QList<QTextLength> widths;
    for (const int w : layout.columnWidths) {
        widths.append(w > 0 ? QTextLength(QTextLength::FixedLength, twipsToPixels(w))
                            : QTextLength(QTextLength::VariableLength, 0));
    }
    format.setColumnWidthConstraints(widths);
    QTextTable* table = m_cursor.insertTable(int(rows.size()), layout.columns, format);

    // Content first, each cell in its own grid position; the merges join the grid afterwards.
    for (size_t r = 0; r < rows.size(); ++r) {
        const std::vector<TableLayout::Cell>& placed = layout.rows[r];
        for (size_t i = 0; i < rows[r].cells.size(); ++i) {
            const std::vector<Paragraph>& paragraphs = rows[r].cells[i].paragraphs;
            const TableLayout::Cell& target = placed[i];
            // What a continuing cell holds goes on in the cell it continues.
            bool reuseBlock = !target.continues;
            if (target.continues && std::all_of(paragraphs.begin(), paragraphs.end(),
                                                [](const Paragraph& p) { return p.isEmpty(); }))
                continue;
            const QTextTableCell cell = table->cellAt(target.row, target.column);
            QTextCursor cursor = reuseBlock ? cell.firstCursorPosition() : cell.lastCursorPosition();
            for (const Paragraph& p : paragraphs) {
                insertParagraph(cursor, p, resources, reuseBlock);
                reuseBlock = false;
            }
        }
    }
    for (const std::vector<TableLayout::Cell>& rowCells : layout.rows) {
        for (const TableLayout::Cell& c : rowCells) {
            if (!c.continues && (c.rowSpan > 1 || c.columnSpan > 1))
                table->mergeCells(c.row, c.column, c.rowSpan, c.columnSpan);
        }
    }
    m_cursor = table->lastCursorPosition();
    m_cursor.movePosition(QTextCursor::NextBlock);
    m_blockFresh = true;
}

void DocumentBuilder::insertParagraph(QTextCursor& cursor, const Paragraph& paragraph,
                                      const Resources& resources, bool reuseBlock)
{
    const QTextBlockFormat block = blockFormat(paragraph.props);
    const QTextCharFormat mark = charFormat(paragraph.markProps, resources);
    if (reuseBlock) {
        cursor.setBlockFormat(block);
        cursor.setBlockCharFormat(mark);
    } else {
        cursor.insertBlock(block, mark);
    }
    for (const Run& run : paragraph.runs) {
        const QTextCharFormat& format = charFormat(run.props, resources);
        if (run.picture >= 0)
            insertPicture(cursor, resources.pictures[size_t(run.picture)], format);
        else
            cursor.insertText(run.text, format);
    }
}

void DocumentBuilder::insertPicture(QTextCursor& cursor, const Picture& picture,
                                    const QTextCharFormat& format)
{
    QImage image;
    if (picture.kind != Picture::Other)
        image.loadFromData(picture.data);
    QSizeF size = picture.size;
    if (image.isNull()) {
        if (size.isEmpty())
            size = QSizeF(32, 32);
        image = placeholderImage(size.toSize());
    } else if (size.isEmpty()) {
        size = image.size();
    }
    const QUrl name(QStringLiteral("rtf-image:%1").arg(++m_pictureCount));
    m_document->addResource(QTextDocument::ImageResource, name, image);
    QTextImageFormat imageFormat;
    imageFormat.merge(format);
    imageFormat.setName(name.toString());
    imageFormat.setWidth(size.width());
    imageFormat.setHeight(size.height());
    cursor.insertImage(imageFormat);
}

const QTextCharFormat& DocumentBuilder::charFormat(const CharProps& props, const Resources& resources)
{
    for (const auto& [cached, format] : m_formats) {
        if (cached == props)
            return format;
    }
    QTextCharFormat format;
    if (const FontEntry* font = resources.font(props.font); font && !font->family.isEmpty())
        format.setFontFamilies(QStringList{font->family});
    format.setFontPointSize(props.halfPoints / 2.0);
    if (props.bold)
        format.setFontWeight(QFont::Bold);
    if (props.italic)
        format.setFontItalic(true);
    if (props.underline)
        format.setFontUnderline(true);
    if (props.strike)
        format.setFontStrikeOut(true);
    if (props.hasColor)
        format.setForeground(QColor(props.color));
    if (props.hasBackground)
        format.setBackground(QColor(props.background));
    if (props.vertical == CharProps::Super)
        format.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    else if (props.vertical == CharProps::Sub)
        format.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    if (m_formats.size() >= MaxCachedFormats) {
        m_scratchFormat = format;
        return m_scratchFormat;
    }
    m_formats.emplace_back(props, format);
    return m_formats.back().second;
}

QTextBlockFormat DocumentBuilder::blockFormat(const ParaProps& props)
{
    QTextBlockFormat format;
    switch (props.align) {
    case ParaProps::Left:
        format.setAlignment(Qt::AlignLeft);
        break;
    case ParaProps::Center:
        format.setAlignment(Qt::AlignHCenter);
        break;
    case ParaProps::Right:
        format.setAlignment(Qt::AlignRight);
        break;
    case ParaProps::Justify:
        format.setAlignment(Qt::AlignJustify);
        break;
    }
    if (props.leftIndent)
        format.setLeftMargin(twipsToPixels(props.leftIndent));
    if (props.rightIndent)
        format.setRightMargin(twipsToPixels(props.rightIndent));
    if (props.firstIndent)
        format.setTextIndent(twipsToPixels(props.firstIndent));
    if (props.spaceBefore)
        format.setTopMargin(twipsToPixels(props.spaceBefore));
    if (props.spaceAfter)
        format.setBottomMargin(twipsToPixels(props.spaceAfter));
    if (props.lineMultiple && props.lineSpacing > 0)
        format.setLineHeight(props.lineSpacing * 100.0 / 240.0, QTextBlockFormat::ProportionalHeight);
    else if (!props.lineMultiple && props.lineSpacing > 0)
        format.setLineHeight(twipsToPixels(props.lineSpacing), QTextBlockFormat::MinimumHeight);
    else if (!props.lineMultiple && props.lineSpacing < 0)
        format.setLineHeight(twipsToPixels(-props.lineSpacing), QTextBlockFormat::FixedHeight);
    return format;
}

bool isBlockBeforeLeadingTable(const QTextFrame::iterator& it)
{
    const QTextBlock block = it.currentBlock();
    if (!block.isValid() || block.position() != 0 || block.length() != 1)
        return false;
    auto next = it;
    ++next;
    return !next.atEnd() && qobject_cast<const QTextTable*>(next.currentFrame());
}

} // namespace tarnex::rtf
