#include "RtfTestUtil.h"
#include "richtext/RtfReader.h"

#include <QTextEdit>

#include <gtest/gtest.h>

using namespace tarnex;
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
