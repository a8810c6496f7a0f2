#include "RtfTestUtil.h"
#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

#include <gtest/gtest.h>

#include <tuple>

using namespace tarnex;

namespace {

QTextCharFormat charFormat(const QString& family, double points)
{
    QTextCharFormat f;
    f.setFontFamilies(QStringList{family});
    f.setFontPointSize(points);
    return f;
}

// What one character looks like: the properties the writer keeps.
using CharLook = std::tuple<QChar, bool, bool, bool, bool, double, QString, QString, QString, int, QImage, double, double>;

QList<CharLook> looks(const QTextDocument& doc, const QTextBlock& block)
{
    QList<CharLook> result;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        const QTextCharFormat f = fragment.charFormat();
        const QStringList families = f.fontFamilies().toStringList();
        QImage image;
        double w = 0, h = 0;
        if (f.isImageFormat()) {
            image = doc.resource(QTextDocument::ImageResource, QUrl(f.toImageFormat().name())).value<QImage>()
                        .convertToFormat(QImage::Format_RGB32);
            w = f.toImageFormat().width();
            h = f.toImageFormat().height();
        }
        for (const QChar c : fragment.text()) {
            result.append({c, f.fontWeight() >= QFont::DemiBold, f.fontItalic(), f.fontUnderline(), f.fontStrikeOut(),
                           f.fontPointSize(), families.value(0),
                           f.foreground().style() == Qt::NoBrush ? QString() : f.foreground().color().name(),
                           f.background().style() == Qt::NoBrush ? QString() : f.background().color().name(),
                           int(f.verticalAlignment()), image, w, h});
        }
    }
    return result;
}

using BlockLook = std::tuple<int, double, double, double, double, double, int, double>;

BlockLook blockLook(const QTextBlock& block)
{
    const QTextBlockFormat f = block.blockFormat();
    const int align = int(f.alignment() & (Qt::AlignLeft | Qt::AlignRight | Qt::AlignHCenter | Qt::AlignJustify));
    return {align == 0 ? int(Qt::AlignLeft) : align, f.leftMargin(), f.rightMargin(), f.textIndent(), f.topMargin(),
            f.bottomMargin(), f.lineHeightType(), f.lineHeightType() == 0 ? 0.0 : f.lineHeight()};
}

void expectSameDocument(const QTextDocument& expected, const QTextDocument& actual)
{
    EXPECT_EQ(documentPlainText(actual), documentPlainText(expected));
    ASSERT_EQ(actual.blockCount(), expected.blockCount());
    QTextBlock b = actual.begin();
    for (QTextBlock e = expected.begin(); e.isValid(); e = e.next(), b = b.next()) {
        EXPECT_EQ(b.text(), e.text());
        EXPECT_TRUE(looks(actual, b) == looks(expected, e)) << "characters of block " << e.blockNumber() << " differ";
        EXPECT_TRUE(blockLook(b) == blockLook(e)) << "format of block " << e.blockNumber() << " differs";
    }
}

