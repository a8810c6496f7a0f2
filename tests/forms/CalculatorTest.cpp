#include "Unit7.h"
#include "ui_Unit7.h"

#include "data/BankSchema.h"
#include "data/DataSet.h"
#include "data/Database.h"
#include "exam/JournalEntry.h"
#include "exam/SubjectFile.h"
#include "platform/Dialogs.h"
#include "support/TestFolder.h"

#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTabBar>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

namespace tarnex {
namespace {

using Shown = Dialogs::Shown;

// The delivered chart of accounts in the source tree; found next to this file when the test runs
// without TARNEX_SOURCE_DIR.
QString deliveredChart()
{
    QString root = test::TestFolder::sourceDir();
    if (root.isEmpty())
        root = QFileInfo(QStringLiteral(__FILE__)).absolutePath() + QStringLiteral("/../..");
    return QDir(root).filePath(QStringLiteral("data/kjkm.dat"));
}

// A program folder with an empty question bank and, unless a test says otherwise, the delivered
// chart of accounts; the calculator opens for sub-question 2 over a memo of its own.
class CalculatorTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QLocale::setDefault(QLocale::c());
        Dialogs::setTestMode(true);
        Dialogs::takeShown();
        bank = Database::open(folder.file(QStringLiteral("kstk.dat")), Database::BankPassword,
                              Database::OpenMode::CreateIfMissing);
        BankSchema::createQuestionBank(*bank);
        installSubjectFile(deliveredChart());
    }

    void TearDown() override
    {
        calculator.reset();
        Dialogs::takeShown();
        QLocale::setDefault(QLocale::system());
    }

    void installSubjectFile(const QString& source)
    {
        QFile::remove(folder.file(QStringLiteral("kjkm.dat")));
        ASSERT_TRUE(QFile::copy(source, folder.file(QStringLiteral("kjkm.dat")))) << source.toStdString();
    }

    void writeSubjectFile(const QByteArray& bytes)
    {
        QFile file(folder.file(QStringLiteral("kjkm.dat")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    // Creates the calculator and shows it the way the modal showing does (without its loop).
    void open(int number = 2)
    {
        calculator = std::make_unique<TForm7>(*bank, &memo, number);
        calculator->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(calculator.get()));
    }

    Ui::TForm7& ui() { return *calculator->ui; }

    void enter(const QString& direction, const QString& subject, const QString& amount)
    {
        ui().RzComboBox2->setCurrentIndex(ui().RzComboBox2->findText(direction));
        ui().Edit2->setText(subject);
        ui().Edit3->setText(amount);
    }

    void add(const QString& direction, const QString& subject, const QString& amount)
    {
        enter(direction, subject, amount);
        QTest::mouseClick(ui().BitBtn2, Qt::LeftButton);
    }

    // A mouse press on a line of the grid.
    void pressLine(int row)
    {
        QTableWidget* grid = ui().DBGridEh1;
        const QRect rect = grid->visualRect(grid->model()->index(row, 0));
        ASSERT_TRUE(rect.isValid());
        QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, rect.center());
        QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, rect.center());
    }

    QStringList gridLines()
    {
        QStringList lines;
        for (int row = 0; row < ui().DBGridEh1->rowCount(); ++row)
            lines.append(ui().DBGridEh1->item(row, 0)->text());
        return lines;
    }

    // The rows of dtxx as they are in the file, read through a connection of their own.
    QList<QStringList> storedLines()
    {
        auto reader = Database::open(folder.file(QStringLiteral("kstk.dat")), Database::BankPassword);
        DataSet rows(*reader);
        rows.open(QStringLiteral("select * from dtxx"));
        QList<QStringList> result;
        for (rows.first(); !rows.eof(); rows.next()) {
            result.append({rows.text(QStringLiteral("combobox")), rows.text(QStringLiteral("edit2")),
                           rows.text(QStringLiteral("edit3")), rows.text(QStringLiteral("ntemp"))});
        }
        return result;
    }

    QTreeWidgetItem* findNode(const QString& text)
    {
        const QList<QTreeWidgetItem*> found =
            ui().RzTreeView1->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
        return found.isEmpty() ? nullptr : found.first();
    }

