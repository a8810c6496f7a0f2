#include "FormsFixture.h"
#include "MainWindowRules.h"

#include "ui_Unit2.h"
#include "ui_Unit_main.h"

#include "app/Application.h"
#include "app/WebPanelStart.h"
#include "data/DataSet.h"
#include "data/Database.h"
#include "platform/AppError.h"
#include "platform/AppPaths.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QTest>
#include <QWebEngineView>

#include <stdexcept>

namespace tarnex::test {
namespace {

// The web engine needs these before the application object exists; the tests run as root in a
// container, where Chromium's sandbox cannot start.
const bool webEngineReady = [] {
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    return true;
}();

QStringList designPapers()
{
    return QStringLiteral("试题一 试题二 试题三 试题四 试题五 试题六 试题七 试题八 试题九 试题十 试题十一 "
                          "试题十二 试题十三 试题十四 试题十五 试题十六 试题十七 试题十八 试题十九 试题二十")
        .split(u' ');
}

QString openError(const QString& path, const QByteArray& password)
{
    try {
        Database::open(path, password);
    } catch (const AppError& error) {
        return error.message();
    }
    return {};
}

using MainWindowStartTest = FormsTest;

TEST_F(MainWindowStartTest, FillsTheWindowFromBothFilesOffline)
{
    writeFiles();
    startProgram();
    Ui::TForm_main* ui = mainWindow->ui;

    EXPECT_TRUE(Dialogs::takeShown().isEmpty());
    EXPECT_EQ(mainWindow->windowTitle(), QStringLiteral("模拟考试 V.2013"));
    EXPECT_EQ(ui->Label9->text(), QStringLiteral("会计从业资格考试模拟系统"));
    EXPECT_EQ(ui->Label10->text(), QStringLiteral("2013 新题"));
    EXPECT_EQ(ui->Label11->text(), QStringLiteral("咨询电话：0531-1234567"));
    EXPECT_EQ(ui->Label13->text(), QStringLiteral("  第二行，前后有空格 "));
    EXPECT_EQ(ui->Label12->text(), QStringLiteral("地址：济南"));

    // The paper list holds memo1 (its last line break adds no entry), the first selected.
    EXPECT_EQ(items(ui->RzComboBox2), (QStringList{u"第一套"_qs, u"第二套"_qs, u"第三套"_qs}));
    EXPECT_EQ(ui->RzComboBox2->currentIndex(), 0);
    EXPECT_EQ(ui->RzComboBox1->currentIndex(), 0);
    EXPECT_EQ(ui->kemu->text(), ui->RzComboBox1->currentText());
    EXPECT_EQ(ui->kemu->text(), QStringLiteral("会计基础"));

    EXPECT_EQ(probe.calls, 1);
    EXPECT_TRUE(ui->RzPanel8->isHidden());
    EXPECT_EQ(ui->RzGroupBox1->title(), QStringLiteral(" 信息"));
    EXPECT_FALSE(ui->RzGroupBox1->isHidden());
    EXPECT_EQ(mainWindow->WebBrowser1(), nullptr);
    EXPECT_TRUE(mainWindow->findChildren<QWebEngineView*>().isEmpty());
    EXPECT_TRUE(mainWindow->webPanelRequests().isEmpty());
    EXPECT_TRUE(mainWindow->windowState() & Qt::WindowMaximized);

    // The hidden controls stay hidden once the window is shown.
    mainWindow->show();
    EXPECT_FALSE(ui->RzBmpButton4->isVisible());
    EXPECT_FALSE(ui->CheckBox2->isVisible());
    EXPECT_FALSE(ui->Label5->isVisible());
    EXPECT_FALSE(ui->RzProgressBar1->isVisible());
    EXPECT_FALSE(ui->Memo1->isVisible());
    EXPECT_TRUE(ui->RzBmpButton3->isVisible());
    EXPECT_TRUE(ui->CheckBox1->isVisible());
}

TEST_F(MainWindowStartTest, KeepsTheWebPanelHiddenOnlineWithABlankAddress)
{
    for (const QString& stored :
         {QString(), QStringLiteral(" \r\n "), EncodeStoredText(QStringLiteral("  \t "))}) {
        TestFolder own;
        auto memo = standardMemo();
        memo[u"微博地址"_qs] = stored;
        writeQuestionBank(own.path(), memo);
        writePaperLists(own.path(), {}, {});
        probe.reachable = true;
        startProgram();
        EXPECT_TRUE(mainWindow->ui->RzPanel8->isHidden()) << qPrintable(stored);
        EXPECT_EQ(mainWindow->WebBrowser1(), nullptr);
        EXPECT_TRUE(mainWindow->findChildren<QWebEngineView*>().isEmpty());
        mainWindow.reset();
    }
}

TEST_F(MainWindowStartTest, ShowsTheStoredAddressOnline)
{
    QFile page(folder.file(QStringLiteral("info.html")));
    ASSERT_TRUE(page.open(QIODevice::WriteOnly));
    page.write("<html><body>info</body></html>");
    page.close();
    const QUrl address = QUrl::fromLocalFile(page.fileName());

    auto memo = standardMemo();
    memo[u"微博地址"_qs] = EncodeStoredText(address.toString());
    writeFiles(memo);
    probe.reachable = true;
    startProgram();

    EXPECT_TRUE(Dialogs::takeShown().isEmpty());
    EXPECT_FALSE(mainWindow->ui->RzPanel8->isHidden());
    auto* view = qobject_cast<QWebEngineView*>(mainWindow->WebBrowser1());
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->parentWidget(), mainWindow->ui->RzPanel8);
    EXPECT_EQ(mainWindow->webPanelRequests(), QList<QUrl>{address});
    EXPECT_TRUE(QTest::qWaitFor([&] { return view->url() == address; }, 10000))
        << qPrintable(view->url().toString());
}

// Online as root the browser engine cannot start without its sandbox and would end the program:
// the start-up says so, the panel stays hidden, the engine is never loaded, nothing is shown.
TEST_F(MainWindowStartTest, BrowserEngineThatCannotStartLeavesThePanelHidden)
{
    EXPECT_FALSE(browserEngineCanStart(true, {}, {}, true));
    EXPECT_FALSE(browserEngineCanStart(true, "0", "--disable-gpu", true));
    EXPECT_TRUE(browserEngineCanStart(true, "1", {}, true));
    EXPECT_TRUE(browserEngineCanStart(true, {}, "--disable-gpu --no-sandbox", true));
    EXPECT_FALSE(browserEngineCanStart(true, {}, "--no-sandboxes", true));
    EXPECT_TRUE(browserEngineCanStart(false, {}, {}, true));
    EXPECT_FALSE(browserEngineCanStart(false, {}, {}, false)) << "no helper program";

    auto memo = standardMemo();
    memo[u"微博地址"_qs] = EncodeStoredText(u"about:blank#info"_qs);
    writeFiles(memo);
    probe.reachable = true;
    applyWebPanelStart(WebPanelStart{true, false});
    startProgram();
    applyWebPanelStart(WebPanelStart{true, true});
    EXPECT_TRUE(Dialogs::takeShown().isEmpty());
    EXPECT_TRUE(mainWindow->ui->RzPanel8->isHidden());
    EXPECT_EQ(mainWindow->WebBrowser1(), nullptr);
    EXPECT_TRUE(mainWindow->findChildren<QWebEngineView*>().isEmpty());
    EXPECT_EQ(mainWindow->windowTitle(), QStringLiteral("模拟考试 V.2013"));
    EXPECT_TRUE(mainWindow->windowState() & Qt::WindowMaximized) << "the start-up went to its end";
}

// The start-up's probe answer is kept: the main window does not probe a second time.
TEST_F(MainWindowStartTest, StartUpProbesOnceForTheWholeRun)
{
    writeFiles();
    probe.reachable = false;
    const WebPanelStart start = prepareWebPanel(probe);
    EXPECT_FALSE(start.online);
    EXPECT_FALSE(start.panelPossible());
    startProgram();
    EXPECT_EQ(probe.calls, 1);
    EXPECT_TRUE(mainWindow->ui->RzPanel8->isHidden());
    NetworkProbe::setInstanceForTesting(&probe);
}

TEST_F(MainWindowStartTest, EmptyColumnsEmptyTheirTexts)
{
    auto memo = standardMemo();
    for (const char* column : {"行一", "行二", "行三", "edit1", "edit3", "memo1"})
        memo[QString::fromUtf8(column)] = QString();
    writeFiles(memo);
    startProgram();
    Ui::TForm_main* ui = mainWindow->ui;

    EXPECT_TRUE(Dialogs::takeShown().isEmpty());
    EXPECT_EQ(ui->Label11->text(), QString());
    EXPECT_EQ(ui->Label13->text(), QString());
    EXPECT_EQ(ui->Label12->text(), QString());
    EXPECT_EQ(ui->Label9->text(), QString());
    EXPECT_EQ(mainWindow->windowTitle(), QString());
    EXPECT_EQ(ui->RzComboBox2->count(), 0);
    EXPECT_EQ(ui->RzComboBox2->currentText(), QString());
    // Nothing to start: the button does nothing at all.
    ui->RzBmpButton3->click();
    EXPECT_TRUE(Dialogs::takeShown().isEmpty());
    EXPECT_FALSE(mainWindow->isHidden() && mainWindow->isVisible());
}

TEST_F(MainWindowStartTest, SubjectPickRefillsThePaperList)
{
    writeFiles();
    startProgram();
    Ui::TForm_main* ui = mainWindow->ui;
    mainWindow->show();
    ui->RzComboBox1->setFocus();

    QTest::keyClick(ui->RzComboBox1, Qt::Key_Down);
    EXPECT_EQ(ui->RzComboBox1->currentIndex(), 1);
    EXPECT_EQ(ui->kemu->text(), QStringLiteral("财经法规与会计职业道德"));
    EXPECT_EQ(items(ui->RzComboBox2), (QStringList{u"法规一"_qs, u"法规二"_qs, QString(), u"法规四"_qs}));
    EXPECT_EQ(ui->RzComboBox2->currentIndex(), 0);

    QTest::keyClick(ui->RzComboBox1, Qt::Key_Up);
    EXPECT_EQ(ui->kemu->text(), QStringLiteral("会计基础"));
    EXPECT_EQ(items(ui->RzComboBox2), (QStringList{u"基础一"_qs, u"基础二"_qs}));

    // A subject outside the lists leaves the papers alone but still names the subject.
    ui->RzComboBox1->addItem(QStringLiteral("其他科目"));
    ui->RzComboBox1->setCurrentIndex(2);
    mainWindow->RzComboBox1Change();
    EXPECT_EQ(ui->kemu->text(), QStringLiteral("其他科目"));
    EXPECT_EQ(items(ui->RzComboBox2), (QStringList{u"基础一"_qs, u"基础二"_qs}));
}

// Paper lists from before the third subject have no memodsh: two subjects, and the file is only
// read.
TEST_F(MainWindowStartTest, ComputerAccountingIsOfferedOnlyWithItsPaperList)
{
    writeFiles();
    removeComputerAccountingPapers(folder.path());
    startProgram();
    Ui::TForm_main* ui = mainWindow->ui;
    EXPECT_EQ(items(ui->RzComboBox1), (QStringList{u"会计基础"_qs, u"财经法规与会计职业道德"_qs}));
    mainWindow.reset();
    {
        auto db = Database::open(folder.file(u"titao.dat"_qs));
        DataSet table(*db);
        table.open(u"select * from memo_temp"_qs);
        EXPECT_FALSE(table.hasColumn(u"memodsh"_qs));
        EXPECT_EQ(table.text(u"memojc"_qs), u"基础一\r\n基础二");
    }

    writeComputerAccountingPapers(folder.path(), u"实务一\n实务二\n"_qs);
    startProgram();
    ui = mainWindow->ui;
    mainWindow->show();
    EXPECT_EQ(items(ui->RzComboBox1),
              (QStringList{u"会计基础"_qs, u"财经法规与会计职业道德"_qs, u"初级会计电算化"_qs}));
    EXPECT_FALSE(ui->CheckBox2->isVisible());
    EXPECT_FALSE(ui->Memo3->isVisible());

    ui->RzComboBox1->setFocus();
    QTest::keyClick(ui->RzComboBox1, Qt::Key_End);
    EXPECT_EQ(ui->kemu->text(), u"初级会计电算化");
    EXPECT_EQ(items(ui->RzComboBox2), (QStringList{u"实务一"_qs, u"实务二"_qs}));
    EXPECT_EQ(ui->RzComboBox2->currentIndex(), 0);
    // A candidate of this subject needs the account sets reset, so the box shows with it only.
    EXPECT_TRUE(ui->CheckBox2->isVisible());
    QTest::keyClick(ui->RzComboBox1, Qt::Key_Home);
    EXPECT_EQ(items(ui->RzComboBox2), (QStringList{u"基础一"_qs, u"基础二"_qs}));
    EXPECT_FALSE(ui->CheckBox2->isVisible());
}

TEST_F(MainWindowStartTest, AuthorModeAlwaysShowsTheAccountSetBox)
{
    writeFiles();
    mainWindow = std::make_unique<TForm_main>(ProgramMode::Author);
    mainWindow->show();
    EXPECT_TRUE(mainWindow->ui->CheckBox2->isVisible());
    EXPECT_TRUE(showsAccountSetBox(ProgramMode::Author, u"会计基础"_qs));
    EXPECT_TRUE(showsAccountSetBox(ProgramMode::Candidate, u"初级会计电算化"_qs));
    EXPECT_FALSE(showsAccountSetBox(ProgramMode::Candidate, u"财经法规与会计职业道德"_qs));
    EXPECT_FALSE(showsAccountSetBox(ProgramMode::Candidate, u" 初级会计电算化"_qs));
}

TEST_F(MainWindowStartTest, EmptyPaperListOfASubjectEmptiesTheChoice)
{
    writeQuestionBank(folder.path(), standardMemo());
    writePaperLists(folder.path(), QString(), QStringLiteral("法规一"));
    startProgram();
    Ui::TForm_main* ui = mainWindow->ui;
    ui->RzComboBox1->setCurrentIndex(1);
    mainWindow->RzComboBox1Change();
    EXPECT_EQ(items(ui->RzComboBox2), QStringList{u"法规一"_qs});
    ui->RzComboBox1->setCurrentIndex(0);
    mainWindow->RzComboBox1Change();
    EXPECT_EQ(ui->RzComboBox2->count(), 0);
}

class BrokenBankTest : public FormsTest
{
protected:
    // The window opened after a failed bank: nothing of either file read, design size.
    void expectDesignWindow()
    {
        Ui::TForm_main* ui = mainWindow->ui;
        EXPECT_FALSE(mainWindow->windowState() & Qt::WindowMaximized);
        EXPECT_EQ(mainWindow->size(), QSize(1003, 667));
        EXPECT_FALSE(ui->RzPanel8->isHidden());
        EXPECT_EQ(probe.calls, 0);
        EXPECT_EQ(mainWindow->windowTitle(), QStringLiteral("Velquarn V.2012.4 "));
        EXPECT_EQ(ui->Label9->text(), QStringLiteral("Velquarn"));
        EXPECT_EQ(items(ui->RzComboBox2), designPapers());
        EXPECT_EQ(ui->RzComboBox2->currentIndex(), 0);
        EXPECT_EQ(ui->RzComboBox2->maxVisibleItems(), 20);
        EXPECT_THROW(mainWindow->ADOTable1(), AppError);
        EXPECT_THROW(mainWindow->ADOTable2(), AppError);
    }

