#include "RtfWriter.h"

#include "RtfDocumentBuilder.h"
#include "platform/CodePage.h"

#include <QBuffer>
#include <QImage>
#include <QPixmap>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <QUrl>

#include <array>
#include <optional>

namespace tarnex {
namespace {

constexpr char16_t LineSeparator = 0x2028;
constexpr char16_t NoBreakSpace = 0x00A0;
constexpr char16_t ObjectReplacement = 0xFFFC;

// The default font of the Chinese rich-edit control, for text that names no font.
const QString DefaultFamily = QStringLiteral("宋体");

// Width given to a table whose columns name no width: the text width of an A4 page in twips.
constexpr int PageTextWidth = 9638;

int pixelsToTwips(double pixels)
{
    return qRound(pixels * 15.0);
}

// Whether text in this font is Chinese text: such fonts are written with \fcharset134 and their
// text in code page 936; other fonts get \fcharset0 and Unicode escapes for non-ASCII text.
bool isChineseFamily(const QString& family)
{
    for (const QChar c : family) {
        if (c.unicode() >= 0x80)
            return true;
    }
    static const std::array<QLatin1String, 20> Names = {
        QLatin1String("simsun"), QLatin1String("simhei"), QLatin1String("kaiti"),
        QLatin1String("fangsong"), QLatin1String("yahei"), QLatin1String("dengxian"),
        QLatin1String("cjk"), QLatin1String("wenquanyi"), QLatin1String("wqy"),
        QLatin1String("source han"), QLatin1String("ar pl"), QLatin1String("stsong"),
        QLatin1String("stheiti"), QLatin1String("stxihei"), QLatin1String("stkaiti"),
        QLatin1String("stfangsong"), QLatin1String("lisu"), QLatin1String("youyuan"),
        QLatin1String("ukai"), QLatin1String("uming"),
    };
    const QString lower = family.toLower();
    for (const QLatin1String& name : Names) {
        if (lower.contains(name))
            return true;
    }
    return false;
}

QString familyOf(const QTextCharFormat& format)
{
    const QVariant families = format.fontFamilies();
    if (families.isValid()) {
        const QStringList list = families.toStringList();
        if (!list.isEmpty() && !list.front().isEmpty())
            return list.front();
    }
    return format.stringProperty(QTextFormat::FontFamily); // set by older code through setFontFamily()
}

void appendHex(QByteArray& out, unsigned char v)
{
    static const char Hex[] = "0123456789abcdef";
    out += "\\'";
    out += Hex[v >> 4];
    out += Hex[v & 15];
}

void appendAscii(QByteArray& out, char16_t c)
{
    if (c == '\\' || c == '{' || c == '}')
        out += '\\';
    out += char(c);
}

// Text as \uN? escapes, ASCII as itself.
void appendUnicode(QByteArray& out, QStringView text)
{
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        if (c < 0x80) {
            appendAscii(out, c);
            continue;
        }
        out += "\\u" + QByteArray::number(c > 32767 ? int(c) - 65536 : int(c)) + '?';
    }
}

// Text in code page 936 as \'hh escapes, characters the code page lacks as \uN?. The whole text
// is converted at once and walked beside the characters: an ASCII character is one byte, '?' for
// a non-ASCII character means the code page lacks it, a lead byte starts a pair.
void appendCodePageText(QByteArray& out, QStringView text)
{
    const QByteArray bytes = CodePage::encode(text.toString(), CodePage::Ansi);
    const auto* b = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype n = bytes.size();
    qsizetype pos = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (pos >= n) { // out of step with the conversion: keep the text all the same
            appendUnicode(out, text.sliced(i));
            return;
        }
        if (c < 0x80) {
            appendAscii(out, c);
            ++pos;
        } else if (b[pos] == '?') {
            const qsizetype units = QChar::isHighSurrogate(c) && i + 1 < text.size() ? 2 : 1;
            appendUnicode(out, text.sliced(i, units));
            i += units - 1;
            ++pos;
        } else if (CodePage::isLeadByte(CodePage::Ansi, b[pos]) && pos + 1 < n) {
            appendHex(out, b[pos]);
            appendHex(out, b[pos + 1]);
            pos += 2;
        } else {
            appendHex(out, b[pos]);
            ++pos;
        }
    }
}

struct CharState
{
    int font = -1;
    int halfPoints = -1;
    int color = -1;
    int background = -1;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    int vertical = 0;
};

class Writer
{
public:
    explicit Writer(const QTextDocument& document) : m_document(document) {}