    void doubleClickNode(QTreeWidgetItem* item)
    {
        QTreeWidget* tree = ui().RzTreeView1;
        tree->scrollToItem(item);
        const QRect rect = tree->visualItemRect(item);
        ASSERT_TRUE(rect.isValid());
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, rect.center());
        QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, rect.center());
    }

    bool lineButtonsEnabled()
    {
        return ui().BitBtn2->isEnabled() && ui().BitBtn3->isEnabled() && ui().BitBtn4->isEnabled() &&
               ui().BitBtn5->isEnabled();
    }
    bool lineButtonsDisabled()
    {
        return !ui().BitBtn2->isEnabled() && !ui().BitBtn3->isEnabled() && !ui().BitBtn4->isEnabled() &&
               !ui().BitBtn5->isEnabled();
    }

    test::TestFolder folder;
    std::unique_ptr<Database> bank;
    QPlainTextEdit memo;
    std::unique_ptr<TForm7> calculator;
};

TEST_F(CalculatorTest, LayoutAndStartState)
{
    open(4);
    EXPECT_EQ(calculator->windowTitle(), QStringLiteral("会计分录计算"));
    EXPECT_EQ(calculator->size(), QSize(593, 329));
    EXPECT_EQ(calculator->minimumSize(), calculator->maximumSize());
    EXPECT_EQ(ui().Label1->text(), QStringLiteral("4"));
    EXPECT_FALSE(ui().Label1->isVisible());
    EXPECT_FALSE(ui().RzComboBox2->isEditable());
    ASSERT_EQ(ui().RzComboBox2->count(), 2);
    EXPECT_EQ(ui().RzComboBox2->itemText(0), QStringLiteral("借"));
    EXPECT_EQ(ui().RzComboBox2->itemText(1), QStringLiteral("贷"));
    EXPECT_EQ(ui().RzComboBox2->currentText(), QStringLiteral("借"));
    EXPECT_EQ(ui().BitBtn1->text(), QStringLiteral("点击增加会计科目"));
    EXPECT_EQ(ui().Label16->text(), QStringLiteral("金额"));
    EXPECT_TRUE(ui().Edit3->alignment() & Qt::AlignRight);
    EXPECT_EQ(ui().BitBtn2->text(), QStringLiteral("增加"));
    EXPECT_EQ(ui().BitBtn3->text(), QStringLiteral("修改"));
    EXPECT_EQ(ui().BitBtn4->text(), QStringLiteral("删除"));
    EXPECT_EQ(ui().BitBtn5->text(), QStringLiteral("保存关闭"));
    EXPECT_EQ(ui().RzGroupBox1->title(), QStringLiteral("答题信息："));
    EXPECT_FALSE(ui().RzPageControl1->tabBar()->isVisible());
    EXPECT_EQ(ui().RzPageControl1->currentWidget(), ui().TabSheet2);
    EXPECT_TRUE(lineButtonsEnabled());
    EXPECT_EQ(calculator->focusWidget(), ui().Edit2);
    EXPECT_EQ(ui().DBGridEh1->columnCount(), 1);
    EXPECT_FALSE(ui().DBGridEh1->horizontalHeader()->isVisible());
    EXPECT_FALSE(ui().DBGridEh1->verticalHeader()->isVisible());
    EXPECT_EQ(ui().DBGridEh1->editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_EQ(ui().RzTreeView1->editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_TRUE(Dialogs::takeShown().isEmpty());
}

TEST_F(CalculatorTest, EveryControlHasAnAccessibleName)
{
    open();
    const QList<QWidget*> controls{ui().RzPanel30,      ui().RzComboBox2, ui().BitBtn1,     ui().Edit2,
                                   ui().Label16,        ui().Edit3,       ui().RzPanel1,    ui().BitBtn2,
                                   ui().BitBtn3,        ui().BitBtn4,     ui().BitBtn5,     ui().Label1,
                                   ui().RzPageControl1, ui().TabSheet1,   ui().RzTreeView1, ui().TabSheet2,
                                   ui().RzGroupBox1,    ui().DBGridEh1};
    for (const QWidget* control : controls)
        EXPECT_FALSE(control->accessibleName().isEmpty()) << control->objectName().toStdString();
}

TEST_F(CalculatorTest, TwoLineExampleGivesTheExactMemoAndStoredText)
{
    memo.setPlainText(QStringLiteral("an earlier answer"));
    open(2);
    add(QStringLiteral("借"), QStringLiteral("库存现金"), QStringLiteral("1000"));
    add(QStringLiteral("贷"), QStringLiteral("银行存款"), QStringLiteral("1000"));
    EXPECT_EQ(gridLines(),
              QStringList({QStringLiteral("借，库存现金,1000"), QStringLiteral("贷，银行存款,1000")}));
    EXPECT_EQ(ui().DBGridEh1->currentRow(), 1); // the new line is the current one
    // The fields keep their contents after an add.
    EXPECT_EQ(ui().Edit2->text(), QStringLiteral("银行存款"));
    EXPECT_EQ(ui().Edit3->text(), QStringLiteral("1000"));
    EXPECT_EQ(storedLines(),
              (QList<QStringList>{{QStringLiteral("借"), QStringLiteral("库存现金"), QStringLiteral("1000"),
                                   QStringLiteral("借，库存现金,1000")},
                                  {QStringLiteral("贷"), QStringLiteral("银行存款"), QStringLiteral("1000"),
                                   QStringLiteral("贷，银行存款,1000")}}));

    QTest::mouseClick(ui().BitBtn5, Qt::LeftButton);
    EXPECT_FALSE(calculator->isVisible());
    EXPECT_EQ(calculator->result(), QDialog::Accepted);
    EXPECT_EQ(memo.toPlainText(), QStringLiteral("借\uFF0C库存现金,1000  贷\uFF0C银行存款,1000  "));
    EXPECT_EQ(storedWrittenAnswer(memo.toPlainText()),
              QStringLiteral("借，库存现金,1000  贷，银行存款,1000"));
    EXPECT_TRUE(Dialogs::takeShown().isEmpty());
}

TEST_F(CalculatorTest, FieldsAreTrimmedBeforeTheyAreStored)
{
    open();
    add(QStringLiteral("借"), QStringLiteral("  库存现金 "), QStringLiteral(" 12.5\t"));
    EXPECT_EQ(storedLines(),
              (QList<QStringList>{{QStringLiteral("借"), QStringLiteral("库存现金"), QStringLiteral("12.5"),
                                   QStringLiteral("借，库存现金,12.5")}}));
}

TEST_F(CalculatorTest, AmountsAreCheckedWithTheMessagesOfTheRefusal)
{
    open();
    add(QStringLiteral("借"), QStringLiteral("库存现金"), QStringLiteral("1,000"));
    QList<Shown> shown = Dialogs::takeShown();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown.first().kind, Dialogs::Kind::Information);
    EXPECT_EQ(shown.first().caption, QStringLiteral("提示"));
    EXPECT_EQ(shown.first().text, QStringLiteral("金额输入格式错误,请输入！"));
    EXPECT_EQ(calculator->focusWidget(), ui().Edit3);

    ui().Edit2->setFocus();
    add(QStringLiteral("借"), QStringLiteral("库存现金"), QStringLiteral("   "));
    shown = Dialogs::takeShown();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown.first().text, QStringLiteral("金额不能为空,请输入！"));
    EXPECT_EQ(calculator->focusWidget(), ui().Edit3);

    for (const QString& refused : {QStringLiteral("¥100"), QStringLiteral("abc"), QStringLiteral("1.2.3")}) {
        add(QStringLiteral("借"), QStringLiteral("库存现金"), refused);
        shown = Dialogs::takeShown();
        ASSERT_EQ(shown.size(), 1) << refused.toStdString();
        EXPECT_EQ(shown.first().text, QStringLiteral("金额输入格式错误,请输入！"));
    }
    EXPECT_TRUE(storedLines().isEmpty());
    EXPECT_TRUE(gridLines().isEmpty());

    for (const QString& accepted : {QStringLiteral("1000.00"), QStringLiteral("-5"), QStringLiteral("1e3")})
        add(QStringLiteral("贷"), QStringLiteral("银行存款"), accepted);
    EXPECT_TRUE(Dialogs::takeShown().isEmpty());
    EXPECT_EQ(gridLines(),
              QStringList({QStringLiteral("贷，银行存款,1000.00"), QStringLiteral("贷，银行存款,-5"),
                           QStringLiteral("贷，银行存款,1e3")}));
    const QList<QStringList> stored = storedLines();
    ASSERT_EQ(stored.size(), 3);
    EXPECT_EQ(stored.at(0).at(2), QStringLiteral("1000.00"));
    EXPECT_EQ(stored.at(1).at(2), QStringLiteral("-5"));
    EXPECT_EQ(stored.at(2).at(2), QStringLiteral("1e3"));
}