    void expectErrorBox(const QString& message)
    {
        ASSERT_FALSE(message.isEmpty());
        const auto shown = Dialogs::takeShown();
        ASSERT_EQ(shown.size(), 1);
        EXPECT_EQ(shown[0].kind, Dialogs::Kind::Error);
        EXPECT_EQ(shown[0].caption, QStringLiteral("会计从业资格考试"));
        EXPECT_EQ(shown[0].text, message);
    }
};

TEST_F(BrokenBankTest, MissingBank)
{
    writePaperLists(folder.path(), QStringLiteral("基础一"), QStringLiteral("法规一"));
    startProgram();
    expectErrorBox(openError(folder.file(QStringLiteral("kstk.dat")), Database::BankPassword));
    expectDesignWindow();
}

TEST_F(BrokenBankTest, WrongPassword)
{
    writeQuestionBank(folder.path(), standardMemo(), "1234567");
    writePaperLists(folder.path(), QStringLiteral("基础一"), QStringLiteral("法规一"));
    startProgram();
    expectErrorBox(openError(folder.file(QStringLiteral("kstk.dat")), Database::BankPassword));
    expectDesignWindow();
}

TEST_F(BrokenBankTest, NotADatabase)
{
    QFile junk(folder.file(QStringLiteral("kstk.dat")));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(4096, 'x'));
    junk.close();
    writePaperLists(folder.path(), QStringLiteral("基础一"), QStringLiteral("法规一"));
    startProgram();
    expectErrorBox(openError(folder.file(QStringLiteral("kstk.dat")), Database::BankPassword));
    expectDesignWindow();
}