    QByteArray run();

private:
    void collect(const QTextFrame* frame);
    void collectFormat(const QTextCharFormat& format);
    int fontIndex(const QTextCharFormat& format) const;
    int colorIndex(const QBrush& brush) const;

    void writeHeader(QByteArray& out) const;
    void writeFrame(const QTextFrame* frame);
    void writeTable(const QTextTable* table);
    void writeCellContent(const QTextFrame::iterator& begin, const QTextFrame::iterator& end);
    void writeParagraph(const QTextBlock& block, bool inTable, const char* end);
    void writeParagraphProps(const QTextBlockFormat& format);
    void writeCharProps(const QTextCharFormat& format);
    void writeText(QStringView text, bool chinese);
    void writeImage(const QTextImageFormat& format);
    void word(const char* name, int value);

    const QTextDocument& m_document;
    QByteArray m_out;
    QStringList m_fonts{DefaultFamily};
    QList<QRgb> m_colors;
    CharState m_state;
    bool m_chineseFont = true;
};

QByteArray Writer::run()
{
    collect(m_document.rootFrame());
    m_out.reserve(m_document.characterCount() * 4 + 256);
    writeFrame(m_document.rootFrame());
    QByteArray out;
    out.reserve(m_out.size() + 512);
    writeHeader(out);
    out += m_out;
    out += "}\r\n";
    return out;
}

void Writer::collect(const QTextFrame* frame)
{
    for (QTextBlock block = frame->firstCursorPosition().block();
         block.isValid() && block.position() <= frame->lastPosition(); block = block.next()) {
        collectFormat(block.charFormat());
        for (auto it = block.begin(); !it.atEnd(); ++it)
            collectFormat(it.fragment().charFormat());
    }
}

void Writer::collectFormat(const QTextCharFormat& format)
{
    const QString family = familyOf(format);
    if (!family.isEmpty() && !m_fonts.contains(family))
        m_fonts.append(family);
    for (const QBrush& brush : {format.foreground(), format.background()}) {
        if (brush.style() != Qt::NoBrush && !m_colors.contains(brush.color().rgb()))
            m_colors.append(brush.color().rgb());
    }
}

int Writer::fontIndex(const QTextCharFormat& format) const
{
    const QString family = familyOf(format);
    return family.isEmpty() ? 0 : std::max<int>(0, int(m_fonts.indexOf(family)));
}

int Writer::colorIndex(const QBrush& brush) const
{
    if (brush.style() == Qt::NoBrush)
        return 0;
    return int(m_colors.indexOf(brush.color().rgb())) + 1;
}

void Writer::writeHeader(QByteArray& out) const
{
    out += "{\\rtf1\\ansi\\ansicpg936\\deff0\\deflang1033\\deflangfe2052{\\fonttbl";
    for (int i = 0; i < m_fonts.size(); ++i) {
        const bool chinese = i == 0 || isChineseFamily(m_fonts[i]);
        out += "{\\f" + QByteArray::number(i) + "\\fnil\\fcharset" + (chinese ? "134 " : "0 ");
        QString name = m_fonts[i];
        name.removeIf([](QChar c) { return c == u';' || c.unicode() < 0x20; });
        if (chinese)
            appendCodePageText(out, name);
        else
            appendUnicode(out, name);
        out += ";}";
    }
    out += "}\r\n";
    if (!m_colors.isEmpty()) {
        out += "{\\colortbl ;";
        for (const QRgb rgb : m_colors) {
            out += "\\red" + QByteArray::number(qRed(rgb)) + "\\green" + QByteArray::number(qGreen(rgb))
                   + "\\blue" + QByteArray::number(qBlue(rgb)) + ';';
        }
        out += "}\r\n";
    }
    out += "\\viewkind4\\uc1";
}

void Writer::writeFrame(const QTextFrame* frame)
{
    for (auto it = frame->begin(); !it.atEnd(); ++it) {
        if (const auto* table = qobject_cast<const QTextTable*>(it.currentFrame())) {
            writeTable(table);
        } else if (const QTextFrame* child = it.currentFrame()) {
            writeFrame(child);
        } else {
            if (!rtf::isBlockBeforeLeadingTable(it))
                writeParagraph(it.currentBlock(), false, "\\par");
        }
    }
}

