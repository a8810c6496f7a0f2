#include "RtfTestUtil.h"
#include "richtext/RtfReader.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextTable>

#include <gtest/gtest.h>

#include <memory>

using namespace tarnex;
using tarnex::test::rtfDocument;

namespace {

std::unique_ptr<QTextDocument> read(const QByteArray& rtf)
{
    auto doc = std::make_unique<QTextDocument>();
    readRtf(rtf, doc.get());
    return doc;
}

// The format of the first fragment whose text contains the given text.
QTextCharFormat formatOf(const QTextDocument& doc, const QString& text)
{
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            if (it.fragment().text().contains(text))
                return it.fragment().charFormat();
        }
    }
    ADD_FAILURE() << "no fragment with " << text.toStdString();
    return {};
}

QTextBlock blockWith(const QTextDocument& doc, const QString& text)
{
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        if (b.text().contains(text))
            return b;
    }
    ADD_FAILURE() << "no block with " << text.toStdString();
    return {};
}

QTextTable* firstTable(const QTextDocument& doc)
{
    for (auto it = doc.rootFrame()->begin(); !it.atEnd(); ++it) {
        if (auto* table = qobject_cast<QTextTable*>(it.currentFrame()))
            return table;
    }
    return nullptr;
}

QString cellText(QTextTable* table, int row, int column)
{
    const QTextTableCell cell = table->cellAt(row, column);
    QTextCursor c = cell.firstCursorPosition();
    c.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
    return c.selectedText().replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
}

} // namespace

TEST(RtfReader, RecognisesRtf)
{
    EXPECT_TRUE(isRtf("{\\rtf1\\ansi hello}"));
    EXPECT_TRUE(isRtf(" \r\n\t{\\rtf1 x}"));
    EXPECT_TRUE(isRtf("{\\rtf"));
    EXPECT_FALSE(isRtf(""));
    EXPECT_FALSE(isRtf("plain text"));
    EXPECT_FALSE(isRtf("{\\RTF1 x}"));
    EXPECT_FALSE(isRtf("x{\\rtf1 x}"));
}

TEST(RtfReader, ReadsCodePage936Pairs)
{
    auto doc = read(rtfDocument("\\'d6\\'d0\\'ce\\'c4abc\\par"));
    EXPECT_EQ(doc->toPlainText(), QStringLiteral("中文abc"));
    EXPECT_EQ(formatOf(*doc, QStringLiteral("中")).fontFamilies().toStringList(), QStringList{QStringLiteral("宋体")});
}

TEST(RtfReader, TrailByteWrittenAsPlainCharacter)
{
    // Rich edit writes a trail byte below 0x80 as the character itself: 0x81 0x40 is 丂.
    EXPECT_EQ(rtfToPlainText(rtfDocument("\\'81@\\'81\\\\x\\par")), QStringLiteral("丂乗x"));
}

TEST(RtfReader, FontCharsetSelectsCodePage)
{
    const QByteArray rtf = "{\\rtf1\\ansi\\ansicpg936\\deff0{\\fonttbl{\\f0\\fcharset134 SimSun;}"
                           "{\\f1\\fcharset136 MingLiU;}{\\f2\\fcharset128 MS Mincho;}{\\f3\\fcharset0 Arial;}"
                           "{\\f4\\fcharset129 Gulim;}{\\f5\\fcharset204 Arial Cyr;}{\\f6 NoCharset;}}"
                           "\\f0\\'d6\\'d0 \\f1\\'a4\\'a4 \\f2\\'93\\'fa \\f3\\'e9 \\f4\\'c7\\'d1 \\f5\\'c4 \\f6\\'d6\\'d0 \\f9\\'d6\\'d0\\par}";
    EXPECT_EQ(rtfToPlainText(rtf), QStringLiteral("中 中 日 é 한 Д 中 中"));
}

TEST(RtfReader, AnsiCodePageIsTheDefault)
{
    EXPECT_EQ(rtfToPlainText("{\\rtf1\\ansi\\ansicpg1251 \\'c4\\'e0\\par}"), QStringLiteral("Да"));
    EXPECT_EQ(rtfToPlainText("{\\rtf1\\ansi \\'d6\\'d0\\par}"), QStringLiteral("中"));
}

