#include "FormsFixture.h"

#include "ui_Unit1.h"
#include "ui_Unit2.h"
#include "ui_Unit3.h"
#include "ui_Unit_main.h"

#include "data/DataSet.h"
#include "data/Database.h"
#include "platform/AppError.h"
#include "platform/AppPaths.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>

#include <functional>

namespace tarnex::test {
namespace {

// Runs the check inside the modal loop the next call opens; the check closes the window.
void whileModal(std::function<void()> check)
{
    QTimer::singleShot(0, std::move(check));
}

QString clipboardText()
{
    return QGuiApplication::clipboard()->text();
}

// Ctrl+C on the whole text: the press copies it, the release of the key empties the clipboard.
void pressCopy(QPlainTextEdit* memo)
{
    memo->selectAll();
    QTest::keyPress(memo, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(clipboardText(), memo->toPlainText());
    QTest::keyRelease(memo, Qt::Key_C, Qt::ControlModifier);
}

using InformationWindowTest = FormsTest;

TEST_F(InformationWindowTest, VersionNotesShowReadOnlyAndKeepTheClipboardEmpty)
{
    writeFiles();
    startProgram();
    bool checked = false;
    whileModal([&] {
        EXPECT_TRUE(Form2->isVisible());
        EXPECT_TRUE(Form2->isModal());
        EXPECT_EQ(Form2->windowTitle(), QStringLiteral("信息"));
        EXPECT_EQ(Form2->ui->RzGroupBox1->title(), QStringLiteral("版本说明"));
        QPlainTextEdit* memo = Form2->ui->Memo1;
        EXPECT_EQ(memo->toPlainText(), QStringLiteral("版本 2013\n修正了若干问题"));
        EXPECT_TRUE(memo->isReadOnly());
        EXPECT_EQ(memo->contextMenuPolicy(), Qt::PreventContextMenu);
        EXPECT_FALSE(Form2->ui->RzBmpButton4->isVisible());

        QGuiApplication::clipboard()->setText(QStringLiteral("之前的内容"));
        memo->setFocus();
        pressCopy(memo);
        EXPECT_EQ(clipboardText(), QString());
        EXPECT_TRUE(memo->isReadOnly());
        checked = true;
        Form2->ui->RzBmpButton1->click();
    });
    mainWindow->ui->RzBmpButton2->click();
    EXPECT_TRUE(checked);
    EXPECT_FALSE(Form2->isVisible());
    EXPECT_TRUE(Dialogs::takeShown().isEmpty());
}

TEST_F(InformationWindowTest, VersionNotesEmptyTheClipboardOnLeavingAndTyping)
{
    writeFiles();
    startProgram();
    QPlainTextEdit* memo = Form2->ui->Memo1;

    QGuiApplication::clipboard()->setText(QStringLiteral("甲"));
    QFocusEvent focusOut(QEvent::FocusOut);
    QCoreApplication::sendEvent(memo, &focusOut);
    EXPECT_EQ(clipboardText(), QString());

    QGuiApplication::clipboard()->setText(QStringLiteral("乙"));
    QKeyEvent typed(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
    QCoreApplication::sendEvent(memo, &typed);
    EXPECT_EQ(clipboardText(), QString());
    EXPECT_EQ(memo->toPlainText(), QString()); // still read-only

    QGuiApplication::clipboard()->setText(QStringLiteral("丙"));
    QKeyEvent released(QEvent::KeyRelease, Qt::Key_Shift, Qt::NoModifier);
    QCoreApplication::sendEvent(memo, &released);
    EXPECT_EQ(clipboardText(), QString());
}

TEST_F(InformationWindowTest, ConsultingTextEmptiesTheClipboardOnKeyReleaseOnly)
{
    writeFiles();
    startProgram();
    bool checked = false;
    whileModal([&] {
        QPlainTextEdit* memo = Form3->ui->Memo1;
        EXPECT_EQ(Form3->ui->RzGroupBox1->title(), QStringLiteral("咨询辅导"));
        EXPECT_EQ(memo->toPlainText(), QStringLiteral("辅导热线\n每周一至周五"));
        EXPECT_TRUE(memo->isReadOnly());
        EXPECT_EQ(memo->contextMenuPolicy(), Qt::PreventContextMenu);
        EXPECT_FALSE(Form3->ui->RzBmpButton4->isVisible());

        QGuiApplication::clipboard()->setText(QStringLiteral("之前"));
        memo->setFocus();
        pressCopy(memo);
        EXPECT_EQ(clipboardText(), QString());

        // Leaving the text keeps what another program put on the clipboard.
        QGuiApplication::clipboard()->setText(QStringLiteral("别处"));
        QFocusEvent focusOut(QEvent::FocusOut);
        QCoreApplication::sendEvent(memo, &focusOut);
        EXPECT_EQ(clipboardText(), QStringLiteral("别处"));
        checked = true;
        Form3->ui->RzBmpButton1->click();
    });
    mainWindow->ui->RzBmpButton11->click();
    EXPECT_TRUE(checked);
    EXPECT_FALSE(Form3->isVisible());
}

TEST_F(InformationWindowTest, HiddenSaveStoresTheLongTextsEncoded)
{
    writeFiles();
    startProgram();

    Form2->show();
    Form2->ui->Memo1->setPlainText(QStringLiteral("第一行\n\n第三行 \n"));
    Form2->RzBmpButton4Click();
    EXPECT_FALSE(Form2->isVisible());
    EXPECT_EQ(readMemoColumn(folder.path(), QStringLiteral("版本说明")),
              EncodeStoredText(QStringLiteral("第一行\r\n\r\n第三行 \r\n")));
    auto shown = Dialogs::takeShown();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0].kind, Dialogs::Kind::Information);
    EXPECT_EQ(shown[0].caption, QStringLiteral("提示"));
    EXPECT_EQ(shown[0].text, QStringLiteral("完成信息修改！"));

    Form3->show();
    Form3->ui->Memo1->setPlainText(QStringLiteral("新的辅导"));
    Form3->RzBmpButton4Click();
    EXPECT_FALSE(Form3->isVisible());
    EXPECT_EQ(readMemoColumn(folder.path(), QStringLiteral("咨询辅导")),
              EncodeStoredText(QStringLiteral("新的辅导")));
    EXPECT_EQ(Dialogs::takeShown().size(), 1);
    // The other columns are untouched.
    EXPECT_EQ(readMemoColumn(folder.path(), QStringLiteral("行一")), standardMemo().value(u"行一"_qs));

    // The next opening shows what was saved.
    whileModal([&] {
        EXPECT_EQ(Form2->ui->Memo1->toPlainText(), QStringLiteral("第一行\n\n第三行 \n"));
        Form2->ui->RzBmpButton1->click();
    });
    mainWindow->RzBmpButton2Click();
}

TEST_F(InformationWindowTest, WithoutTheBankNoWindowOpens)
{
    writePaperLists(folder.path(), QStringLiteral("基础一"), QString());
    startProgram();
    ASSERT_EQ(Dialogs::takeShown().size(), 1);

    // A window that did open would be closed here, so the test cannot hang.
    bool opened = false;
    QTimer guard;
    QObject::connect(&guard, &QTimer::timeout, [&] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            opened = true;
            modal->close();
        }
    });
    guard.start(10);
    EXPECT_THROW(mainWindow->RzBmpButton2Click(), AppError);
    EXPECT_THROW(mainWindow->RzBmpButton11Click(), AppError);
    EXPECT_THROW(mainWindow->RzBmpButton4Click(), AppError);
    EXPECT_FALSE(opened);
    EXPECT_FALSE(Form1->isVisible());
    EXPECT_FALSE(Form2->isVisible());
    EXPECT_FALSE(Form3->isVisible());