TEST_F(CalculatorTest, AmountUsesTheDecimalSeparatorOfTheLocale)
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    open();
    add(QStringLiteral("借"), QStringLiteral("库存现金"), QStringLiteral("1000.50"));
    const QList<Shown> shown = Dialogs::takeShown();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown.first().text, QStringLiteral("金额输入格式错误,请输入！"));
    add(QStringLiteral("借"), QStringLiteral("库存现金"), QStringLiteral("1000,50"));
    EXPECT_TRUE(Dialogs::takeShown().isEmpty());
    EXPECT_EQ(gridLines(), QStringList(QStringLiteral("借，库存现金,1000,50")));
}

TEST_F(CalculatorTest, AddWithoutSubjectDoesNothingSilently)
{
    open();
    add(QStringLiteral("借"), QStringLiteral("  "), QStringLiteral("1000"));
    add(QStringLiteral("借"), QString(), QStringLiteral("x"));
    EXPECT_TRUE(Dialogs::takeShown().isEmpty());
    EXPECT_TRUE(gridLines().isEmpty());
    EXPECT_TRUE(storedLines().isEmpty());
}

TEST_F(CalculatorTest, PressingALineCopiesItIntoTheFields)
{
    open();
    add(QStringLiteral("借"), QStringLiteral("库存现金"), QStringLiteral("1000"));
    add(QStringLiteral("贷"), QStringLiteral("银行存款"), QStringLiteral("900"));
    pressLine(0);
    EXPECT_EQ(ui().Edit2->text(), QStringLiteral("库存现金"));
    EXPECT_EQ(ui().Edit3->text(), QStringLiteral("1000"));
    EXPECT_EQ(ui().RzComboBox2->currentText(), QStringLiteral("借"));
    EXPECT_EQ(calculator->ADOQuery_dds().position(), 0);
    pressLine(1);
    EXPECT_EQ(ui().Edit2->text(), QStringLiteral("银行存款"));
    EXPECT_EQ(ui().Edit3->text(), QStringLiteral("900"));
    EXPECT_EQ(ui().RzComboBox2->currentText(), QStringLiteral("贷"));
}

