#include "RtfTestUtil.h"
#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTextDocument>

#include <gtest/gtest.h>

using namespace tarnex;
using tarnex::test::rtfDocument;

namespace {

// Reads the bytes both ways and checks that the two agree; returns the text.
QString readBothWays(const QByteArray& data)
{
    QTextDocument doc;
    readRtf(data, &doc);
    const QString text = rtfToPlainText(data);
    EXPECT_EQ(documentPlainText(doc), text);
    return text;
}

} // namespace

TEST(RtfMalformed, UnbalancedBraces)
{
    EXPECT_EQ(readBothWays("{\\rtf1 a{\\b b{\\i c\\par"), QStringLiteral("abc"));
    EXPECT_EQ(readBothWays("{\\rtf1 a}b}c\\par}"), QStringLiteral("a"));
    EXPECT_EQ(readBothWays("{\\rtf1 a}}}}"), QStringLiteral("a"));
}

TEST(RtfMalformed, Truncated)
{
    const QByteArray full = rtfDocument("\\b \\'d6\\'d0\\'ce\\'c4\\par\\trowd\\cellx1000\\pard\\intbl x\\cell\\row{\\pict\\pngblip 89504e");
    for (qsizetype n = 0; n <= full.size(); ++n)
        readBothWays(full.left(n));
    EXPECT_EQ(readBothWays(rtfDocument("ab\\'d")), QStringLiteral("ab")); // \'d and the CR after it
    EXPECT_EQ(readBothWays("{\\rtf1 ab\\'"), QStringLiteral("ab"));
    EXPECT_EQ(readBothWays("{\\rtf1 ab\\"), QStringLiteral("ab"));
    EXPECT_EQ(readBothWays("{\\rtf1 \\u"), QString());
    EXPECT_EQ(readBothWays("{\\rtf1 x\\'zz y\\par}"), QStringLiteral("xzz y"));
}

TEST(RtfMalformed, DeepNestingIsBounded)
{
    const QByteArray deep = "{\\rtf1 " + QByteArray(200000, '{') + "x" + QByteArray(200000, '}') + "y}";
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(readBothWays(deep), QStringLiteral("xy"));
    const QByteArray deepThenText = "{\\rtf1 " + QByteArray(1000, '{') + "\\b x" + QByteArray(1000, '}') + "y\\par}";
    EXPECT_EQ(readBothWays(deepThenText), QStringLiteral("xy"));
    EXPECT_LT(timer.elapsed(), 5000);
}

TEST(RtfMalformed, NumbersOutOfRange)
{
    EXPECT_EQ(readBothWays("{\\rtf1{\\uc99999999999 \\u99999999999 ab}x\\u-99999 y\\fs-5 c\\cf-3 d\\f2147483647 e\\par}"),
              QStringLiteral("xcde"));
    EXPECT_EQ(readBothWays("{\\rtf1\\ansicpg-1 \\ansicpg99999 \\'41\\par}"), QStringLiteral("A"));
    readBothWays(rtfDocument("{\\pict\\pngblip\\picwgoal-5\\pichgoal999999999\\picscalex0 00}\\par"));
    readBothWays(rtfDocument("\\trowd\\cellx-100\\cellx99999999\\trleft2147483647\\pard\\intbl a\\cell\\row"));
}

TEST(RtfMalformed, ControlCharactersAreNotText)
{
    EXPECT_EQ(readBothWays(rtfDocument("a\\u0?b\\u8233?c\\u65532?d\\u13?e\\'00f\\'1bg\\par")), QStringLiteral("abcdefg"));
    EXPECT_EQ(readBothWays(QByteArray("a\0b\x01" "c\td\r\ne", 11)), QStringLiteral("abc\td\ne"));
}

TEST(RtfMalformed, CodePagesThatDecodeToControlCharacters)
{
    // IBM933 is EBCDIC: 0x2F is BEL there.
    EXPECT_EQ(readBothWays("{\\rtf1\\ansi\\ansicpg933 \\'c1\\'2f\\'c2\\par}"), QStringLiteral("AB"));
}

TEST(RtfMalformed, LeadingBytesDecideWhetherItIsRtf)
{
    EXPECT_FALSE(isRtf(QByteArray("\0{\\rtf1 x}", 10)));
    EXPECT_TRUE(isRtf(" \t\r\n\v\f{\\rtf1 x}"));
    EXPECT_EQ(readBothWays(QByteArray("\0{\\rtf1 x}", 10)), QStringLiteral("{\\rtf1 x}"));
}

TEST(RtfMalformed, RandomBytesAfterTheHeader)
{
    QRandomGenerator random(20121);
    for (int i = 0; i < 300; ++i) {
        QByteArray data = "{\\rtf1\\ansi\\ansicpg936 ";
        const int size = int(random.bounded(2000));
        for (int j = 0; j < size; ++j) {
            // Mostly RTF syntax, so the reader gets deep into its states.
            static const char Alphabet[] = "{}\\'*0123456789abcdefpicturowdxlnb -;";
            data += random.bounded(4) == 0 ? char(random.bounded(256)) : Alphabet[random.bounded(int(sizeof Alphabet) - 1)];
        }
        QTextDocument doc;
        readRtf(data, &doc);
        QTextDocument again;
        readRtf(writeRtf(doc), &again);
        EXPECT_EQ(documentPlainText(again), documentPlainText(doc)) << data.toHex().constData();
    }
}