    // A save without the table fails and the window stays open.
    Form2->show();
    EXPECT_THROW(Form2->RzBmpButton4Click(), AppError);
    EXPECT_TRUE(Form2->isVisible());
    Form1->show();
    EXPECT_THROW(Form1->RzBmpButton4Click(), AppError);
    EXPECT_TRUE(Form1->isVisible());
    EXPECT_TRUE(Dialogs::takeShown().isEmpty());
}

using InformationEditorTest = FormsTest;

TEST_F(InformationEditorTest, OpensWithTheDecodedTexts)
{
    auto memo = standardMemo();
    memo[u"微博地址"_qs] = u"\r\n"_qs + EncodeStoredText(u"http://weibo.example/kj"_qs) + u"\r\n"_qs;
    writeFiles(memo);
    startProgram();
    bool checked = false;
    whileModal([&] {
        EXPECT_TRUE(Form1->isModal());
        EXPECT_EQ(Form1->windowTitle(), QStringLiteral("相关信息修改"));
        EXPECT_EQ(Form1->ui->Edit1->text(), QStringLiteral("咨询电话：0531-1234567"));
        EXPECT_EQ(Form1->ui->Edit2->text(), QStringLiteral("  第二行，前后有空格 "));
        EXPECT_EQ(Form1->ui->Edit3->text(), QStringLiteral("地址：济南"));
        EXPECT_EQ(Form1->ui->Edit4->text(), QStringLiteral("http://weibo.example/kj"));
        EXPECT_EQ(Form1->url, QStringLiteral("http://weibo.example/kj"));
        checked = true;
        Form1->ui->RzBmpButton1->click();
    });
    mainWindow->RzBmpButton4Click();
    EXPECT_TRUE(checked);
    EXPECT_FALSE(Form1->isVisible());
    EXPECT_TRUE(Dialogs::takeShown().isEmpty());
}