// The arrow keys, and a row selected by an assistive technology, move the current line with the
// highlight: "删除" and "修改" act on the line the candidate sees highlighted.
TEST_F(CalculatorTest, TheHighlightedLineIsTheCurrentLineWhateverMovedIt)
{
    open();
    add(QStringLiteral("借"), QStringLiteral("库存现金"), QStringLiteral("1000"));
    add(QStringLiteral("贷"), QStringLiteral("银行存款"), QStringLiteral("900"));
    add(QStringLiteral("贷"), QStringLiteral("应收账款"), QStringLiteral("100"));
    QTableWidget* grid = ui().DBGridEh1;
    pressLine(0);
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Down);
    EXPECT_EQ(grid->currentRow(), 1);
    EXPECT_EQ(calculator->ADOQuery_dds().position(), 1);
    EXPECT_EQ(ui().Edit2->text(), QStringLiteral("银行存款"));
    EXPECT_EQ(ui().Edit3->text(), QStringLiteral("900"));
    QTest::mouseClick(ui().BitBtn4, Qt::LeftButton);
    EXPECT_EQ(gridLines(),
              QStringList({QStringLiteral("借，库存现金,1000"), QStringLiteral("贷，应收账款,100")}));
    EXPECT_EQ(storedLines().size(), 2);
    EXPECT_EQ(storedLines().last().at(1), QStringLiteral("应收账款"));

    QTest::keyClick(grid, Qt::Key_Up);
    EXPECT_EQ(calculator->ADOQuery_dds().position(), 0);
    enter(QStringLiteral("借"), QStringLiteral("原材料"), QStringLiteral("1000"));
    QTest::mouseClick(ui().BitBtn3, Qt::LeftButton);
    EXPECT_EQ(gridLines(),
              QStringList({QStringLiteral("借，原材料,1000"), QStringLiteral("贷，应收账款,100")}));

    // An accessibility selection of the second row.
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(grid);
    ASSERT_NE(table, nullptr);
    ASSERT_NE(table->tableInterface(), nullptr);
    table->tableInterface()->selectRow(1);
    EXPECT_EQ(grid->currentRow(), 1);
    EXPECT_EQ(calculator->ADOQuery_dds().position(), 1);
    EXPECT_EQ(ui().Edit2->text(), QStringLiteral("应收账款"));
    QTest::mouseClick(ui().BitBtn4, Qt::LeftButton);
    EXPECT_EQ(gridLines(), QStringList({QStringLiteral("借，原材料,1000")}));
    EXPECT_EQ(storedLines().size(), 1);
}