TEST(RtfReader, FontNamesInTheirCodePage)
{
    auto doc = read("{\\rtf1\\ansi\\ansicpg936{\\fonttbl{\\f0\\fnil\\fcharset134 \\'ba\\'da\\'cc\\'e5;}"
                    "{\\f1\\fswiss Courier New{\\*\\falt Courier};}}\\f0 a\\f1 b\\par}");
    EXPECT_EQ(formatOf(*doc, QStringLiteral("a")).fontFamilies().toStringList(), QStringList{QStringLiteral("黑体")});
    EXPECT_EQ(formatOf(*doc, QStringLiteral("b")).fontFamilies().toStringList(), QStringList{QStringLiteral("Courier New")});
}

TEST(RtfReader, FontTableWithoutGroups)
{
    auto doc = read("{\\rtf1{\\fonttbl\\f0\\fswiss Helvetica;\\f1 Courier;}\\f1 x\\par}");
    EXPECT_EQ(formatOf(*doc, QStringLiteral("x")).fontFamilies().toStringList(), QStringList{QStringLiteral("Courier")});
}

TEST(RtfReader, UnicodeWithSkipCounts)
{
    EXPECT_EQ(rtfToPlainText(rtfDocument("\\u20013?\\u25991?x\\par")), QStringLiteral("中文x"));
    EXPECT_EQ(rtfToPlainText(rtfDocument("\\uc0\\u20013 x\\par")), QStringLiteral("中x"));
    EXPECT_EQ(rtfToPlainText(rtfDocument("\\uc2\\u20013\\'d6\\'d0x\\par")), QStringLiteral("中x"));
    EXPECT_EQ(rtfToPlainText(rtfDocument("\\uc2\\u20013 ??x\\par")), QStringLiteral("中x"));
    // A control word counts as one skipped character; a group ends the skipping.
    EXPECT_EQ(rtfToPlainText(rtfDocument("\\uc1\\u20013\\'3fx\\par")), QStringLiteral("中x"));
    EXPECT_EQ(rtfToPlainText(rtfDocument("{\\uc2\\u20013?}y\\par")), QStringLiteral("中y"));
    EXPECT_EQ(rtfToPlainText(rtfDocument("{\\uc3 {\\u20013}abcd}\\par")), QStringLiteral("中abcd"));
    // \uc is scoped to its group.
    EXPECT_EQ(rtfToPlainText(rtfDocument("{\\uc0 a}\\u20013?b\\par")), QStringLiteral("a中b"));
    // Negative values and surrogate pairs.
    EXPECT_EQ(rtfToPlainText(rtfDocument("\\u-3913?\\u-10179?\\u-8704?\\par")),
              QString(QChar(0xF0B7)) + QString::fromUcs4(U"\U0001F600"));
}

TEST(RtfReader, PairSplitAcrossGroups)
{
    EXPECT_EQ(rtfToPlainText(rtfDocument("\\'d6{\\'d0}\\'ce\\'c4\\par")), QStringLiteral("中文"));
    EXPECT_EQ(rtfToPlainText(rtfDocument("{\\'d6}{\\b\\'d0}x\\par")), QStringLiteral("中x"));
    EXPECT_EQ(rtfToPlainText(rtfDocument("{\\b \\'d6}\\'d0\\par")), QStringLiteral("中"));
    // A lead byte left alone is not joined with text after a paragraph mark.
    EXPECT_EQ(rtfToPlainText(rtfDocument("\\'d6\\par x\\par")), QStringLiteral("?\nx"));
}

TEST(RtfReader, BinarySkipsBraces)
{
    EXPECT_EQ(rtfToPlainText(rtfDocument("a\\bin6 {}}{\\}b\\par")), QStringLiteral("ab"));
    EXPECT_EQ(rtfToPlainText(rtfDocument("a{\\*\\blob \\bin3 }}}b}c\\par")), QStringLiteral("ac"));
    EXPECT_EQ(rtfToPlainText(rtfDocument("a\\bin999999 xyz")), QStringLiteral("a"));
    EXPECT_EQ(rtfToPlainText(rtfDocument("a\\bin-5 b\\par")), QStringLiteral("ab"));
}

TEST(RtfReader, SkipsIgnorableAndNonTextDestinations)
{
    const QByteArray body = "{\\*\\generator Msftedit 5.41;}{\\*\\unknown {\\b deep}text}{\\info{\\title T}}"
                            "{\\stylesheet{\\s1 Heading;}}{\\header H}{\\footnote F}"
                            "{\\field{\\*\\fldinst{HYPERLINK \"x\"}}{\\fldrslt{link}}} visible\\par";
    EXPECT_EQ(rtfToPlainText(rtfDocument(body)), QStringLiteral("link visible"));
}

