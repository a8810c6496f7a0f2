#include "exam/JournalEntry.h"

#include <gtest/gtest.h>

namespace tarnex {
namespace {

const QString Dot = QStringLiteral(".");

TEST(JournalEntryTest, DisplayLineUsesFullWidthThenAsciiComma)
{
    const JournalLine line{QStringLiteral("借"), QStringLiteral("库存现金"), QStringLiteral("1000")};
    EXPECT_EQ(line.displayLine(), QStringLiteral("借\uFF0C库存现金,1000"));
    EXPECT_EQ(line.displayLine().at(1).unicode(), 0xFF0C);
    EXPECT_EQ(line.displayLine().at(6).unicode(), u',');
}

TEST(JournalEntryTest, AnswerTextOfTheTwoLineExample)
{
    const QStringList lines{QStringLiteral("借，库存现金,1000"), QStringLiteral(" 贷，银行存款,1000 ")};
    const QString text = journalAnswerText(lines);
    EXPECT_EQ(text, QStringLiteral("借，库存现金,1000  贷，银行存款,1000  "));
    EXPECT_EQ(storedWrittenAnswer(text), QStringLiteral("借，库存现金,1000  贷，银行存款,1000"));
    EXPECT_EQ(journalAnswerText({}), QString());
}

TEST(JournalEntryTest, StoredAnswerDropsBlanksAndLineBreaksAtBothEnds)
{
    EXPECT_EQ(storedWrittenAnswer(QStringLiteral("\r\n  typed\r\nby hand \t\n")),
              QStringLiteral("typed\r\nby hand"));
    EXPECT_EQ(storedWrittenAnswer(QStringLiteral(" \r\n ")), QString());
}

TEST(JournalEntryTest, AmountsAcceptedAsNumbers)
{
    for (const QString& amount :
         {QStringLiteral("1000"), QStringLiteral("1000.00"), QStringLiteral("-5"), QStringLiteral("+5"),
          QStringLiteral("1e3"), QStringLiteral("1E-3"), QStringLiteral("2.5e+2"), QStringLiteral(".5"),
          QStringLiteral("5."), QStringLiteral(" 12 ")}) {
        EXPECT_EQ(checkAmount(amount, Dot), AmountCheck::Accepted) << amount.toStdString();
    }
}

TEST(JournalEntryTest, AmountsRefusedAsMalformed)
{
    for (const QString& amount :
         {QStringLiteral("1,000"), QStringLiteral("abc"), QStringLiteral("¥100"), QStringLiteral("100元"),
          QStringLiteral("1.2.3"), QStringLiteral("."), QStringLiteral("-"), QStringLiteral("1e"),
          QStringLiteral("e3"), QStringLiteral("1e+"), QStringLiteral("1 000"), QStringLiteral("--5"),
          QStringLiteral("0x10"), QStringLiteral("INF"), QStringLiteral("nan"), QStringLiteral("１０"),
          QStringLiteral("1e3.5")}) {
        EXPECT_EQ(checkAmount(amount, Dot), AmountCheck::Malformed) << amount.toStdString();
    }
}

TEST(JournalEntryTest, EmptyAmountIsItsOwnRefusal)
{
    EXPECT_EQ(checkAmount(QString(), Dot), AmountCheck::Empty);
    EXPECT_EQ(checkAmount(QStringLiteral("   "), Dot), AmountCheck::Empty);
    EXPECT_EQ(amountMessage(AmountCheck::Empty), QStringLiteral("金额不能为空,请输入！"));
    EXPECT_EQ(amountMessage(AmountCheck::Malformed), QStringLiteral("金额输入格式错误,请输入！"));
    EXPECT_EQ(amountMessage(AmountCheck::Accepted), QString());
}

TEST(JournalEntryTest, DecimalSeparatorIsTheSystemOne)
{
    const QString comma = QStringLiteral(",");
    EXPECT_EQ(checkAmount(QStringLiteral("1000,50"), comma), AmountCheck::Accepted);
    EXPECT_EQ(checkAmount(QStringLiteral("1000.50"), comma), AmountCheck::Malformed);
    EXPECT_EQ(checkAmount(QStringLiteral("1000,50"), Dot), AmountCheck::Malformed);
}

} // namespace
} // namespace tarnex