TEST_F(InformationEditorTest, SaveStoresLinesAsTypedAndTheAddressTrimmed)
{
    writeFiles();
    startProgram();
    whileModal([&] {
        Form1->ui->Edit1->setText(QStringLiteral(" 新的第一行 "));
        Form1->ui->Edit2->setText(QString());
        Form1->ui->Edit3->setText(QStringLiteral("第三行"));
        Form1->ui->Edit4->setText(QStringLiteral("  \t "));
        Form1->ui->RzBmpButton4->click();
    });
    mainWindow->RzBmpButton4Click();
    EXPECT_FALSE(Form1->isVisible());

    const QString dir = folder.path();
    EXPECT_EQ(readMemoColumn(dir, u"行一"_qs), EncodeStoredText(u" 新的第一行 "_qs));
    EXPECT_EQ(readMemoColumn(dir, u"行二"_qs), QString());
    EXPECT_EQ(readMemoColumn(dir, u"行三"_qs), EncodeStoredText(u"第三行"_qs));
    EXPECT_EQ(readMemoColumn(dir, u"微博地址"_qs), QString());
    EXPECT_EQ(readMemoColumn(dir, u"版本说明"_qs), standardMemo().value(u"版本说明"_qs));

    Ui::TForm_main* ui = mainWindow->ui;
    EXPECT_EQ(ui->Label11->text(), QStringLiteral(" 新的第一行 "));
    EXPECT_EQ(ui->Label13->text(), QString());
    EXPECT_EQ(ui->Label12->text(), QStringLiteral("第三行"));
    // The table was opened again and holds the saved row.
    EXPECT_EQ(mainWindow->ADOTable1().state(), DataSet::State::Browse);
    EXPECT_EQ(mainWindow->ADOTable1().text(u"行一"_qs), EncodeStoredText(u" 新的第一行 "_qs));

    const auto shown = Dialogs::takeShown();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0].kind, Dialogs::Kind::Information);
    EXPECT_EQ(shown[0].caption, QStringLiteral("提示"));
    EXPECT_EQ(shown[0].text, QStringLiteral("完成信息修改！"));

    // Offline the address changed from nothing to nothing: the web panel was never built.
    EXPECT_TRUE(mainWindow->webPanelRequests().isEmpty());
    EXPECT_TRUE(ui->RzPanel8->isHidden());

    // After a restart the lines stay as saved and the panel stays hidden online.
    mainWindow.reset();
    probe.reachable = true;
    startProgram();
    EXPECT_EQ(mainWindow->ui->Label11->text(), QStringLiteral(" 新的第一行 "));
    EXPECT_EQ(mainWindow->ui->Label13->text(), QString());
    EXPECT_TRUE(mainWindow->ui->RzPanel8->isHidden());
    EXPECT_EQ(mainWindow->WebBrowser1(), nullptr);
}

