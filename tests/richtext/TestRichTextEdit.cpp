#include "RtfTestUtil.h"
#include "richtext/RtfPaste.h"
#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"

#include <QImage>
#include <QMimeData>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextTable>
#include <QUrl>

#include <gtest/gtest.h>

using namespace tarnex;
using tarnex::test::fixturePath;
using tarnex::test::readFile;
using tarnex::test::rtfDocument;

TEST(LoadStoredRichText, ReplacesTheWholeContent)
{
    QTextEdit editor;
    editor.setPlainText(QStringLiteral("earlier question"));
    loadStoredRichText(&editor, rtfDocument("\\b \\'d6\\'d0\\'ce\\'c4\\b0\\par second\\par"));
    EXPECT_EQ(editor.toPlainText(), QStringLiteral("中文\nsecond"));
    EXPECT_FALSE(editor.document()->isModified());
    EXPECT_FALSE(editor.document()->isUndoAvailable());
    EXPECT_EQ(editor.textCursor().position(), 0);
}

TEST(LoadStoredRichText, EmptyValueEmptiesTheEditor)
{
    QTextEdit editor;
    editor.setPlainText(QStringLiteral("earlier question"));
    loadStoredRichText(&editor, QByteArray());
    EXPECT_TRUE(editor.document()->isEmpty());
}

TEST(LoadStoredRichText, ReadOnlyEditorAndPlainValue)
{
    QTextEdit editor;
    editor.setReadOnly(true);
    loadStoredRichText(&editor, "\xca\xc7\xb7\xc7\xcc\xe2\r\nline");
    EXPECT_EQ(editor.toPlainText(), QStringLiteral("是非题\nline"));
    EXPECT_TRUE(editor.isReadOnly());
}

TEST(LoadStoredRichText, EditableEditorStaysEditable)
{
    QTextEdit editor;
    loadStoredRichText(&editor, rtfDocument("abc\\par"));
    QTextCursor c = editor.textCursor();
    c.movePosition(QTextCursor::End);
    c.insertText(QStringLiteral("d"));
    EXPECT_EQ(editor.toPlainText(), QStringLiteral("abcd"));
    EXPECT_TRUE(editor.document()->isModified());
}

namespace {

QList<QImage> pictures(const QTextDocument& document)
{
    QList<QImage> images;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (format.isImageFormat())
                images.append(
                    document.resource(QTextDocument::ImageResource, QUrl(format.toImageFormat().name()))
                        .value<QImage>());
        }
    }
    return images;
}

} // namespace

// What an author pastes from LibreOffice into a question that already shows a picture: both
// pictures and the table survive the stored RTF.
TEST(PastedRtf, KeepsTablesAndPicturesBesideThoseOfTheDocument)
{
    // The question shows a blue picture of its own, read from the bank as the reader names it.
    QTextDocument question;
    QImage blue(8, 8, QImage::Format_RGB32);
    blue.fill(Qt::blue);
    question.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("blue")), blue);
    QTextImageFormat bluePicture;
    bluePicture.setName(QStringLiteral("blue"));
    QTextCursor(&question).insertImage(bluePicture);
    QTextEdit editor;
    loadStoredRichText(&editor, writeRtf(question));
    ASSERT_EQ(pictures(*editor.document()).size(), 1);

    QMimeData data;
    data.setData(QStringLiteral("text/rtf"), readFile(fixturePath(QStringLiteral("lo-picture.rtf"))));
    data.setHtml(QStringLiteral("<p>ignored</p>"));
    ASSERT_FALSE(rtfFromMimeData(data).isEmpty());
    QTextCursor cursor = editor.textCursor();
    cursor.movePosition(QTextCursor::End);
    insertRtf(cursor, rtfFromMimeData(data));
    cursor.insertText(QStringLiteral("\n"));
    insertRtf(cursor, readFile(fixturePath(QStringLiteral("lo-table.rtf"))));

    QTextDocument stored;
    readRtf(writeRtf(*editor.document()), &stored);
    const QList<QImage> images = pictures(stored);
    ASSERT_EQ(images.size(), 2);
    EXPECT_EQ(images.at(0).pixelColor(0, 0), QColor(Qt::blue));
    EXPECT_EQ(images.at(1).size(), QSize(24, 16)) << "the pasted gradient, not the question's picture";
    EXPECT_EQ(qRed(images.at(1).pixel(23, 0)), 255);
    QTextTable* table = nullptr;
    for (auto it = stored.rootFrame()->begin(); !it.atEnd() && !table; ++it)
        table = qobject_cast<QTextTable*>(it.currentFrame());
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->rows(), 4);
    EXPECT_EQ(table->columns(), 3);
    EXPECT_TRUE(documentPlainText(stored).contains(QStringLiteral("库存现金\t1,200.00\t3,450.50")));

    // Without an RTF flavour there is nothing to take.
    QMimeData html;
    html.setHtml(QStringLiteral("<b>x</b>"));
    html.setData(QStringLiteral("text/rtf"), QByteArray("not rtf"));
    EXPECT_TRUE(rtfFromMimeData(html).isEmpty());
}