// An empty kstk.dat is not a new bank: it stays empty, no log appears beside it, and the box
// names the file and what is wrong with it.
TEST_F(BrokenBankTest, EmptyBankFileIsNeverWritten)
{
    const QString path = folder.file(QStringLiteral("kstk.dat"));
    QFile empty(path);
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.close();
    writePaperLists(folder.path(), QStringLiteral("基础一"), QStringLiteral("法规一"));
    startProgram();
    expectErrorBox(QStringLiteral("数据库文件“%1”是空文件（0 字节），不是本程序的数据文件。").arg(path));
    expectDesignWindow();
    EXPECT_EQ(QFileInfo(path).size(), 0);
    EXPECT_FALSE(QFile::exists(path + QStringLiteral("-wal")));
    EXPECT_FALSE(QFile::exists(path + QStringLiteral("-shm")));
}

// A database with the bank's password but without its tables is not written to either.
TEST_F(BrokenBankTest, DatabaseWithoutTheBankTablesIsNeverWritten)
{
    const QString path = folder.file(QStringLiteral("kstk.dat"));
    {
        auto other = Database::open(path, Database::BankPassword, Database::OpenMode::CreateIfMissing);
        other->execute(QStringLiteral("create table notes (x text)"));
        other->execute(QStringLiteral("pragma journal_mode = delete"));
    }
    QFile::remove(path + QStringLiteral("-wal"));
    QFile::remove(path + QStringLiteral("-shm"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();
    writePaperLists(folder.path(), QStringLiteral("基础一"), QStringLiteral("法规一"));
    startProgram();
    expectErrorBox(
        QStringLiteral("数据库文件“%1”不是本程序的数据文件：缺少表 tb_memo、dds、duo、sf、jsfx、anli、ws。")
            .arg(path));
    expectDesignWindow();
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), before);
    EXPECT_FALSE(QFile::exists(path + QStringLiteral("-wal")));
}