TEST_F(InformationEditorTest, NavigatesAgainOnlyWhenTheAddressChanged)
{
    auto memo = standardMemo();
    memo[u"微博地址"_qs] = EncodeStoredText(u"about:blank#first"_qs);
    writeFiles(memo);
    probe.reachable = true;
    startProgram();
    ASSERT_EQ(mainWindow->webPanelRequests(), QList<QUrl>{QUrl(u"about:blank#first"_qs)});

    whileModal([&] { Form1->ui->RzBmpButton4->click(); });
    mainWindow->RzBmpButton4Click();
    EXPECT_EQ(mainWindow->webPanelRequests().size(), 1);

    whileModal([&] {
        Form1->ui->Edit4->setText(u"  about:blank#second \r"_qs);
        Form1->ui->RzBmpButton4->click();
    });
    mainWindow->RzBmpButton4Click();
    EXPECT_EQ(mainWindow->webPanelRequests(),
              (QList<QUrl>{QUrl(u"about:blank#first"_qs), QUrl(u"about:blank"_qs),
                           QUrl(u"about:blank#second"_qs)}));
    EXPECT_EQ(readMemoColumn(folder.path(), u"微博地址"_qs), EncodeStoredText(u"about:blank#second"_qs));
    EXPECT_FALSE(mainWindow->ui->RzPanel8->isHidden());

    // Saved again with only blanks around the same address: no reload.
    whileModal([&] {
        Form1->ui->Edit4->setText(u" about:blank#second "_qs);
        Form1->ui->RzBmpButton4->click();
    });
    mainWindow->RzBmpButton4Click();
    EXPECT_EQ(mainWindow->webPanelRequests().size(), 3);
}

TEST_F(InformationEditorTest, ChangedAddressOfflineKeepsThePanelHidden)
{
    writeFiles();
    startProgram();
    whileModal([&] {
        Form1->ui->Edit4->setText(u"about:blank#new"_qs);
        Form1->ui->RzBmpButton4->click();
    });
    mainWindow->RzBmpButton4Click();
    EXPECT_EQ(mainWindow->webPanelRequests(),
              (QList<QUrl>{QUrl(u"about:blank"_qs), QUrl(u"about:blank#new"_qs)}));
    EXPECT_TRUE(mainWindow->ui->RzPanel8->isHidden());
}

TEST_F(InformationEditorTest, FailedPostKeepsTheEditorOpenWithoutConfirmation)
{
    writeFiles();
    startProgram();
    // Another program removed the row the table stands on.
    {
        auto other = Database::open(folder.file(u"kstk.dat"_qs), Database::BankPassword);
        other->execute(u"DELETE FROM tb_memo"_qs);
    }
    Form1->show();
    Form1->ui->Edit1->setText(u"不会保存"_qs);
    EXPECT_THROW(Form1->RzBmpButton4Click(), AppError);
    EXPECT_TRUE(Form1->isVisible());
    EXPECT_TRUE(Dialogs::takeShown().isEmpty());
    EXPECT_NE(mainWindow->ui->Label11->text(), u"不会保存"_qs);
    // The table is not left half-edited: a later read sees the row as it was loaded.
    EXPECT_EQ(mainWindow->ADOTable1().state(), DataSet::State::Browse);
    EXPECT_EQ(mainWindow->ADOTable1().text(u"行一"_qs), standardMemo().value(u"行一"_qs));
}

using DesktopShortcutPlacementTest = FormsTest;

TEST_F(DesktopShortcutPlacementTest, CreatedOnceAndNeverOverwritten)
{
    writeFiles();
    QDir::setCurrent(QDir::tempPath()); // the current directory plays no part
    startProgram();
    const QString entry = QDir(desktop.path()).filePath(u"Velquarn.desktop"_qs);
    QFile file(entry);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString content = QString::fromUtf8(file.readAll());
    file.close();
    EXPECT_TRUE(content.contains(AppPaths::executablePath())) << qPrintable(content);
    EXPECT_FALSE(content.contains(u"tarnex.exe"_qs));
    // It starts in the executable's folder, not in the current directory.
    EXPECT_TRUE(content.contains(u"Path="_qs + QFileInfo(AppPaths::executablePath()).absolutePath()))
        << qPrintable(content);

    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("[Desktop Entry]\nExec=/elsewhere/program\n");
    file.close();
    {
        TForm1 second(mainWindow.get());
    }
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("[Desktop Entry]\nExec=/elsewhere/program\n"));
}

} // namespace
} // namespace tarnex::test