void Writer::writeTable(const QTextTable* table)
{
    const QTextTableFormat format = table->format();
    const QList<QTextLength> constraints = format.columnWidthConstraints();
    const int columns = table->columns();

    // Column widths in twips: fixed widths as given, the rest share what is left of the page.
    std::vector<int> widths(size_t(columns), 0);
    int fixed = 0;
    int variable = 0;
    for (int c = 0; c < columns; ++c) {
        const QTextLength length = c < constraints.size() ? constraints[c] : QTextLength();
        if (length.type() == QTextLength::FixedLength)
            widths[size_t(c)] = pixelsToTwips(length.rawValue());
        else if (length.type() == QTextLength::PercentageLength)
            widths[size_t(c)] = qRound(PageTextWidth * length.rawValue() / 100.0);
        else
            ++variable;
        fixed += widths[size_t(c)];
    }
    for (int& w : widths) {
        if (w <= 0)
            w = std::max(360, variable > 0 ? (PageTextWidth - fixed) / variable : 360);
    }

    const bool borders = format.border() > 0;
    for (int r = 0; r < table->rows(); ++r) {
        m_out += "\\trowd\\trgaph108\\trleft0";
        int right = 0;
        std::vector<QTextTableCell> cells;
        for (int c = 0; c < columns; ++c) {
            const QTextTableCell cell = table->cellAt(r, c);
            right += widths[size_t(c)];
            if (cell.column() + cell.columnSpan() - 1 != c)
                continue; // the cell ends further right
            if (cell.row() != r) {
                m_out += "\\clvmrg";
            } else if (cell.rowSpan() > 1) {
                m_out += "\\clvmgf";
            }
            if (borders)
                m_out += "\\clbrdrt\\brdrw10\\brdrs\\clbrdrl\\brdrw10\\brdrs\\clbrdrb\\brdrw10\\brdrs\\clbrdrr\\brdrw10\\brdrs";
            word("cellx", right);
            cells.push_back(cell);
        }
        for (const QTextTableCell& cell : cells) {
            if (cell.row() != r) {
                m_out += "\\pard\\intbl\\cell";
                continue;
            }
            writeCellContent(cell.begin(), cell.end());
        }
        m_out += "\\row\r\n";
    }
}

void Writer::writeCellContent(const QTextFrame::iterator& begin, const QTextFrame::iterator& end)
{
    // Nested tables are not written as tables: their paragraphs join the cell's.
    std::vector<QTextBlock> blocks;
    for (auto it = begin; it != end && !it.atEnd(); ++it) {
        if (const QTextFrame* child = it.currentFrame()) {
            for (QTextBlock b = child->firstCursorPosition().block();
                 b.isValid() && b.position() <= child->lastPosition(); b = b.next())
                blocks.push_back(b);
        } else {
            blocks.push_back(it.currentBlock());
        }
    }
    if (blocks.empty()) {
        m_out += "\\pard\\intbl\\cell";
        return;
    }
    for (size_t i = 0; i < blocks.size(); ++i)
        writeParagraph(blocks[i], true, i + 1 == blocks.size() ? "\\cell" : "\\par");
}

void Writer::writeParagraph(const QTextBlock& block, bool inTable, const char* end)
{
    m_out += "\\pard";
    if (inTable)
        m_out += "\\intbl";
    writeParagraphProps(block.blockFormat());
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        const QTextCharFormat format = fragment.charFormat();
        writeCharProps(format);
        if (format.isImageFormat()) {
            for (int i = 0; i < fragment.length(); ++i)
                writeImage(format.toImageFormat());
            continue;
        }
        writeText(fragment.text(), m_chineseFont);
    }
    writeCharProps(block.charFormat());
    m_out += end;
    m_out += "\r\n";
}

void Writer::writeParagraphProps(const QTextBlockFormat& format)
{
    const Qt::Alignment align = format.alignment();
    if (align & Qt::AlignHCenter)
        m_out += "\\qc";
    else if (align & Qt::AlignJustify)
        m_out += "\\qj";
    else if (align & Qt::AlignRight)
        m_out += "\\qr";
    const double left = format.leftMargin() + format.indent() * m_document.indentWidth();
    if (const int v = pixelsToTwips(left))
        word("li", v);
    if (const int v = pixelsToTwips(format.rightMargin()))
        word("ri", v);
    if (const int v = pixelsToTwips(format.textIndent()))
        word("fi", v);
    if (const int v = pixelsToTwips(format.topMargin()))
        word("sb", v);
    if (const int v = pixelsToTwips(format.bottomMargin()))
        word("sa", v);
    switch (format.lineHeightType()) {
    case QTextBlockFormat::ProportionalHeight:
        if (format.lineHeight() > 0 && qRound(format.lineHeight()) != 100) {
            word("sl", qRound(format.lineHeight() * 240.0 / 100.0));
            word("slmult", 1);
        }
        break;
    case QTextBlockFormat::MinimumHeight:
        word("sl", pixelsToTwips(format.lineHeight()));
        word("slmult", 0);
        break;
    case QTextBlockFormat::FixedHeight:
        word("sl", -pixelsToTwips(format.lineHeight()));
        word("slmult", 0);
        break;
    default:
        break;
    }
    m_out += ' ';
}

