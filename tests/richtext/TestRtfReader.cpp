#include "RtfTestUtil.h"
#include "richtext/RtfReader.h"

#include <QTextBlock>
#include <QTextDocument>

#include <gtest/gtest.h>

using namespace tarnex;
using tarnex::test::rtfDocument;

TEST(RtfReader, ReadsChineseText)
{
    QTextDocument doc;
    readRtf(rtfDocument("\\'d6\\'d0\\'ce\\'c4abc\\par"), &doc);
    EXPECT_EQ(doc.toPlainText(), QStringLiteral("中文abc"));
}