TEST_F(BrokenBankTest, MissingPaperListsKeepTheDesignPapers)
{
    writeQuestionBank(folder.path(), standardMemo());
    startProgram();
    expectErrorBox(openError(folder.file(QStringLiteral("titao.dat")), {}));
    Ui::TForm_main* ui = mainWindow->ui;
    EXPECT_EQ(items(ui->RzComboBox2), designPapers());
    EXPECT_EQ(ui->RzComboBox2->currentIndex(), 0);
    EXPECT_EQ(ui->RzComboBox1->currentIndex(), 0);
    EXPECT_FALSE(mainWindow->windowState() & Qt::WindowMaximized);
    EXPECT_FALSE(ui->RzPanel8->isHidden());
    // The bank itself opened and stays usable.
    EXPECT_EQ(mainWindow->ADOTable1().text(QStringLiteral("edit1")),
              QStringLiteral("会计从业资格考试模拟系统"));
    EXPECT_THROW(mainWindow->ADOTable2(), AppError);
}

using MainWindowLayoutTest = FormsTest;

TEST_F(MainWindowLayoutTest, DesignLayoutAndResizing)
{
    writeFiles();
    startProgram();
    Ui::TForm_main* ui = mainWindow->ui;
    mainWindow->setWindowState(Qt::WindowNoState);
    mainWindow->resize(1003, 667);
    mainWindow->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(mainWindow.get()));

    EXPECT_EQ(ui->RzSplitter1->height(), 497);
    EXPECT_EQ(ui->RzSplitter1->handleWidth(), 7);
    EXPECT_EQ(ui->RzPanel2->width(), 212);
    EXPECT_EQ(ui->Image3->height(), 320);
    EXPECT_EQ(ui->Image3->pixmap().height(), 320);
    EXPECT_FALSE(ui->Image2->pixmap().isNull());
    EXPECT_FALSE(ui->RzBmpButton3->icon().isNull());
    EXPECT_FALSE(Form2->ui->RzBmpButton1->icon().isNull());

    mainWindow->resize(1263, 700);
    QCoreApplication::processEvents();
    EXPECT_EQ(ui->RzPanel2->width(), 212);
    EXPECT_EQ(ui->RzPanel7->x(), ui->Label9->x() + (ui->Label9->width() - ui->RzPanel7->width()) / 2);
    EXPECT_EQ(ui->Label9->width(), ui->RzPanel5->width() - 20 - ui->Label9->x());
    EXPECT_EQ(ui->RzProgressBar1->x(), (ui->Image3->width() - ui->RzProgressBar1->width()) / 2);
    EXPECT_EQ(ui->Label5->x(), ui->RzProgressBar1->x());
    // Both buttons of the strip stay inside it.
    EXPECT_LE(ui->RzBmpButton11->geometry().right(), ui->RzPanel7->width());
}