QImage testImage()
{
    QImage image(10, 6, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (int x = 0; x < 10; ++x)
        image.setPixel(x, x % 6, qRgb(200, 10, 10 * x));
    return image;
}

// A question stem as the authoring windows make it: formatted Chinese text, a table, a picture.
void buildSample(QTextDocument& doc)
{
    QTextCursor c(&doc);
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    c.setBlockFormat(centred);
    QTextCharFormat title = charFormat(QStringLiteral("黑体"), 16);
    title.setFontWeight(QFont::Bold);
    c.insertText(QStringLiteral("第一章 会计概述"), title);

    QTextBlockFormat body;
    body.setLeftMargin(48);
    body.setTextIndent(-16);
    body.setTopMargin(8);
    body.setBottomMargin(4);
    body.setLineHeight(150, QTextBlockFormat::ProportionalHeight);
    c.insertBlock(body);
    c.insertText(QStringLiteral("下列各项中，"), charFormat(QStringLiteral("宋体"), 10.5));
    QTextCharFormat red = charFormat(QStringLiteral("宋体"), 10.5);
    red.setForeground(QColor(255, 0, 0));
    red.setFontUnderline(true);
    c.insertText(QStringLiteral("不属于"), red);
    QTextCharFormat marked = charFormat(QStringLiteral("Arial"), 9);
    marked.setBackground(QColor(255, 255, 0));
    marked.setFontItalic(true);
    c.insertText(QStringLiteral("basic {premise} \\ café Ω"), marked);
    QTextCharFormat sup = charFormat(QStringLiteral("宋体"), 10.5);
    sup.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    c.insertText(QStringLiteral("2"), sup);
    QTextCharFormat sub = charFormat(QStringLiteral("宋体"), 10.5);
    sub.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    sub.setFontStrikeOut(true);
    c.insertText(QStringLiteral("x"), sub);
    c.insertText(QStringLiteral("的是\t（ ）。") + QChar(0x2028) + QStringLiteral("第二行€ ก 😀"), charFormat(QStringLiteral("宋体"), 10.5));

    QTextBlockFormat right;
    right.setAlignment(Qt::AlignRight);
    right.setRightMargin(24);
    right.setLineHeight(20, QTextBlockFormat::FixedHeight);
    c.insertBlock(right);
    c.insertText(QStringLiteral("单位：元"), charFormat(QStringLiteral("宋体"), 9));

    QTextTableFormat tf;
    tf.setBorder(1);
    tf.setColumnWidthConstraints({QTextLength(QTextLength::FixedLength, 100), QTextLength(QTextLength::FixedLength, 80)});
    QTextTable* table = c.insertTable(2, 2, tf);
    const QTextCharFormat cellFormat = charFormat(QStringLiteral("宋体"), 10.5);
    table->cellAt(0, 0).firstCursorPosition().insertText(QStringLiteral("项目"), cellFormat);
    table->cellAt(0, 1).firstCursorPosition().insertText(QStringLiteral("金额"), cellFormat);
    QTextCursor cc = table->cellAt(1, 0).firstCursorPosition();
    cc.insertText(QStringLiteral("库存现金"), cellFormat);
    cc.insertBlock();
    cc.insertText(QStringLiteral("银行存款"), cellFormat);
    table->cellAt(1, 1).firstCursorPosition().insertText(QStringLiteral("1,200.00"), cellFormat);

    c = table->lastCursorPosition();
    c.movePosition(QTextCursor::NextBlock);
    c.insertText(QStringLiteral("图："), cellFormat);
    doc.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("mem:pic")), testImage());
    QTextImageFormat img;
    img.merge(cellFormat);
    img.setName(QStringLiteral("mem:pic"));
    img.setWidth(20);
    img.setHeight(12);
    c.insertImage(img);
    c.insertBlock();
}

} // namespace

TEST(RtfWriter, HeaderAndChineseText)
{
    QTextDocument doc;
    QTextCursor(&doc).insertText(QStringLiteral("中文abc"), charFormat(QStringLiteral("宋体"), 12));
    const QByteArray rtf = writeRtf(doc);
    EXPECT_TRUE(rtf.startsWith("{\\rtf1\\ansi\\ansicpg936\\deff0")) << rtf.constData();
    EXPECT_TRUE(rtf.contains("{\\f0\\fnil\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}")) << rtf.constData();
    EXPECT_TRUE(rtf.contains("\\'d6\\'d0\\'ce\\'c4abc")) << rtf.constData();
    EXPECT_TRUE(rtf.contains("\\uc1"));
    EXPECT_TRUE(rtf.trimmed().endsWith('}'));
    EXPECT_EQ(rtfToPlainText(rtf), QStringLiteral("中文abc"));
}

TEST(RtfWriter, CharactersOutsideTheCodePageAsUnicode)
{
    QTextDocument doc;
    QTextCursor(&doc).insertText(QStringLiteral("ก😀中"), charFormat(QStringLiteral("宋体"), 12));
    const QByteArray rtf = writeRtf(doc);
    EXPECT_TRUE(rtf.contains("\\u3585?\\u-10179?\\u-8704?\\'d6\\'d0")) << rtf.constData();
}

TEST(RtfWriter, LatinFontsGetUnicodeEscapes)
{
    QTextDocument doc;
    QTextCursor(&doc).insertText(QStringLiteral("a中é"), charFormat(QStringLiteral("Arial"), 12));
    const QByteArray rtf = writeRtf(doc);
    EXPECT_TRUE(rtf.contains("\\fcharset0 Arial;")) << rtf.constData();
    EXPECT_TRUE(rtf.contains("a\\u20013?\\u233?")) << rtf.constData();
    EXPECT_EQ(rtfToPlainText(rtf), QStringLiteral("a中é"));
}

TEST(RtfWriter, EscapesSpecialCharacters)
{
    QTextDocument doc;
    QTextCursor(&doc).insertText(QStringLiteral("{a}\\b\tc") + QChar(0x00A0) + QStringLiteral("d"));
    const QByteArray rtf = writeRtf(doc);
    EXPECT_TRUE(rtf.contains("\\{a\\}\\\\b\\tab c\\~d")) << rtf.constData();
    EXPECT_EQ(rtfToPlainText(rtf), QStringLiteral("{a}\\b\tc\u00a0d"));
}

