#include "platform/TextUtil.h"

#include <gtest/gtest.h>

namespace tarnex {
namespace {

TEST(TrimmedText, RemovesCodesUpTo32AtBothEndsOnly)
{
    EXPECT_EQ(trimmedText(QStringLiteral(" \t\r\n试题一 \r\n")), QStringLiteral("试题一"));
    EXPECT_EQ(trimmedText(QString(QChar(1)) + QStringLiteral("a b") + QChar(31) + QChar(32)),
              QStringLiteral("a b"));
    EXPECT_EQ(trimmedText(QStringLiteral("a  b")), QStringLiteral("a  b")) << "inner blanks stay";
    EXPECT_EQ(trimmedText(QStringLiteral("  ")), QString());
    EXPECT_EQ(trimmedText(QString()), QString());
    EXPECT_EQ(trimmedText(QString(QChar(0)) + u'x' + QChar(0)), QStringLiteral("x"));
}

TEST(TrimmedText, KeepsOtherUnicodeSpaces)
{
    const QString ideographic(QChar(0x3000));
    EXPECT_EQ(trimmedText(ideographic + u'x' + ideographic), ideographic + u'x' + ideographic);
    const QString nbsp(QChar(0xA0));
    EXPECT_EQ(trimmedText(nbsp + u'x'), nbsp + u'x');
    EXPECT_EQ(trimmedText(QString(QChar(0x7F)) + u'x'), QString(QChar(0x7F)) + u'x') << "DEL is code 127";
    EXPECT_EQ(trimmedText(QStringLiteral("!x!")), QStringLiteral("!x!")) << "code 33 stays";
}

TEST(SplitListLines, EachBreakKindEndsALine)
{
    EXPECT_EQ(
        splitListLines(QStringLiteral("a\r\nb\nc\rd")),
        QStringList({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d")}));
    EXPECT_EQ(splitListLines(QStringLiteral("a\n\rb")), QStringList({"a", "", "b"})) << "LF CR is two breaks";
}

TEST(SplitListLines, EmptyLinesAreEntriesButAFinalBreakAddsNone)
{
    EXPECT_EQ(splitListLines(QStringLiteral("a\r\n\r\nb")), QStringList({"a", "", "b"}));
    EXPECT_EQ(splitListLines(QStringLiteral("a\r\n")), QStringList({"a"}));
    EXPECT_EQ(splitListLines(QStringLiteral("a\r\n\r\n")), QStringList({"a", ""}));
    EXPECT_EQ(splitListLines(QStringLiteral("\n")), QStringList({""}));
    EXPECT_EQ(splitListLines(QStringLiteral("\r")), QStringList({""}));
    EXPECT_EQ(splitListLines(QStringLiteral("\r\n")), QStringList({""}));
    EXPECT_EQ(splitListLines(QStringLiteral("\nx")), QStringList({"", "x"}));
}

TEST(SplitListLines, EmptyTextGivesNoEntriesAndOneLineGivesOne)
{
    EXPECT_TRUE(splitListLines(QString()).isEmpty());
    EXPECT_TRUE(splitListLines(QStringLiteral("")).isEmpty());
    EXPECT_EQ(splitListLines(QStringLiteral("试题一")), QStringList({QStringLiteral("试题一")}));
    EXPECT_EQ(splitListLines(QStringLiteral(" a ")), QStringList({" a "})) << "lines are not trimmed";
}

} // namespace
} // namespace tarnex
