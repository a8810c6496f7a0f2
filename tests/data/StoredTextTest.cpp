#include "data/StoredText.h"
#include "platform/CodePage.h"

#include <QStringList>

#include <gtest/gtest.h>

using namespace tarnex;

namespace {
QString repeated(const QString& unit, int count)
{
    QString text;
    for (int i = 0; i < count; ++i)
        text += unit;
    return text;
}
} // namespace

TEST(StoredText, EmptyStaysEmpty)
{
    EXPECT_EQ(EncodeStoredText(QString()), QString());
    EXPECT_EQ(DecodeStoredText(QString()), QString());
}

TEST(StoredText, LineBreakAfterEvery76Characters)
{
    // 57 bytes fill exactly one line of 76 characters, which then ends with CR LF.
    const QString fiftySeven = repeated(u"a"_qs, 57);
    const QString encoded57 = EncodeStoredText(fiftySeven);
    EXPECT_EQ(encoded57.size(), 78);
    EXPECT_TRUE(encoded57.endsWith(u"\r\n"));
    EXPECT_FALSE(encoded57.left(76).contains(u'\r'));

    // 58 bytes: a full line, CR LF, and one more group of four.
    const QString encoded58 = EncodeStoredText(repeated(u"a"_qs, 58));
    EXPECT_EQ(encoded58.size(), 82);
    EXPECT_EQ(encoded58.mid(76, 2), u"\r\n"_qs);
    EXPECT_EQ(encoded58.mid(78), u"YQ=="_qs);

    // Chinese characters are two bytes each in code page 936: 30 of them are 60 bytes.
    const QString chinese = repeated(u"会计"_qs, 15);
    const QString encodedChinese = EncodeStoredText(chinese);
    EXPECT_EQ(encodedChinese.size(), 76 + 2 + 4);
    EXPECT_EQ(DecodeStoredText(encodedChinese), chinese);

    // Every line but the last has exactly 76 characters.
    const QString longText = EncodeStoredText(repeated(u"借贷记账法"_qs, 100));
    const QStringList lines = longText.split(u"\r\n"_qs);
    for (qsizetype i = 0; i + 1 < lines.size(); ++i)
        EXPECT_EQ(lines.at(i).size(), 76) << i;
    EXPECT_LE(lines.last().size(), 76);
}

TEST(StoredText, BytesAreCodePage936)
{
    EXPECT_EQ(EncodeStoredText(u"中"_qs), QString::fromLatin1(QByteArray("\xd6\xd0").toBase64()));
    EXPECT_EQ(EncodeStoredText(u"abc"_qs), u"YWJj"_qs);
    EXPECT_EQ(EncodeStoredText(u"ab"_qs), u"YWI="_qs);
}

TEST(StoredText, RoundTripKeepsLineBreaksAndBlanks)
{
    const QString text = u"  第一行\r\n第二行 \n\n第四行\t结束 "_qs;
    EXPECT_EQ(DecodeStoredText(EncodeStoredText(text)), text);
}

TEST(StoredText, CharacterOutsideCodePageBecomesQuestionMark)
{
    // U+20AC is in code page 936 (0x80); U+0E01 (Thai) and an emoji are not.
    EXPECT_EQ(DecodeStoredText(EncodeStoredText(u"€"_qs)), u"€"_qs);
    EXPECT_EQ(DecodeStoredText(EncodeStoredText(u"a\u0E01b"_qs)), u"a?b"_qs);
    EXPECT_EQ(DecodeStoredText(EncodeStoredText(QString::fromUtf8("x\xF0\x9F\x98\x80y"))), u"x?y"_qs);
}

TEST(StoredText, DecodingSkipsEverythingOutsideTheAlphabet)
{
    const QString stored = EncodeStoredText(u"中文"_qs);
    ASSERT_EQ(stored, u"1tDOxA=="_qs);
    EXPECT_EQ(DecodeStoredText(u" 1tD\r\nOxA== \t"_qs), u"中文"_qs);
    EXPECT_EQ(DecodeStoredText(u"1t*D-O.x。A=="_qs), u"中文"_qs);
    EXPECT_EQ(DecodeStoredText(u"Y W J j"_qs), u"abc"_qs);
    EXPECT_EQ(DecodeStoredText(u"YW\r\nI="_qs), u"ab"_qs);
    EXPECT_EQ(DecodeStoredText(u"YQ=="_qs), u"a"_qs);
}

TEST(StoredText, JunkDecodesWithoutFailing)
{
    // Plain text that is not Base64: meaningless but no error, and no crash on odd lengths.
    const QStringList junk = {u"这不是编码"_qs, u"hello world"_qs, u"===="_qs, u"a"_qs,    u"ab=c"_qs,
                              u"!!!"_qs,        u"Y"_qs,           u"YW"_qs,   u"=YWJj"_qs};
    for (const QString& value : junk)
        (void)DecodeStoredText(value);
    EXPECT_EQ(DecodeStoredText(u"这不是编码!!!"_qs), QString());
    EXPECT_EQ(DecodeStoredText(u"hello world"_qs).size() > 0, true);
}