TEST(RtfReader, UnknownControlWordsAreIgnored)
{
    EXPECT_EQ(rtfToPlainText(rtfDocument("\\foo a\\bar12 b\\baz-3 c\\verylongunknownwordthatgoesonandonandon d\\par")),
              QStringLiteral("abcd"));
}

TEST(RtfReader, ControlSymbolsAndSpecialCharacters)
{
    EXPECT_EQ(rtfToPlainText(rtfDocument("a\\~b\\-c\\_d\\{\\}\\\\\\emdash\\endash\\bullet\\lquote\\rquote\\ldblquote\\rdblquote\\par")),
              QStringLiteral("a\u00a0bc\u2011d{}\\\u2014\u2013\u2022\u2018\u2019\u201c\u201d"));
    EXPECT_EQ(rtfToPlainText(rtfDocument("a\\tab b\\line c\\par")), QStringLiteral("a\tb\nc"));
}

TEST(RtfReader, UnicodeHalfOfUpr)
{
    EXPECT_EQ(rtfToPlainText("{\\rtf1 {\\upr{[G]}{\\*\\ud{[\\uc0\\u915]}}}\\par}"), QStringLiteral("[\u0393]"));
}

TEST(RtfReader, HiddenTextIsDropped)
{
    EXPECT_EQ(rtfToPlainText(rtfDocument("a{\\v hidden}b\\v c\\v0 d\\par")), QStringLiteral("abd"));
}

TEST(RtfReader, CharacterFormatting)
{
    auto doc = read(rtfDocument("\\b bold\\b0  \\i it\\i0  \\ul under\\ulnone  \\strike gone\\strike0  "
                                "\\fs36 big\\fs20  \\cf1 red\\cf0  \\highlight2 marked\\highlight0  "
                                "\\super up\\nosupersub  \\sub down\\nosupersub  \\f1 arial\\f0  plain\\par"));
    EXPECT_EQ(formatOf(*doc, QStringLiteral("bold")).fontWeight(), QFont::Bold);
    EXPECT_TRUE(formatOf(*doc, QStringLiteral("it")).fontItalic());
    EXPECT_TRUE(formatOf(*doc, QStringLiteral("under")).fontUnderline());
    EXPECT_TRUE(formatOf(*doc, QStringLiteral("gone")).fontStrikeOut());
    EXPECT_EQ(formatOf(*doc, QStringLiteral("big")).fontPointSize(), 18.0);
    EXPECT_EQ(formatOf(*doc, QStringLiteral("red")).foreground().color(), QColor(255, 0, 0));
    EXPECT_EQ(formatOf(*doc, QStringLiteral("marked")).background().color(), QColor(0, 0, 255));
    EXPECT_EQ(formatOf(*doc, QStringLiteral("up")).verticalAlignment(), QTextCharFormat::AlignSuperScript);
    EXPECT_EQ(formatOf(*doc, QStringLiteral("down")).verticalAlignment(), QTextCharFormat::AlignSubScript);
    EXPECT_EQ(formatOf(*doc, QStringLiteral("arial")).fontFamilies().toStringList(), QStringList{QStringLiteral("Arial")});

    const QTextCharFormat plain = formatOf(*doc, QStringLiteral("plain"));
    EXPECT_EQ(plain.fontWeight(), QFont::Normal);
    EXPECT_FALSE(plain.fontItalic());
    EXPECT_FALSE(plain.fontUnderline());
    EXPECT_FALSE(plain.fontStrikeOut());
    EXPECT_EQ(plain.fontPointSize(), 10.0);
    EXPECT_EQ(plain.foreground().style(), Qt::NoBrush);
    EXPECT_EQ(plain.background().style(), Qt::NoBrush);
    EXPECT_EQ(plain.verticalAlignment(), QTextCharFormat::AlignNormal);
}

