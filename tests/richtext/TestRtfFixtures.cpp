#include "RtfTestUtil.h"
#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

#include <gtest/gtest.h>

using namespace tarnex;
using namespace tarnex::test;

namespace {

class Fixture : public ::testing::TestWithParam<const char*>
{
};

// The lines of the reader's plain text with each cell on a line of its own, as LibreOffice gives
// tables in its text export.
QStringList plainTextLines(const QString& text)
{
    QStringList lines;
    for (const QString& line : text.split(u'\n'))
        lines += line.split(u'\t');
    while (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast();
    return lines;
}

} // namespace

// Documents written by other programs (see fixtures/SOURCES.md) read as the text LibreOffice
// extracts from them: the same paragraphs, the same cells, the same characters.
TEST_P(Fixture, GivesTheReferenceText)
{
    const QString name = QString::fromLatin1(GetParam());
    const QByteArray rtf = readFile(fixturePath(name + QStringLiteral(".rtf")));
    ASSERT_FALSE(rtf.isEmpty());
    const QStringList expected = textFileLines(readFile(fixturePath(name + QStringLiteral(".txt"))));
    ASSERT_FALSE(expected.isEmpty());

    QTextDocument doc;
    readRtf(rtf, &doc);
    EXPECT_EQ(documentLines(doc), expected);
    EXPECT_EQ(documentPlainText(doc), rtfToPlainText(rtf));

    // Cells of a paragraph each, so the plain text splits into the same pieces.
    if (name != QLatin1String("lo-table")) {
        EXPECT_EQ(plainTextLines(rtfToPlainText(rtf)), expected);
    }
}

INSTANTIATE_TEST_SUITE_P(RtfFixtures, Fixture,
                         ::testing::Values("tika-wordpad-czech", "tika-msftedit-cp1250", "tika-msftedit-umlaut",
                                           "tika-word-ms932", "lo-chinese-text", "lo-table", "lo-picture"));

TEST(RtfFixtures, LibreOfficeTableHasItsCells)
{
    QTextDocument doc;
    readRtf(readFile(fixturePath(QStringLiteral("lo-table.rtf"))), &doc);
    QTextTable* table = nullptr;
    for (auto it = doc.rootFrame()->begin(); !it.atEnd() && !table; ++it)
        table = qobject_cast<QTextTable*>(it.currentFrame());
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->rows(), 4);
    EXPECT_EQ(table->columns(), 3);
    const QStringList lines = rtfToPlainText(readFile(fixturePath(QStringLiteral("lo-table.rtf")))).split(u'\n');
    EXPECT_TRUE(lines.contains(QStringLiteral("库存现金\t1,200.00\t3,450.50")));
    EXPECT_TRUE(lines.contains(QStringLiteral("应收账款\t50,000.00 （含坏账）\t47,500.00")));
}

TEST(RtfFixtures, LibreOfficePictureIsThePng)
{
    QTextDocument doc;
    readRtf(readFile(fixturePath(QStringLiteral("lo-picture.rtf"))), &doc);
    int pictures = 0;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            if (!f.isImageFormat())
                continue;
            ++pictures;
            const QImage image = doc.resource(QTextDocument::ImageResource, QUrl(f.toImageFormat().name())).value<QImage>();
            EXPECT_EQ(image.size(), QSize(24, 16));
            // The source picture is a gradient: red grows to the right, green downwards.
            EXPECT_EQ(qRed(image.pixel(23, 0)), 255);
            EXPECT_EQ(qGreen(image.pixel(0, 15)), 255);
            EXPECT_DOUBLE_EQ(f.toImageFormat().width(), 24.0);
        }
    }
    EXPECT_EQ(pictures, 1);
}

TEST(RtfFixtures, WordPadCzechUsesTheFontCharset)
{
    const QString text = rtfToPlainText(readFile(fixturePath(QStringLiteral("tika-wordpad-czech.rtf"))));
    EXPECT_TRUE(text.startsWith(QStringLiteral("Článek týdne\nČást svitku s textem Knihy Izajáš\n")));
}

// What our writer produces, LibreOffice reads back as the same text.
TEST(RtfFixtures, LibreOfficeReadsWhatWeWrite)
{
    if (!hasSoffice())
        GTEST_SKIP() << "soffice is not installed";
    QTextDocument doc;
    QTextCursor c(&doc);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    c.insertText(QStringLiteral("会计从业资格考试"), bold);
    c.insertBlock();
    c.insertText(QStringLiteral("下列各项中，不属于会计核算基本前提的是（ ）。 Euro € café ก"));
    c.insertBlock();
    c.insertText(QStringLiteral("A. 会计主体") + QChar(0x2028) + QStringLiteral("B. 持续经营 {braces} \\ back"));
    c.insertBlock();
    QTextTableFormat tf;
    tf.setBorder(1);
    QTextTable* table = c.insertTable(2, 3, tf);
    const QStringList cells = {QStringLiteral("项目"), QStringLiteral("借方"), QStringLiteral("贷方"),
                               QStringLiteral("库存现金"), QStringLiteral("1,000.00"), QString()};
    for (int i = 0; i < cells.size(); ++i)
        table->cellAt(i / 3, i % 3).firstCursorPosition().insertText(cells[i]);
    c = table->lastCursorPosition();
    c.movePosition(QTextCursor::NextBlock);
    c.insertText(QStringLiteral("表后的段落"));

    QTemporaryDir dir;
    const QString rtfPath = dir.filePath(QStringLiteral("ours.rtf"));
    QFile file(rtfPath);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(writeRtf(doc));
    file.close();

    const QString txt = sofficeConvert(rtfPath, QStringLiteral("txt:Text (encoded):UTF8"), QStringLiteral("txt"), dir.path());
    ASSERT_FALSE(txt.isEmpty()) << "soffice did not convert the file";
    EXPECT_EQ(textFileLines(readFile(txt)), documentLines(doc));
}