TEST_F(CalculatorTest, ModifyRewritesTheCurrentLineAndAcceptsAnyAmount)
{
    open();
    add(QStringLiteral("借"), QStringLiteral("库存现金"), QStringLiteral("1000"));
    add(QStringLiteral("贷"), QStringLiteral("银行存款"), QStringLiteral("1000"));
    pressLine(0);
    enter(QStringLiteral("贷"), QStringLiteral("应收账款"), QStringLiteral("abc"));
    QTest::mouseClick(ui().BitBtn3, Qt::LeftButton);
    EXPECT_TRUE(Dialogs::takeShown().isEmpty());
    EXPECT_EQ(gridLines(),
              QStringList({QStringLiteral("贷，应收账款,abc"), QStringLiteral("贷，银行存款,1000")}));
    EXPECT_EQ(storedLines().first(),
              (QStringList{QStringLiteral("贷"), QStringLiteral("应收账款"), QStringLiteral("abc"),
                           QStringLiteral("贷，应收账款,abc")}));

    // An empty field: modify does nothing and says nothing.
    enter(QStringLiteral("借"), QStringLiteral("库存现金"), QStringLiteral(" "));
    QTest::mouseClick(ui().BitBtn3, Qt::LeftButton);
    EXPECT_TRUE(Dialogs::takeShown().isEmpty());
    EXPECT_EQ(gridLines().first(), QStringLiteral("贷，应收账款,abc"));
}

TEST_F(CalculatorTest, ModifyOnAnEmptyListDoesNothing)
{
    open();
    enter(QStringLiteral("借"), QStringLiteral("库存现金"), QStringLiteral("1"));
    QTest::mouseClick(ui().BitBtn3, Qt::LeftButton);
    EXPECT_TRUE(storedLines().isEmpty());
    EXPECT_TRUE(Dialogs::takeShown().isEmpty());
}

TEST_F(CalculatorTest, DeleteNeedsFilledFieldsAndEmptiesThemAfterwards)
{
    open();
    add(QStringLiteral("借"), QStringLiteral("库存现金"), QStringLiteral("1000"));
    add(QStringLiteral("贷"), QStringLiteral("银行存款"), QStringLiteral("1000"));
    add(QStringLiteral("贷"), QStringLiteral("应收账款"), QStringLiteral("5"));

    pressLine(1);
    QTest::mouseClick(ui().BitBtn4, Qt::LeftButton);
    EXPECT_EQ(gridLines(),
              QStringList({QStringLiteral("借，库存现金,1000"), QStringLiteral("贷，应收账款,5")}));
    EXPECT_EQ(storedLines().size(), 2);
    EXPECT_TRUE(ui().Edit2->text().isEmpty());
    EXPECT_TRUE(ui().Edit3->text().isEmpty());
    EXPECT_EQ(ui().RzComboBox2->currentText(), QStringLiteral("贷")); // the direction keeps its choice

    // A second press without clicking a line first does nothing.
    QTest::mouseClick(ui().BitBtn4, Qt::LeftButton);
    EXPECT_EQ(storedLines().size(), 2);

    // Only the amount missing: nothing either.
    pressLine(0);
    ui().Edit3->clear();
    QTest::mouseClick(ui().BitBtn4, Qt::LeftButton);
    EXPECT_EQ(storedLines().size(), 2);
    EXPECT_TRUE(Dialogs::takeShown().isEmpty());
}

TEST_F(CalculatorTest, SaveOnAnEmptyListKeepsTheWindowOpen)
{
    memo.setPlainText(QStringLiteral("kept"));
    open();
    QTest::mouseClick(ui().BitBtn5, Qt::LeftButton);
    EXPECT_TRUE(calculator->isVisible());
    EXPECT_EQ(memo.toPlainText(), QStringLiteral("kept"));
    EXPECT_TRUE(Dialogs::takeShown().isEmpty());
}

