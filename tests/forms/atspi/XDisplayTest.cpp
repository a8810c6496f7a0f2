// What only a real X display shows: the X11 selection (PRIMARY) that a mouse selection fills and a
// middle click pastes anywhere, and the window caption as the window manager reads it. Runs on an
// Xvfb of its own (run_atspi_test.sh), never on the offscreen platform.
#include "ExamScreenFixture.h"

#include "ui_Unit2.h"
#include "ui_Unit3.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QProcess>
#include <QWindow>

using namespace tarnex;
using namespace tarnex::test;

namespace {

// A word selected by a double click, the way a candidate marks text to paste elsewhere.
void doubleClickWord(QWidget* viewport)
{
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, QPoint(12, 10));
    QTest::qWait(200);
}

bool selectionEmpty()
{
    return QGuiApplication::clipboard()->text(QClipboard::Selection).isEmpty();
}

} // namespace

TEST_F(ExamScreenTest, MouseSelectionInAQuestionPaneLeavesNothingToPaste)
{
    ASSERT_TRUE(QGuiApplication::clipboard()->supportsSelection()) << "needs an X display";
    writeBank();
    addTypicalPaper();
    openExam();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(exam));
    QTextEdit* pane = exam->ui->ed_dan_tou;
    doubleClickWord(pane->viewport());
    ASSERT_TRUE(pane->textCursor().hasSelection()) << "the double click selected nothing";
    EXPECT_TRUE(selectionEmpty()) << qPrintable(QGuiApplication::clipboard()->text(QClipboard::Selection));

    // Text selected in the candidate's own memo is theirs: it stays pasteable.
    clickNumber(u"14"_qs);
    exam->ui->ed_tishi_1->setPlainText(u"借：库存现金"_qs);
    doubleClickWord(exam->ui->ed_tishi_1->viewport());
    EXPECT_FALSE(selectionEmpty());
}

TEST_F(ExamScreenTest, MouseSelectionInTheInformationWindowsLeavesNothingToPaste)
{
    ASSERT_TRUE(QGuiApplication::clipboard()->supportsSelection()) << "needs an X display";
    writeBank();
    startProgram();
    for (QDialog* window : std::initializer_list<QDialog*>{Form2, Form3}) {
        QPlainTextEdit* memo = window->findChild<QPlainTextEdit*>(u"Memo1"_qs);
        ASSERT_NE(memo, nullptr);
        memo->setPlainText(u"版本说明 第一行"_qs);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
        doubleClickWord(memo->viewport());
        ASSERT_TRUE(memo->textCursor().hasSelection());
        EXPECT_TRUE(selectionEmpty()) << qPrintable(window->objectName());
        window->hide();
    }
}

// An empty edit3 empties the caption: the window manager reads no application name in its place.
TEST_F(ExamScreenTest, EmptyCaptionShowsNothingInTheTitleBar)
{
    auto memo = standardMemo();
    memo[u"edit3"_qs] = QString();
    writeFiles(memo);
    startProgram();
    mainWindow->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(mainWindow.get()));
    EXPECT_EQ(mainWindow->windowTitle(), QString());
    QProcess xprop;
    xprop.start(u"xprop"_qs, {u"-id"_qs, QString::number(mainWindow->winId()), u"_NET_WM_NAME"_qs});
    ASSERT_TRUE(xprop.waitForFinished(10000));
    const QString property = QString::fromUtf8(xprop.readAllStandardOutput()).trimmed();
    ASSERT_TRUE(property.startsWith(u"_NET_WM_NAME"_qs)) << qPrintable(property);
    const QString shown = property.section(u'"', 1, 1).remove(QChar(0x200B));
    EXPECT_EQ(shown, QString()) << qPrintable(property);
}