void Writer::writeCharProps(const QTextCharFormat& format)
{
    CharState s;
    s.font = fontIndex(format);
    double points = format.fontPointSize();
    if (points <= 0)
        points = m_document.defaultFont().pointSizeF();
    if (points <= 0)
        points = 12;
    s.halfPoints = qRound(points * 2);
    s.color = colorIndex(format.foreground());
    s.background = colorIndex(format.background());
    s.bold = format.fontWeight() >= QFont::DemiBold;
    s.italic = format.fontItalic();
    s.underline = format.fontUnderline();
    s.strike = format.fontStrikeOut();
    s.vertical = format.verticalAlignment() == QTextCharFormat::AlignSuperScript ? 1
                 : format.verticalAlignment() == QTextCharFormat::AlignSubScript ? 2
                                                                                 : 0;
    const qsizetype before = m_out.size();
    if (s.font != m_state.font)
        word("f", s.font);
    if (s.halfPoints != m_state.halfPoints)
        word("fs", s.halfPoints);
    if (s.color != m_state.color)
        word("cf", s.color);
    if (s.background != m_state.background)
        word("highlight", s.background);
    if (s.bold != m_state.bold)
        m_out += s.bold ? "\\b" : "\\b0";
    if (s.italic != m_state.italic)
        m_out += s.italic ? "\\i" : "\\i0";
    if (s.underline != m_state.underline)
        m_out += s.underline ? "\\ul" : "\\ulnone";
    if (s.strike != m_state.strike)
        m_out += s.strike ? "\\strike" : "\\strike0";
    if (s.vertical != m_state.vertical)
        m_out += s.vertical == 1 ? "\\super" : s.vertical == 2 ? "\\sub" : "\\nosupersub";
    if (m_out.size() != before)
        m_out += ' ';
    m_state = s;
    m_chineseFont = s.font == 0 || isChineseFamily(m_fonts[s.font]);
}

void Writer::writeText(QStringView text, bool chinese)
{
    qsizetype start = 0;
    auto flush = [&](qsizetype end) {
        if (end > start) {
            if (chinese)
                appendCodePageText(m_out, text.sliced(start, end - start));
            else
                appendUnicode(m_out, text.sliced(start, end - start));
        }
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        const char* special = nullptr;
        switch (c) {
        case u'\t': special = "\\tab "; break;
        case LineSeparator:
        case u'\n':
        case u'\r': special = "\\line "; break;
        case NoBreakSpace: special = "\\~"; break;
        case ObjectReplacement: special = ""; break;
        default:
            if (c < 0x20)
                special = "";
            break;
        }
        if (!special)
            continue;
        flush(i);
        m_out += special;
        start = i + 1;
    }
    flush(text.size());
}

void Writer::writeImage(const QTextImageFormat& format)
{
    const QImage image = documentImage(m_document, format.name());
    if (image.isNull())
        return;
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    const double width = format.width() > 0 ? format.width() : image.width();
    const double height = format.height() > 0 ? format.height() : image.height();
    m_out += "{\\pict\\pngblip";
    word("picw", image.width());
    word("pich", image.height());
    word("picwgoal", pixelsToTwips(width));
    word("pichgoal", pixelsToTwips(height));
    m_out += "\r\n";
    const QByteArray hex = png.toHex();
    for (qsizetype i = 0; i < hex.size(); i += 128) {
        m_out += hex.mid(i, 128);
        m_out += "\r\n";
    }
    m_out += '}';
}

void Writer::word(const char* name, int value)
{
    m_out += '\\';
    m_out += name;
    m_out += QByteArray::number(value);
}

} // namespace

QByteArray writeRtf(const QTextDocument& document)
{
    return Writer(document).run();
}

QImage documentImage(const QTextDocument& document, const QString& name)
{
    const QVariant resource = document.resource(QTextDocument::ImageResource, QUrl(name));
    switch (resource.typeId()) {
    case QMetaType::QImage:
        return resource.value<QImage>();
    case QMetaType::QPixmap:
        return resource.value<QPixmap>().toImage();
    case QMetaType::QByteArray:
        return QImage::fromData(resource.toByteArray());
    default:
        return {};
    }
}

} // namespace tarnex
