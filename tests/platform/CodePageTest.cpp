#include "platform/CodePage.h"

#include <gtest/gtest.h>

namespace tarnex {
namespace {

TEST(CodePage, ChineseTextRoundTripsThroughCodePage936)
{
    const QString text = QStringLiteral("中文 abc 会计基础");
    const QByteArray bytes = CodePage::encode(text);
    EXPECT_EQ(bytes.left(4), QByteArray::fromHex("d6d0cec4"));
    EXPECT_EQ(bytes.mid(4, 5), QByteArray(" abc "));
    EXPECT_EQ(CodePage::decode(bytes), text);
    EXPECT_EQ(CodePage::encode(QString()), QByteArray());
    EXPECT_EQ(CodePage::decode(QByteArray()), QString());
}

TEST(CodePage, CharacterOutsideTheCodePageBecomesOneQuestionMark)
{
    EXPECT_EQ(CodePage::encode(QStringLiteral("a\u0E01b")), QByteArray("a?b")) << "Thai letter";
    EXPECT_EQ(CodePage::encode(QStringLiteral("a\uD55Cb")), QByteArray("a?b")) << "Hangul syllable";
    EXPECT_EQ(CodePage::encode(QString::fromUtf8("x\xF0\x9F\x98\x80y")), QByteArray("x?y"))
        << "a character outside the BMP is one '?', not two";
    EXPECT_EQ(CodePage::encode(QString(QChar(0xD800)) + u'z'), QByteArray("?z")) << "lone high surrogate";
    EXPECT_EQ(CodePage::encode(QString(QChar(0xD800)) + QStringLiteral("中")), QByteArray::fromHex("3fd6d0"));
    EXPECT_EQ(CodePage::encode(QStringLiteral("z") + QChar(0xD800)), QByteArray("z?")) << "at the end";
    EXPECT_EQ(CodePage::encode(QString(QChar(0xDC00)) + u'z'), QByteArray("?z")) << "lone low surrogate";
    EXPECT_EQ(CodePage::encode(QStringLiteral("提\u0E01示")), QByteArray::fromHex("cce13fcabe"));
}

TEST(CodePage, InvalidBytesDecodeToOneQuestionMarkEach)
{
    EXPECT_EQ(CodePage::decode(QByteArray("a\xFF"
                                          "b")),
              QStringLiteral("a?b"));
    EXPECT_EQ(CodePage::decode(QByteArray("ab\x81")), QStringLiteral("ab?")) << "truncated lead byte";
    EXPECT_EQ(CodePage::decode(QByteArray::fromHex("d6d0ff")), QStringLiteral("中?"));
}

TEST(CodePage, LongTextsCrossTheConversionBuffer)
{
    QString text;
    for (int i = 0; i < 5000; ++i)
        text += (i % 7 == 0) ? QStringLiteral("a") : QStringLiteral("账");
    const QByteArray bytes = CodePage::encode(text);
    EXPECT_GT(bytes.size(), 8192);
    EXPECT_EQ(CodePage::decode(bytes), text);
    QString bad = text;
    bad[4500] = QChar(0x0E01);
    const QString back = CodePage::decode(CodePage::encode(bad));
    EXPECT_EQ(back.size(), bad.size());
    EXPECT_EQ(back.at(4500), u'?');
}

TEST(CodePage, SupportAndLeadBytes)
{
    EXPECT_TRUE(CodePage::isSupported(936));
    EXPECT_TRUE(CodePage::isSupported(1252));
    EXPECT_FALSE(CodePage::isSupported(99999));
    EXPECT_TRUE(CodePage::isLeadByte(936, 0x81));
    EXPECT_TRUE(CodePage::isLeadByte(936, 0xFE));
    EXPECT_FALSE(CodePage::isLeadByte(936, 0x80));
    EXPECT_FALSE(CodePage::isLeadByte(936, 0xFF));
    EXPECT_FALSE(CodePage::isLeadByte(936, 'A'));
    EXPECT_TRUE(CodePage::isLeadByte(932, 0x9F));
    EXPECT_FALSE(CodePage::isLeadByte(932, 0xA0));
    EXPECT_TRUE(CodePage::isLeadByte(932, 0xE0));
    EXPECT_FALSE(CodePage::isLeadByte(1252, 0x81));
}

TEST(CodePage, OtherCodePagesConvert)
{
    EXPECT_EQ(CodePage::decode(QByteArray("\xE9"), 1252), QStringLiteral("é"));
    EXPECT_EQ(CodePage::encode(QStringLiteral("é"), 1252), QByteArray("\xE9"));
    EXPECT_EQ(CodePage::encode(QStringLiteral("中"), 1252), QByteArray("?"));
}

} // namespace
} // namespace tarnex