// Every control a user can reach has a name for screen readers, distinct within its window.
template <typename Window> void expectAccessibleNames(Window* window)
{
    QStringList names;
    const auto widgets = window->template findChildren<QWidget*>();
    for (QWidget* widget : widgets) {
        const bool interactive = qobject_cast<QAbstractButton*>(widget) || qobject_cast<QComboBox*>(widget) ||
                                 qobject_cast<QLineEdit*>(widget) || qobject_cast<QPlainTextEdit*>(widget) ||
                                 qobject_cast<QProgressBar*>(widget);
        if (!interactive || widget->window() != window || qobject_cast<QComboBox*>(widget->parentWidget()))
            continue;
        EXPECT_FALSE(widget->accessibleName().isEmpty()) << qPrintable(widget->objectName());
        EXPECT_FALSE(names.contains(widget->accessibleName())) << qPrintable(widget->accessibleName());
        names.append(widget->accessibleName());
    }
    EXPECT_GE(names.size(), 2);
}

TEST_F(MainWindowLayoutTest, EveryControlHasAnAccessibleName)
{
    writeFiles();
    startProgram();
    expectAccessibleNames(mainWindow.get());
    EXPECT_EQ(mainWindow->ui->RzBmpButton3->accessibleName(), QStringLiteral("开始答题"));
    expectAccessibleNames(Form1);
    expectAccessibleNames(Form2);
    expectAccessibleNames(Form3);
}

using ApplicationTest = FormsTest;

TEST_F(ApplicationTest, HandlerErrorsBecomeTheErrorBox)
{
    reportHandlerError(AppError(QStringLiteral("数据集未打开：tb_memo。")));
    reportHandlerError(std::runtime_error("disk full"));
    const auto shown = Dialogs::takeShown();
    ASSERT_EQ(shown.size(), 2);
    EXPECT_EQ(shown[0].kind, Dialogs::Kind::Error);
    EXPECT_EQ(shown[0].caption, QStringLiteral("会计从业资格考试"));
    EXPECT_EQ(shown[0].text, QStringLiteral("数据集未打开：tb_memo。"));
    EXPECT_EQ(shown[1].text, QStringLiteral("disk full"));
}

} // namespace
} // namespace tarnex::test