TEST(RtfReader, GroupsScopeFormattingAndPlainResets)
{
    auto doc = read(rtfDocument("{\\b\\i a}b\\b\\cf1 c\\plain d\\par"));
    EXPECT_EQ(formatOf(*doc, QStringLiteral("a")).fontWeight(), QFont::Bold);
    EXPECT_EQ(formatOf(*doc, QStringLiteral("b")).fontWeight(), QFont::Normal);
    EXPECT_EQ(formatOf(*doc, QStringLiteral("c")).fontWeight(), QFont::Bold);
    const QTextCharFormat d = formatOf(*doc, QStringLiteral("d"));
    EXPECT_EQ(d.fontWeight(), QFont::Normal);
    EXPECT_EQ(d.foreground().style(), Qt::NoBrush);
    EXPECT_EQ(d.fontPointSize(), 12.0);
    EXPECT_EQ(d.fontFamilies().toStringList(), QStringList{QStringLiteral("宋体")});
}

TEST(RtfReader, ColourTableEdgeCases)
{
    // An auto first entry, an index past the end, components out of range.
    auto doc = read("{\\rtf1{\\colortbl;\\red300\\green-4\\blue7;}\\cf1 a\\cf5 b\\cf0 c\\highlight9 d\\par}");
    EXPECT_EQ(formatOf(*doc, QStringLiteral("a")).foreground().color(), QColor(255, 0, 7));
    EXPECT_EQ(formatOf(*doc, QStringLiteral("b")).foreground().style(), Qt::NoBrush);
    EXPECT_EQ(formatOf(*doc, QStringLiteral("c")).foreground().style(), Qt::NoBrush);
    EXPECT_EQ(formatOf(*doc, QStringLiteral("d")).background().style(), Qt::NoBrush);
}

