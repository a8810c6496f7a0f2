#include "exam/AccountingPackage.h"
#include "exam/AccountSets.h"

#include <gtest/gtest.h>

namespace tarnex {
namespace {

TEST(AccountingPackageTest, UserNameIsAWholeNumberWithinThirtyTwoBits)
{
    for (const QString& name : {u"001"_qs, u"0"_qs, u"2147483647"_qs, u"-2147483648"_qs, u"+5"_qs, u"-0"_qs,
                                u"00000000000002147483647"_qs})
        EXPECT_TRUE(AccountingPackage::acceptsUserName(name)) << name.toStdString();
    for (const QString& name :
         {QString(), u"abc"_qs, u"2147483648"_qs, u"-2147483649"_qs, u"99999999999999999999"_qs, u"+"_qs,
          u"-"_qs, u"1 2"_qs, u"12a"_qs, u"0x10"_qs, u"$10"_qs, u"１２"_qs, u"1.0"_qs})
        EXPECT_FALSE(AccountingPackage::acceptsUserName(name)) << name.toStdString();
}

// A quote in the program folder's path must not end the file name in the restore statement.
TEST(AccountingPackageTest, RestoreStatementKeepsAQuoteInThePathInsideTheLiteral)
{
    EXPECT_EQ(AccountSets::restoreStatement(u"UFSub"_qs, u"/home/o'neil/zhangtao/ufdata/UFB.bak"_qs),
              u"restore database UFSub from disk='/home/o''neil/zhangtao/ufdata/UFB.bak' with replace");
}

} // namespace
} // namespace tarnex
