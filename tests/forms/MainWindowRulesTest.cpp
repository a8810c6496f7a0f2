#include "MainWindowRules.h"

#include "data/StoredText.h"

#include <gtest/gtest.h>

namespace tarnex {
namespace {

TEST(CentredLeftTest, CentresAndTruncatesTowardZero)
{
    EXPECT_EQ(centredLeft(130, 634, 296), 130 + 169);
    EXPECT_EQ(centredLeft(0, 101, 50), 25); // 51 / 2 truncates down
    EXPECT_EQ(centredLeft(10, 100, 100), 10);
    EXPECT_EQ(centredLeft(10, 100, 131), 10 - 15); // -31 / 2 truncates toward zero, not -16
    EXPECT_EQ(centredLeft(0, 0, 0), 0);
}

TEST(WebPanelAddressTest, DecodesAndTrimsTheStoredAddress)
{
    EXPECT_EQ(webPanelAddress(EncodeStoredText(u"http://weibo.example/kj"_qs)),
              u"http://weibo.example/kj"_qs);
    // Line breaks of the stored form and blanks around the address are not part of it.
    EXPECT_EQ(webPanelAddress(u"\r\n "_qs + EncodeStoredText(u"  about:blank \r\n"_qs) + u"\r\n"_qs),
              u"about:blank"_qs);
}

TEST(WebPanelAddressTest, BlankMeansNoPanel)
{
    EXPECT_EQ(webPanelAddress(QString()), QString());
    EXPECT_EQ(webPanelAddress(u" \t\r\n"_qs), QString());
    EXPECT_EQ(webPanelAddress(EncodeStoredText(u"   "_qs)), QString());
    EXPECT_EQ(webPanelAddress(u"===="_qs), QString());
}

TEST(JoinedWithCrLfTest, EveryLineBreakBecomesCrLf)
{
    EXPECT_EQ(joinedWithCrLf(QString()), QString());
    EXPECT_EQ(joinedWithCrLf(u"一"_qs), u"一"_qs);
    EXPECT_EQ(joinedWithCrLf(u"一\n二\n"_qs), u"一\r\n二\r\n"_qs);
    EXPECT_EQ(joinedWithCrLf(u"一\r\n\n二"_qs), u"一\r\n\r\n二"_qs);
    EXPECT_EQ(joinedWithCrLf(u"一\r二"_qs), u"一\r\n二"_qs);
}

} // namespace
} // namespace tarnex