TEST_F(CalculatorTest, CloseBoxDiscardsTheLinesAndTheNextShowingStartsEmpty)
{
    memo.setPlainText(QStringLiteral("借，库存现金,1  "));
    open();
    add(QStringLiteral("借"), QStringLiteral("原材料"), QStringLiteral("300"));
    calculator->close();
    EXPECT_FALSE(calculator->isVisible());
    EXPECT_EQ(calculator->result(), QDialog::Rejected);
    EXPECT_EQ(memo.toPlainText(), QStringLiteral("借，库存现金,1  "));

    open();
    EXPECT_TRUE(gridLines().isEmpty());
    EXPECT_TRUE(storedLines().isEmpty());
}

TEST_F(CalculatorTest, EveryShowingEmptiesTheScratchTable)
{
    bank->execute(QStringLiteral(
        "insert into dtxx (combobox, edit2, edit3, ntemp) values ('借', 'x', '1', '借，x,1')"));
    open();
    EXPECT_TRUE(gridLines().isEmpty());
    EXPECT_TRUE(storedLines().isEmpty());
    add(QStringLiteral("借"), QStringLiteral("库存现金"), QStringLiteral("1"));
    calculator->hide();
    calculator->show();
    EXPECT_TRUE(gridLines().isEmpty());
    EXPECT_TRUE(storedLines().isEmpty());
}

TEST_F(CalculatorTest, TreePageDisablesTheButtonsUntilASubjectIsPicked)
{
    open();
    ui().Edit2->setText(QStringLiteral("typed"));
    QTest::mouseClick(ui().BitBtn1, Qt::LeftButton);
    EXPECT_EQ(ui().RzPageControl1->currentWidget(), ui().TabSheet1);
    EXPECT_TRUE(lineButtonsDisabled());

    // A double-click on a category only opens or closes it.
    QTreeWidgetItem* category = findNode(QStringLiteral("负债类"));
    ASSERT_NE(category, nullptr);
    const bool expanded = category->isExpanded();
    doubleClickNode(category);
    EXPECT_NE(category->isExpanded(), expanded);
    EXPECT_EQ(ui().Edit2->text(), QStringLiteral("typed"));
    EXPECT_TRUE(lineButtonsDisabled());
    EXPECT_EQ(ui().RzPageControl1->currentWidget(), ui().TabSheet1);

    QTreeWidgetItem* subject = findNode(QStringLiteral("坏账准备"));
    ASSERT_NE(subject, nullptr);
    doubleClickNode(subject);
    EXPECT_EQ(ui().Edit2->text(), QStringLiteral("坏账准备"));
    EXPECT_TRUE(lineButtonsEnabled());
    EXPECT_EQ(ui().RzPageControl1->currentWidget(), ui().TabSheet2);
}

TEST_F(CalculatorTest, PickedSubjectLosesItsBlanks)
{
    writeSubjectFile("\xEF\xBB\xBF资产类\r\n\t坏账准备  \r\n");
    open();
    QTest::mouseClick(ui().BitBtn1, Qt::LeftButton);
    QTreeWidgetItem* subject = findNode(QStringLiteral("坏账准备  "));
    ASSERT_NE(subject, nullptr);
    doubleClickNode(subject);
    EXPECT_EQ(ui().Edit2->text(), QStringLiteral("坏账准备"));
}

TEST_F(CalculatorTest, TreeHoldsTheDeliveredChartWithTheFirstCategoryOpen)
{
    open();
    QTreeWidget* tree = ui().RzTreeView1;
    ASSERT_EQ(tree->topLevelItemCount(), 6);
    EXPECT_EQ(tree->topLevelItem(0)->text(0), QStringLiteral("资产类"));
    EXPECT_EQ(tree->topLevelItem(5)->text(0), QStringLiteral("损益类"));
    EXPECT_TRUE(tree->topLevelItem(0)->isExpanded());
    EXPECT_FALSE(tree->topLevelItem(1)->isExpanded());
    int subjects = 0;
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        subjects += tree->topLevelItem(i)->childCount();
    EXPECT_EQ(subjects, 156);
    EXPECT_TRUE(Dialogs::takeShown().isEmpty());
}

