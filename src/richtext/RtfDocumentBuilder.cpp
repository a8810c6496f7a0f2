#include "RtfDocumentBuilder.h"

#include <QImage>
#include <QPainter>
#include <QTextDocument>
#include <QTextTable>
#include <QUrl>

#include <algorithm>

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

DocumentBuilder::DocumentBuilder(QTextDocument* document)
    : m_document(document), m_cursor(document)
{
    m_formats.reserve(MaxCachedFormats);
    m_cursor.movePosition(QTextCursor::End);
    m_blockFresh = m_cursor.block().length() <= 1;
}

void DocumentBuilder::paragraph(const Paragraph& paragraph, const Resources& resources)
{
    m_table = nullptr;
    insertParagraph(m_cursor, paragraph, resources, m_blockFresh);
    m_blockFresh = false;
}

void DocumentBuilder::tableRow(const TableRow& row, const Resources& resources)
{
    const int columns = std::clamp(int(row.cells.size()), 1, MaxColumns);
    if (!m_table) {
        QTextTableFormat format;
        format.setCellPadding(2);
        format.setCellSpacing(0);
        format.setBorderCollapse(true);
        format.setBorder(row.borders ? 1 : 0);
        format.setBorderBrush(QColor(Qt::black));
        QList<QTextLength> widths;
        for (int i = 0; i < columns; ++i) {
            const int w = row.cells[size_t(i)].width;
            widths.append(w > 0 ? QTextLength(QTextLength::FixedLength, twipsToPixels(w))
                                : QTextLength(QTextLength::VariableLength, 0));
        }
        format.setColumnWidthConstraints(widths);
        m_table = m_cursor.insertTable(1, columns, format);
    } else {
        m_table->appendRows(1);
        if (columns > m_table->columns()) {
            const int added = columns - m_table->columns();
            m_table->appendColumns(added);
            QTextTableFormat format = m_table->format();
            QList<QTextLength> widths = format.columnWidthConstraints();
            for (int i = int(widths.size()); i < columns; ++i) {
                const int w = row.cells[size_t(i)].width;
                widths.append(w > 0 ? QTextLength(QTextLength::FixedLength, twipsToPixels(w))
                                    : QTextLength(QTextLength::VariableLength, 0));
            }
            format.setColumnWidthConstraints(widths);
            m_table->setFormat(format);
        }
    }
    // Cells past the last column the table allows go on in the last cell.
    const int r = m_table->rows() - 1;
    for (size_t i = 0; i < row.cells.size(); ++i) {
        const int c = std::min(int(i), columns - 1);
        bool reuseBlock = int(i) == c;
        QTextCursor cell = reuseBlock ? m_table->cellAt(r, c).firstCursorPosition()
                                      : m_table->cellAt(r, c).lastCursorPosition();
        for (const Paragraph& p : row.cells[i].paragraphs) {
            insertParagraph(cell, p, resources, reuseBlock);
            reuseBlock = false;
        }
    }
    m_cursor = m_table->lastCursorPosition();
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

void DocumentBuilder::insertPicture(QTextCursor& cursor, const Picture& picture, const QTextCharFormat& format)
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
    case ParaProps::Left: format.setAlignment(Qt::AlignLeft); break;
    case ParaProps::Center: format.setAlignment(Qt::AlignHCenter); break;
    case ParaProps::Right: format.setAlignment(Qt::AlignRight); break;
    case ParaProps::Justify: format.setAlignment(Qt::AlignJustify); break;
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