TEST(RtfWriter, TextWithoutFontOrSizeGetsTheDefaults)
{
    QTextDocument doc;
    QTextCursor(&doc).insertText(QStringLiteral("默认"));
    QTextDocument back;
    readRtf(writeRtf(doc), &back);
    const QTextCharFormat f = back.begin().begin().fragment().charFormat();
    EXPECT_EQ(f.fontFamilies().toStringList(), QStringList{QStringLiteral("宋体")});
    EXPECT_GT(f.fontPointSize(), 0);
}

TEST(RtfWriter, RoundTrip)
{
    QTextDocument doc;
    buildSample(doc);
    const QByteArray rtf = writeRtf(doc);
    QTextDocument back;
    readRtf(rtf, &back);
    expectSameDocument(doc, back);

    // The table keeps its shape, widths and border.
    QTextTable* table = nullptr;
    for (auto it = back.rootFrame()->begin(); !it.atEnd() && !table; ++it)
        table = qobject_cast<QTextTable*>(it.currentFrame());
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->rows(), 2);
    EXPECT_EQ(table->columns(), 2);
    const QList<QTextLength> widths = table->format().columnWidthConstraints();
    ASSERT_EQ(widths.size(), 2);
    EXPECT_DOUBLE_EQ(widths[0].rawValue(), 100.0);
    EXPECT_DOUBLE_EQ(widths[1].rawValue(), 80.0);
    EXPECT_GT(table->format().border(), 0);

    // Writing what was read gives the same RTF again.
    EXPECT_EQ(writeRtf(back), rtf);
}

TEST(RtfWriter, RoundTripOfEmptyAndBlankDocuments)
{
    for (const QString& text : {QString(), QStringLiteral("\n"), QStringLiteral("a\n\nb\n")}) {
        QTextDocument doc;
        doc.setPlainText(text);
        QTextDocument back;
        readRtf(writeRtf(doc), &back);
        EXPECT_EQ(back.blockCount(), doc.blockCount()) << text.toStdString();
        EXPECT_EQ(back.toPlainText(), doc.toPlainText());
    }
}

TEST(RtfWriter, RoundTripOfATableAtTheStart)
{
    QTextDocument doc;
    QTextCursor c(&doc);
    QTextTable* table = c.insertTable(1, 3);
    table->cellAt(0, 0).firstCursorPosition().insertText(QStringLiteral("甲"));
    table->cellAt(0, 2).firstCursorPosition().insertText(QStringLiteral("丙"));
    const QByteArray rtf = writeRtf(doc);
    EXPECT_EQ(rtfToPlainText(rtf), QStringLiteral("甲\t\t丙"));
    QTextDocument back;
    readRtf(rtf, &back);
    EXPECT_EQ(back.blockCount(), doc.blockCount());
    EXPECT_EQ(documentPlainText(back), documentPlainText(doc));
}

TEST(RtfWriter, MergedCellsKeepTheirText)
{
    QTextDocument doc;
    QTextCursor c(&doc);
    QTextTable* table = c.insertTable(2, 3);
    table->cellAt(0, 0).firstCursorPosition().insertText(QStringLiteral("wide"));
    table->cellAt(0, 2).firstCursorPosition().insertText(QStringLiteral("r"));
    table->cellAt(1, 0).firstCursorPosition().insertText(QStringLiteral("x"));
    table->cellAt(1, 1).firstCursorPosition().insertText(QStringLiteral("tall"));
    table->mergeCells(0, 0, 1, 2);
    table->mergeCells(0, 2, 2, 1);
    const QByteArray rtf = writeRtf(doc);
    EXPECT_EQ(rtfToPlainText(rtf), QStringLiteral("wide\tr\nx\ttall"));

    // Read back, the spans are spans again: a header over two columns stays over both.
    QTextDocument back;
    readRtf(rtf, &back);
    QTextTable* read = nullptr;
    for (auto it = back.rootFrame()->begin(); !it.atEnd() && !read; ++it)
        read = qobject_cast<QTextTable*>(it.currentFrame());
    ASSERT_NE(read, nullptr);
    ASSERT_EQ(read->rows(), 2);
    ASSERT_EQ(read->columns(), 3);
    EXPECT_EQ(read->cellAt(0, 1).column(), 0);
    EXPECT_EQ(read->cellAt(0, 0).columnSpan(), 2);
    EXPECT_EQ(read->cellAt(1, 2).row(), 0);
    EXPECT_EQ(read->cellAt(0, 2).rowSpan(), 2);
    EXPECT_EQ(read->cellAt(1, 1).firstCursorPosition().block().text(), QStringLiteral("tall"));
    EXPECT_EQ(documentPlainText(back), documentPlainText(doc));
}