TEST(RtfReader, ParagraphFormatting)
{
    auto doc = read(rtfDocument("\\qc centre\\par\\pard\\qr right\\par\\pard\\qj just\\par"
                                "\\pard\\li720\\ri360\\fi-240\\sb120\\sa60 indented\\par"
                                "\\pard\\sl360\\slmult1 multiple\\par\\pard\\sl-300\\slmult0 exact\\par"
                                "\\pard\\sl400 least\\par\\pard plain\\par"));
    EXPECT_EQ(blockWith(*doc, QStringLiteral("centre")).blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_EQ(blockWith(*doc, QStringLiteral("right")).blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    EXPECT_EQ(blockWith(*doc, QStringLiteral("just")).blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignJustify);
    const QTextBlockFormat ind = blockWith(*doc, QStringLiteral("indented")).blockFormat();
    EXPECT_DOUBLE_EQ(ind.leftMargin(), 48.0);
    EXPECT_DOUBLE_EQ(ind.rightMargin(), 24.0);
    EXPECT_DOUBLE_EQ(ind.textIndent(), -16.0);
    EXPECT_DOUBLE_EQ(ind.topMargin(), 8.0);
    EXPECT_DOUBLE_EQ(ind.bottomMargin(), 4.0);
    const QTextBlockFormat mul = blockWith(*doc, QStringLiteral("multiple")).blockFormat();
    EXPECT_EQ(mul.lineHeightType(), QTextBlockFormat::ProportionalHeight);
    EXPECT_DOUBLE_EQ(mul.lineHeight(), 150.0);
    const QTextBlockFormat exact = blockWith(*doc, QStringLiteral("exact")).blockFormat();
    EXPECT_EQ(exact.lineHeightType(), QTextBlockFormat::FixedHeight);
    EXPECT_DOUBLE_EQ(exact.lineHeight(), 20.0);
    EXPECT_EQ(blockWith(*doc, QStringLiteral("least")).blockFormat().lineHeightType(), QTextBlockFormat::MinimumHeight);
    const QTextBlockFormat plain = blockWith(*doc, QStringLiteral("plain")).blockFormat();
    EXPECT_EQ(plain.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
    EXPECT_EQ(plain.leftMargin(), 0.0);
    EXPECT_EQ(plain.lineHeightType(), QTextBlockFormat::SingleHeight);
}

TEST(RtfReader, ParagraphsAndLastParagraphMark)
{
    EXPECT_EQ(rtfToPlainText(rtfDocument("a\\par b\\par")), QStringLiteral("a\nb"));
    EXPECT_EQ(rtfToPlainText(rtfDocument("a\\par b")), QStringLiteral("a\nb"));
    EXPECT_EQ(rtfToPlainText(rtfDocument("a\\par\\par")), QStringLiteral("a\n"));
    EXPECT_EQ(rtfToPlainText(rtfDocument("\\par")), QString());
    auto doc = read(rtfDocument("a\\par\\par b\\par"));
    EXPECT_EQ(doc->blockCount(), 3);
    EXPECT_EQ(doc->toPlainText(), QStringLiteral("a\n\nb"));
    // The formatting of a last paragraph without \par survives the end of the document.
    auto last = read(rtfDocument("a\\par\\qc b"));
    EXPECT_EQ(blockWith(*last, QStringLiteral("b")).blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
}

TEST(RtfReader, EmptyDocument)
{
    auto doc = read("{\\rtf1}");
    EXPECT_TRUE(doc->isEmpty());
    EXPECT_EQ(rtfToPlainText("{\\rtf1}"), QString());
    EXPECT_EQ(rtfToPlainText(""), QString());
    auto empty = read(QByteArray());
    EXPECT_TRUE(empty->isEmpty());
}

TEST(RtfReader, PlainTextWithCrLf)
{
    const QByteArray gbk = "\xb5\xda\xd2\xbb\xd0\xd0\r\nline 2\rline 3\n\r\nend";
    EXPECT_EQ(rtfToPlainText(gbk), QStringLiteral("第一行\nline 2\nline 3\n\nend"));
    auto doc = read(gbk);
    EXPECT_EQ(doc->blockCount(), 5);
    EXPECT_EQ(doc->begin().text(), QStringLiteral("第一行"));
    EXPECT_EQ(documentPlainText(*doc), QStringLiteral("第一行\nline 2\nline 3\n\nend"));
}

TEST(RtfReader, ReplacesTheDocumentContent)
{
    QTextDocument doc;
    doc.setPlainText(QStringLiteral("old text"));
    readRtf(rtfDocument("new\\par"), &doc);
    EXPECT_EQ(doc.toPlainText(), QStringLiteral("new"));
}

TEST(RtfReader, SimpleTable)
{
    const QByteArray body = "before\\par\\trowd\\trgaph108\\trleft-108\\clbrdrt\\brdrw10\\brdrs\\cellx1500\\cellx4500"
                            "\\pard\\intbl \\'cf\\'ee\\'c4\\'bf\\cell \\'bd\\'f0\\'b6\\'ee\\cell\\row"
                            "\\trowd\\trgaph108\\trleft-108\\cellx1500\\cellx4500"
                            "\\pard\\intbl a\\par b\\cell c\\cell\\row\\pard after\\par";
    const QByteArray rtf = rtfDocument(body);
    EXPECT_EQ(rtfToPlainText(rtf), QStringLiteral("before\n项目\t金额\na b\tc\nafter"));

    auto doc = read(rtf);
    QTextTable* table = firstTable(*doc);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->rows(), 2);
    EXPECT_EQ(table->columns(), 2);
    EXPECT_EQ(cellText(table, 0, 0), QStringLiteral("项目"));
    EXPECT_EQ(cellText(table, 0, 1), QStringLiteral("金额"));
    EXPECT_EQ(cellText(table, 1, 0), QStringLiteral("a\nb"));
    EXPECT_EQ(cellText(table, 1, 1), QStringLiteral("c"));
    const QList<QTextLength> widths = table->format().columnWidthConstraints();
    ASSERT_EQ(widths.size(), 2);
    EXPECT_EQ(widths[0].type(), QTextLength::FixedLength);
    EXPECT_DOUBLE_EQ(widths[0].rawValue(), 1608 / 15.0);
    EXPECT_DOUBLE_EQ(widths[1].rawValue(), 200.0);
    EXPECT_GT(table->format().border(), 0);
    EXPECT_EQ(documentPlainText(*doc), rtfToPlainText(rtf));
}

TEST(RtfReader, TableRowsOfDifferentWidthAndTrailingMark)
{
    // The second row has more cells; the document ends with the paragraph rich edit writes after
    // a table.
    const QByteArray rtf = rtfDocument("\\trowd\\cellx1000\\pard\\intbl x\\cell\\row"
                                       "\\trowd\\cellx1000\\cellx2000\\cellx3000\\pard\\intbl 1\\cell 2\\cell 3\\cell\\row"
                                       "\\pard\\par");
    EXPECT_EQ(rtfToPlainText(rtf), QStringLiteral("x\t\t\n1\t2\t3"));
    auto doc = read(rtf);
    QTextTable* table = firstTable(*doc);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->columns(), 3);
    EXPECT_EQ(cellText(table, 1, 2), QStringLiteral("3"));
    EXPECT_EQ(documentPlainText(*doc), rtfToPlainText(rtf));
}

TEST(RtfReader, MergedCellsOfWordAndRowsOfDifferentEdges)
{
    // \clmgf/\clmrg join cells across, \clvmgf/\clvmrg down; a row whose cell covers the edges
    // of the others spans their columns.
    const QByteArray rtf = rtfDocument(
        "\\trowd\\clvmgf\\cellx1000\\clmgf\\cellx2000\\clmrg\\cellx3000\\pard\\intbl name\\cell opening\\cell\\cell\\row"
        "\\trowd\\clvmrg\\cellx1000\\cellx2000\\cellx3000\\pard\\intbl\\cell debit\\cell credit\\cell\\row"
        "\\trowd\\cellx3000\\pard\\intbl total\\cell\\row\\pard after\\par");
    auto doc = read(rtf);
    QTextTable* table = firstTable(*doc);
    ASSERT_NE(table, nullptr);
    ASSERT_EQ(table->rows(), 3);
    ASSERT_EQ(table->columns(), 3);
    EXPECT_EQ(table->cellAt(0, 0).rowSpan(), 2);
    EXPECT_EQ(table->cellAt(0, 1).columnSpan(), 2);
    EXPECT_EQ(cellText(table, 0, 1), QStringLiteral("opening"));
    EXPECT_EQ(cellText(table, 1, 2), QStringLiteral("credit"));
    EXPECT_EQ(table->cellAt(2, 0).columnSpan(), 3);
    EXPECT_EQ(cellText(table, 2, 0), QStringLiteral("total"));
    EXPECT_EQ(documentPlainText(*doc), rtfToPlainText(rtf));
}

TEST(RtfReader, WordStyleRowDefinitionAfterCells)
{
    const QByteArray rtf = rtfDocument("\\pard\\intbl{a\\cell}{b\\cell}\\pard\\intbl{\\trowd\\cellx2000\\cellx4000\\row}\\pard end\\par");
    EXPECT_EQ(rtfToPlainText(rtf), QStringLiteral("a\tb\nend"));
    auto doc = read(rtf);
    QTextTable* table = firstTable(*doc);
    ASSERT_NE(table, nullptr);
    EXPECT_DOUBLE_EQ(table->format().columnWidthConstraints().value(1).rawValue(), 2000 / 15.0);
}

TEST(RtfReader, TableWithoutRowEndIsKept)
{
    EXPECT_EQ(rtfToPlainText(rtfDocument("\\trowd\\cellx1000\\cellx2000\\pard\\intbl a\\cell b")), QStringLiteral("a\tb"));
    EXPECT_EQ(rtfToPlainText(rtfDocument("\\trowd\\cellx1000\\pard\\intbl a\\cell\\pard\\intbl b\\par\\pard c\\par")),
              QStringLiteral("a\tb\nc"));
}

TEST(RtfReader, NestedTablesAreFlattened)
{
    const QByteArray rtf = rtfDocument(
        "\\trowd\\cellx3000\\cellx6000\\pard\\intbl outer\\cell"
        "\\pard\\intbl\\itap2 in1\\nestcell in2\\nestcell{\\*\\nesttableprops\\trowd\\cellx1000\\cellx2000\\nestrow}"
        "{\\nonesttables\\par}\\pard\\intbl\\itap1 tail\\cell\\row\\pard after\\par");
    EXPECT_EQ(rtfToPlainText(rtf), QStringLiteral("outer\tin1 in2  tail\nafter"));
    auto doc = read(rtf);
    QTextTable* table = firstTable(*doc);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->rows(), 1);
    EXPECT_EQ(table->columns(), 2);
    EXPECT_EQ(cellText(table, 0, 1), QStringLiteral("in1\tin2\t\ntail"));
}

TEST(RtfReader, TableAtTheStartOfTheDocument)
{
    const QByteArray rtf = rtfDocument("\\trowd\\cellx1000\\cellx2000\\pard\\intbl a\\cell b\\cell\\row\\pard\\par");
    auto doc = read(rtf);
    EXPECT_EQ(documentPlainText(*doc), QStringLiteral("a\tb"));
    EXPECT_EQ(rtfToPlainText(rtf), QStringLiteral("a\tb"));
}
