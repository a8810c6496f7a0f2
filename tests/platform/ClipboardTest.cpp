#include "platform/Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include <gtest/gtest.h>

namespace tarnex {
namespace {

TEST(Clipboard, EmptyingRemovesEveryFormat)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    auto* data = new QMimeData;
    data->setText(QStringLiteral("借：银行存款"));
    data->setHtml(QStringLiteral("<b>借</b>"));
    data->setData(QStringLiteral("application/rtf"), "{\\rtf1 x}");
    clipboard->setMimeData(data);
    ASSERT_EQ(clipboard->text(), QStringLiteral("借：银行存款"));

    emptyClipboard();

    EXPECT_TRUE(clipboard->text().isEmpty());
    const QMimeData* left = clipboard->mimeData();
    EXPECT_TRUE(left == nullptr || left->formats().isEmpty());
}

TEST(Clipboard, EmptyingTwiceAndEmptyingAnEmptyClipboardIsHarmless)
{
    emptyClipboard();
    emptyClipboard();
    EXPECT_TRUE(QGuiApplication::clipboard()->text().isEmpty());
}

TEST(Clipboard, SelectionIsEmptiedWhereThereIsOne)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard->supportsSelection())
        GTEST_SKIP() << "this platform has no selection clipboard";
    clipboard->setText(QStringLiteral("选中"), QClipboard::Selection);
    emptyClipboard();
    EXPECT_TRUE(clipboard->text(QClipboard::Selection).isEmpty());
}

} // namespace
} // namespace tarnex