TEST_F(CalculatorTest, MissingSubjectFileShowsTheErrorAndTheBuiltInList)
{
    QFile::remove(folder.file(QStringLiteral("kjkm.dat")));
    open();
    const QList<Shown> shown = Dialogs::takeShown();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown.first().kind, Dialogs::Kind::Error);
    EXPECT_EQ(shown.first().text,
              QStringLiteral("无法打开科目文件“%1”。")
                  .arg(QDir::toNativeSeparators(folder.file(QStringLiteral("kjkm.dat")))));
    QTreeWidget* tree = ui().RzTreeView1;
    ASSERT_EQ(tree->topLevelItemCount(), 1);
    EXPECT_EQ(tree->topLevelItem(0)->text(0), QStringLiteral("资产类"));
    EXPECT_EQ(tree->topLevelItem(0)->childCount(), 11);
    EXPECT_EQ(tree->topLevelItem(0)->child(10)->text(0), QStringLiteral("坏账准备"));
    EXPECT_TRUE(calculator->isVisible()); // the window opens all the same
}

TEST_F(CalculatorTest, TooDeepLineShowsTheErrorAndKeepsTheNodesBefore)
{
    writeSubjectFile("\xEF\xBB\xBF资产类\r\n\t\t库存现金\r\n\t银行存款\r\n");
    open();
    const QList<Shown> shown = Dialogs::takeShown();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown.first().kind, Dialogs::Kind::Error);
    EXPECT_EQ(shown.first().text,
              QStringLiteral("科目文件第 2 行的层级 2 无效：“库存现金”比上一行深了不止一级。"));
    QTreeWidget* tree = ui().RzTreeView1;
    ASSERT_EQ(tree->topLevelItemCount(), 1);
    EXPECT_EQ(tree->topLevelItem(0)->text(0), QStringLiteral("资产类"));
    EXPECT_EQ(tree->topLevelItem(0)->childCount(), 0);
}

TEST_F(CalculatorTest, DeeperLevelsAreShownButOnlyLevelOneIsPicked)
{
    writeSubjectFile("A\n\tB\n\t\tC\n");
    open();
    QTest::mouseClick(ui().BitBtn1, Qt::LeftButton);
    QTreeWidgetItem* deep = findNode(QStringLiteral("C"));
    ASSERT_NE(deep, nullptr);
    ui().RzTreeView1->expandAll();
    doubleClickNode(deep);
    EXPECT_TRUE(ui().Edit2->text().isEmpty());
    EXPECT_TRUE(lineButtonsDisabled());
}

TEST_F(CalculatorTest, ModalRunFillsTheMemoAndEndsWithTheWindow)
{
    QPointer<TForm7> seen;
    // Should the window not close itself, a test failure is better than a hang.
    QTimer::singleShot(5000, [] {
        if (QWidget* modal = QApplication::activeModalWidget())
            modal->close();
    });
    QTimer::singleShot(0, [&] {
        auto* modal = qobject_cast<TForm7*>(QApplication::activeModalWidget());
        ASSERT_NE(modal, nullptr);
        seen = modal;
        EXPECT_EQ(modal->ui->Label1->text(), QStringLiteral("5"));
        modal->ui->Edit2->setText(QStringLiteral("库存现金"));
        modal->ui->Edit3->setText(QStringLiteral("10"));
        modal->ui->BitBtn2->click();
        modal->ui->BitBtn5->click();
    });
    const QString recorded = TForm7::runModal(*bank, &memo, 5, nullptr);
    EXPECT_TRUE(seen.isNull()); // destroyed once closed
    EXPECT_EQ(memo.toPlainText(), QStringLiteral("借，库存现金,10  "));
    EXPECT_EQ(recorded, QStringLiteral("借，库存现金,10"));
}

TEST_F(CalculatorTest, ModalRunClosedUnsavedReturnsTheMemoAsItWas)
{
    QTimer::singleShot(5000, [] {
        if (QWidget* modal = QApplication::activeModalWidget())
            modal->close();
    });
    memo.setPlainText(QStringLiteral("\r\n typed by hand \r\n"));
    QTimer::singleShot(0, [] {
        auto* modal = qobject_cast<TForm7*>(QApplication::activeModalWidget());
        ASSERT_NE(modal, nullptr);
        modal->ui->Edit2->setText(QStringLiteral("库存现金"));
        modal->ui->Edit3->setText(QStringLiteral("10"));
        modal->ui->BitBtn2->click();
        modal->close();
    });
    EXPECT_EQ(TForm7::runModal(*bank, &memo, 1, nullptr), QStringLiteral("typed by hand"));

    memo.clear();
    QTimer::singleShot(0, [] {
        if (QWidget* modal = QApplication::activeModalWidget())
            modal->close();
    });
    EXPECT_EQ(TForm7::runModal(*bank, &memo, 1, nullptr), QString());
}

} // namespace
} // namespace tarnex
