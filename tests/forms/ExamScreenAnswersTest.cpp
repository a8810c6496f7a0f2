// Answer capture on the exam screen.
#include "ExamScreenFixture.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QRegularExpression>

using namespace tarnex;
using namespace tarnex::test;

TEST_F(ExamScreenTest, SingleChoiceAndTrueFalseRecordOnSelection)
{
    writeBank();
    addTypicalPaper();
    openExam();
    click(exam->ui->d_d);
    EXPECT_EQ(stored(u"dds"_qs, u"1"_qs, u"xuan"_qs), u"d");
    EXPECT_EQ(TForm6::nodeImage(node(u"1"_qs)), TForm6::ImageAnswered);
    click(exam->ui->d_b);
    EXPECT_EQ(stored(u"dds"_qs, u"1"_qs, u"xuan"_qs), u"b");
    EXPECT_EQ(stored(u"dds"_qs, u"2"_qs, u"xuan"_qs), u"") << "only the shown question's row";
    EXPECT_EQ(TForm6::nodeImage(node(u"2"_qs)), TForm6::ImageUnanswered);

    clickNumber(u"12"_qs);
    click(exam->ui->shi_false);
    EXPECT_EQ(stored(u"sf"_qs, u"12"_qs, u"xuan"_qs), u"b");
    click(exam->ui->shi_true);
    EXPECT_EQ(stored(u"sf"_qs, u"12"_qs, u"xuan"_qs), u"a");
    EXPECT_EQ(TForm6::nodeImage(node(u"12"_qs)), TForm6::ImageAnswered);

    // Back on question 1 its answer is shown and stays what it was.
    clickNumber(u"1"_qs);
    EXPECT_TRUE(exam->ui->d_b->isChecked());
    EXPECT_EQ(stored(u"dds"_qs, u"1"_qs, u"xuan"_qs), u"b");
}

TEST_F(ExamScreenTest, MultipleChoiceLettersAreStoredInOrderWhateverTheClickOrder)
{
    writeBank();
    addTypicalPaper();
    openExam();
    clickNumber(u"10"_qs);
    click(exam->ui->du_d);
    EXPECT_EQ(stored(u"duo"_qs, u"10"_qs, u"xuan"_qs), u"d");
    click(exam->ui->du_b);
    EXPECT_EQ(stored(u"duo"_qs, u"10"_qs, u"xuan"_qs), u"bd");
    click(exam->ui->du_c);
    click(exam->ui->du_a);
    EXPECT_EQ(stored(u"duo"_qs, u"10"_qs, u"xuan"_qs), u"abcd");
    for (QCheckBox* box : {exam->ui->du_a, exam->ui->du_b, exam->ui->du_c, exam->ui->du_d})
        click(box);
    EXPECT_EQ(stored(u"duo"_qs, u"10"_qs, u"xuan"_qs), u"");
    EXPECT_EQ(stored(u"duo"_qs, u"10"_qs, u"typeof(xuan)"_qs), u"text");
    EXPECT_EQ(TForm6::nodeImage(node(u"10"_qs)), TForm6::ImageAnswered) << "an emptied group still counts";

    clickNumber(u"11"_qs);
    click(exam->ui->du_b);
    click(exam->ui->du_d);
    click(exam->ui->du_b);
    click(exam->ui->du_b);
    EXPECT_EQ(stored(u"duo"_qs, u"11"_qs, u"xuan"_qs), u"bd");
    EXPECT_EQ(stored(u"duo"_qs, u"10"_qs, u"xuan"_qs), u"");
}

TEST_F(ExamScreenTest, RightClickAndReleaseAwayStoreTheUnchangedGroup)
{
    writeBank();
    addTypicalPaper();
    openExam();
    clickNumber(u"10"_qs);
    click(exam->ui->du_c);
    execute(u"update duo set xuan='tampered' where tihao='10'"_qs);

    QTest::mouseClick(exam->ui->du_a, Qt::RightButton, {}, QPoint(6, exam->ui->du_a->height() / 2));
    EXPECT_FALSE(exam->ui->du_a->isChecked());
    EXPECT_EQ(stored(u"duo"_qs, u"10"_qs, u"xuan"_qs), u"c");

    execute(u"update duo set xuan='tampered' where tihao='10'"_qs);
    OptionBox* box = exam->ui->du_b;
    QTest::mousePress(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
    QTest::mouseRelease(box, Qt::LeftButton, {}, QPoint(box->width() + 40, box->height() * 3));
    EXPECT_FALSE(box->isChecked());
    EXPECT_EQ(stored(u"duo"_qs, u"10"_qs, u"xuan"_qs), u"c");
}

TEST_F(ExamScreenTest, SubQuestionBoxesWriteOnlyTheirOwnColumnOfTheirOwnTable)
{
    writeBank();
    addTypicalPaper();
    openExam();
    clickNumber(u"13"_qs);
    click(exam->ui->ck_3_c);
    EXPECT_EQ(stored(u"jsfx"_qs, u"13"_qs, u"myc3"_qs), u"c");
    for (int i : {1, 2, 4, 5})
        EXPECT_EQ(stored(u"jsfx"_qs, u"13"_qs, QStringLiteral("myc%1").arg(i)), u"");
    EXPECT_EQ(stored(u"anli"_qs, u"15"_qs, u"myc3"_qs), u"");
    click(exam->ui->ck_3_a);
    click(exam->ui->ck_5_d);
    EXPECT_EQ(stored(u"jsfx"_qs, u"13"_qs, u"myc3"_qs), u"ac");
    EXPECT_EQ(stored(u"jsfx"_qs, u"13"_qs, u"myc5"_qs), u"d");
    EXPECT_EQ(TForm6::nodeImage(node(u"13"_qs)), TForm6::ImageAnswered);

    clickNumber(u"15"_qs);
    EXPECT_FALSE(exam->ui->ck_anli_3_c->isChecked());
    click(exam->ui->ck_anli_3_c);
    EXPECT_EQ(stored(u"anli"_qs, u"15"_qs, u"myc3"_qs), u"c");
    EXPECT_EQ(stored(u"jsfx"_qs, u"13"_qs, u"myc3"_qs), u"ac");
    click(exam->ui->ck_anli_1_b);
    EXPECT_EQ(stored(u"anli"_qs, u"15"_qs, u"myc1"_qs), u"b");

    // The boxes come back as stored when the question is shown again.
    clickNumber(u"13"_qs);
    EXPECT_TRUE(exam->ui->ck_3_a->isChecked());
    EXPECT_TRUE(exam->ui->ck_3_c->isChecked());
    EXPECT_TRUE(exam->ui->ck_5_d->isChecked());
    EXPECT_FALSE(exam->ui->ck_1_b->isChecked());
}

TEST_F(ExamScreenTest, WithARootSelectedAnswerControlsWriteAndMarkNothing)
{
    writeBank();
    addTypicalPaper();
    openExam();
    clickNumber(u"10"_qs);
    // The keyboard moves the selection to the root above, which shows nothing.
    tree()->setCurrentItem(root(QuestionKind::MultipleChoice));
    ASSERT_EQ(exam->ui->Label10->text(), u"多选题 第10题");
    click(exam->ui->du_b);
    EXPECT_TRUE(exam->ui->du_b->isChecked()) << "the control changes";
    EXPECT_EQ(stored(u"duo"_qs, u"10"_qs, u"xuan"_qs), u"");
    EXPECT_EQ(TForm6::nodeImage(node(u"10"_qs)), TForm6::ImageUnanswered);
    EXPECT_EQ(TForm6::nodeImage(root(QuestionKind::MultipleChoice)), TForm6::ImageRoot);

    clickNumber(u"1"_qs);
    tree()->setCurrentItem(root(QuestionKind::SingleChoice));
    click(exam->ui->d_a);
    EXPECT_TRUE(exam->ui->d_a->isChecked());
    EXPECT_EQ(stored(u"dds"_qs, u"1"_qs, u"xuan"_qs), u"");
    EXPECT_EQ(TForm6::nodeImage(root(QuestionKind::SingleChoice)), TForm6::ImageRoot);
}

TEST_F(ExamScreenTest, SpaceOnAFocusedBoxRecordsTheGroupToo)
{
    writeBank();
    addTypicalPaper();
    openExam();
    clickNumber(u"10"_qs);
    exam->ui->du_c->setFocus();
    QTest::keyClick(exam->ui->du_c, Qt::Key_Space);
    EXPECT_TRUE(exam->ui->du_c->isChecked());
    EXPECT_EQ(stored(u"duo"_qs, u"10"_qs, u"xuan"_qs), u"c");
}

TEST_F(ExamScreenTest, AFailedPostLeavesTheNodeUnmarkedAndTheQueryUsable)
{
    writeBank();
    addTypicalPaper();
    openExam();
    clickNumber(u"10"_qs);
    // Another program holds the write lock: the post fails after the busy wait.
    exam->ADOQuery_duo().database().setBusyTimeout(50);
    auto other = Database::open(folder.file(u"kstk.dat"_qs), Database::BankPassword);
    other->execute(u"begin immediate"_qs);
    EXPECT_THROW(click(exam->ui->du_a), AppError);
    EXPECT_TRUE(exam->ui->du_a->isChecked());
    EXPECT_EQ(TForm6::nodeImage(node(u"10"_qs)), TForm6::ImageUnanswered);
    other->execute(u"rollback"_qs);
    click(exam->ui->du_b);
    EXPECT_EQ(stored(u"duo"_qs, u"10"_qs, u"xuan"_qs), u"ab");
    EXPECT_EQ(TForm6::nodeImage(node(u"10"_qs)), TForm6::ImageAnswered);
}

TEST_F(ExamScreenTest, CopyingFromAQuestionPaneLeavesTheClipboardEmpty)
{
    writeBank();
    addTypicalPaper();
    openExam();
    QClipboard* clipboard = QGuiApplication::clipboard();
    QTextEdit* pane = exam->ui->ed_dan_tou;
    pane->setFocus();
    pane->selectAll();
    clipboard->setText(QStringLiteral("from another program"));
    QTest::keyClick(pane, Qt::Key_C, Qt::ControlModifier);
    QCoreApplication::processEvents();
    EXPECT_TRUE(clipboard->text().isEmpty());

    // Every one of the fourteen panes reports.
    const char* panes[] = {"ed_dan_wei",   "ed_dan_ping",  "ed_duo_tou",    "ed_duo_wei",     "ed_duo_ping",
                           "ed_shi_tou",   "ed_shi_ping",  "ed_jisuan_tou", "ed_jisuan_ping", "ed_anli_tou",
                           "ed_anli_ping", "ed_wushi_tou", "ed_wushi_ping"};
    for (const char* name : panes) {
        auto* other = exam->findChild<QTextEdit*>(QString::fromLatin1(name));
        ASSERT_NE(other, nullptr) << name;
        clipboard->setText(QStringLiteral("copied"));
        other->setPlainText(QStringLiteral("x"));
        EXPECT_TRUE(clipboard->text().isEmpty()) << name;
    }
}

namespace {

// What a screen reader does: find a control by its accessible name and run one of its actions.
QAccessibleInterface* accessibleNamed(QWidget* window, const QString& name)
{
    QAccessibleInterface* root = QAccessible::queryAccessibleInterface(window);
    QList<QAccessibleInterface*> pending{root};
    while (!pending.isEmpty()) {
        QAccessibleInterface* item = pending.takeFirst();
        if (item == nullptr)
            continue;
        if (item->text(QAccessible::Name) == name && !item->state().invisible)
            return item;
        for (int i = 0; i < item->childCount(); ++i)
            pending.append(item->child(i));
    }
    ADD_FAILURE() << "nothing visible is named " << name.toStdString();
    return nullptr;
}

void act(QWidget* window, const QString& name, const QString& action)
{
    QAccessibleInterface* item = accessibleNamed(window, name);
    ASSERT_NE(item, nullptr);
    ASSERT_NE(item->actionInterface(), nullptr) << name.toStdString();
    ASSERT_TRUE(item->actionInterface()->actionNames().contains(action))
        << name.toStdString() << ": " << item->actionInterface()->actionNames().join(u',').toStdString();
    item->actionInterface()->doAction(action);
    // A button's press is an animated click that lands a moment later.
    QTest::qWait(150);
}

} // namespace

// One question of each choice kind answered with the actions of an assistive technology only,
// moving with "下一题"; the rows are read back with SQL. The hand-in button then reads "退出" to
// the screen reader too.
TEST_F(ExamScreenTest, AccessibilityActionsAnswerEveryChoiceKind)
{
    writeBank();
    addTypicalPaper();
    openExam();
    const QString toggle = QAccessibleActionInterface::toggleAction();
    const QString press = QAccessibleActionInterface::pressAction();

    act(exam, u"单选 C"_qs, toggle);
    act(exam, u"下一题"_qs, press);
    act(exam, u"下一题"_qs, press);
    ASSERT_EQ(exam->ui->Label10->text(), u"多选题 第10题");
    act(exam, u"多选 D"_qs, toggle);
    act(exam, u"多选 A"_qs, press);
    act(exam, u"下一题"_qs, press);
    act(exam, u"下一题"_qs, press);
    ASSERT_EQ(exam->ui->Label10->text(), u"是非题 第12题");
    act(exam, u"判断 错误"_qs, toggle);
    act(exam, u"下一题"_qs, press);
    act(exam, u"计算分析 第二题 B"_qs, toggle);
    act(exam, u"计算分析 第二题 C"_qs, toggle);
    act(exam, u"计算分析 第二题 B"_qs, toggle);
    act(exam, u"下一题"_qs, press);
    act(exam, u"下一题"_qs, press);
    ASSERT_EQ(exam->ui->Label10->text(), u"案例分析 第15题");
    act(exam, u"案例分析 第五题 D"_qs, toggle);

    EXPECT_EQ(stored(u"dds"_qs, u"1"_qs, u"xuan"_qs), u"c");
    EXPECT_EQ(stored(u"duo"_qs, u"10"_qs, u"xuan"_qs), u"ad");
    EXPECT_EQ(stored(u"sf"_qs, u"12"_qs, u"xuan"_qs), u"b");
    EXPECT_EQ(stored(u"jsfx"_qs, u"13"_qs, u"myc2"_qs), u"c");
    EXPECT_EQ(stored(u"anli"_qs, u"15"_qs, u"myc5"_qs), u"d");
    for (const QString& number : {u"1"_qs, u"10"_qs, u"12"_qs, u"13"_qs, u"15"_qs})
        EXPECT_EQ(TForm6::nodeImage(node(number)), TForm6::ImageAnswered) << number.toStdString();
    EXPECT_EQ(TForm6::nodeImage(node(u"2"_qs)), TForm6::ImageUnanswered);

    // Restoring a stored answer on display is no gesture: showing 10 again posts nothing new.
    execute(u"update duo set xuan='b' where tihao='10'"_qs);
    act(exam, u"上一题"_qs, press);
    act(exam, u"上一题"_qs, press);
    act(exam, u"上一题"_qs, press);
    act(exam, u"上一题"_qs, press);
    act(exam, u"上一题"_qs, press);
    ASSERT_EQ(exam->ui->Label10->text(), u"多选题 第10题");
    EXPECT_EQ(stored(u"duo"_qs, u"10"_qs, u"xuan"_qs), u"b");

    Dialogs::queueAnswer(true);
    act(exam, u"交卷"_qs, press);
    ASSERT_TRUE(exam->handedIn());
    QAccessibleInterface* exit = accessibleNamed(exam, u"退出"_qs);
    ASSERT_NE(exit, nullptr);
    EXPECT_EQ(exit->object(), exam->ui->RzBmpButton3);
    // After hand-in the boxes refuse the action.
    act(exam, u"下一题"_qs, press);
    QAccessibleInterface* box = accessibleNamed(exam, u"多选 C"_qs);
    ASSERT_NE(box, nullptr);
    EXPECT_FALSE(box->actionInterface()->actionNames().contains(toggle));
}

// Every control of the exam screen, hidden ones included, has a name a screen reader can speak:
// not empty and not a component name.
TEST_F(ExamScreenTest, EveryControlHasASpeakableName)
{
    writeBank();
    addTypicalPaper();
    openExam();
    const QRegularExpression componentName(QStringLiteral("^[A-Za-z_]+[0-9]*$"));
    const auto widgets = exam->findChildren<QWidget*>();
    int controls = 0;
    for (QWidget* widget : widgets) {
        const bool interactive = qobject_cast<QAbstractButton*>(widget) || qobject_cast<QComboBox*>(widget) ||
                                 qobject_cast<QLineEdit*>(widget) || qobject_cast<QTextEdit*>(widget) ||
                                 qobject_cast<QPlainTextEdit*>(widget) ||
                                 qobject_cast<QTreeWidget*>(widget) || qobject_cast<QDateTimeEdit*>(widget);
        if (!interactive || qobject_cast<QComboBox*>(widget->parentWidget()) ||
            widget->objectName().startsWith(u"qt_"))
            continue;
        ++controls;
        QAccessibleInterface* item = QAccessible::queryAccessibleInterface(widget);
        ASSERT_NE(item, nullptr) << qPrintable(widget->objectName());
        const QString name = item->text(QAccessible::Name).trimmed();
        EXPECT_FALSE(name.isEmpty()) << qPrintable(widget->objectName());
        EXPECT_FALSE(componentName.match(name).hasMatch() && name.size() > 1)
            << qPrintable(widget->objectName()) << " is called " << qPrintable(name);
    }
    EXPECT_GT(controls, 90);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(exam->ui->Button19)->text(QAccessible::Name),
              u"显示导航列表");
    EXPECT_EQ(QAccessible::queryAccessibleInterface(exam->ui->RzBmpButton3)->text(QAccessible::Name),
              u"交卷");
}

// Tab leads from the index through the shown question (stem, answer controls, options) to the
// buttons under it and round to the index again; hidden authoring controls and the other pages
// are skipped. A group of option buttons is one stop, its arrows move within it.
TEST_F(ExamScreenTest, TabReachesIndexAnswersAndButtonsInOrder)
{
    writeBank();
    addTypicalPaper();
    openExam();
    exam->hideAllPageTabs();
    QApplication::setActiveWindow(exam);
    auto tabRound = [this] {
        tree()->setFocus();
        QStringList visited{QApplication::focusWidget()->objectName()};
        for (int i = 0; i < 40; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            if (QApplication::focusWidget() == tree())
                break;
            visited.append(QApplication::focusWidget()->objectName());
        }
        return visited.join(u' ');
    };
    EXPECT_EQ(tabRound(),
              u"RzTreeView1 ed_dan_tou d_a ed_dan_wei RzBmpButton2 RzBmpButton1 RzBmpButton11 RzBmpButton3");
    clickNumber(u"15"_qs);
    EXPECT_EQ(
        tabRound(),
        u"RzTreeView1 ed_anli_tou ck_anli_1_a ck_anli_1_b ck_anli_1_c ck_anli_1_d ck_anli_2_a ck_anli_2_b "
        u"ck_anli_2_c ck_anli_2_d ck_anli_3_a ck_anli_3_b ck_anli_3_c ck_anli_3_d ck_anli_4_a ck_anli_4_b "
        u"ck_anli_4_c ck_anli_4_d ck_anli_5_a ck_anli_5_b ck_anli_5_c ck_anli_5_d RzBmpButton2 RzBmpButton1 "
        u"RzBmpButton11 RzBmpButton3");
    // Within a group of option buttons the arrow keys choose, and the choice is recorded.
    clickNumber(u"12"_qs);
    exam->ui->shi_true->setFocus();
    QTest::keyClick(exam->ui->shi_true, Qt::Key_Space);
    EXPECT_EQ(stored(u"sf"_qs, u"12"_qs, u"xuan"_qs), u"a");
    QTest::keyClick(exam->ui->shi_true, Qt::Key_Right);
    EXPECT_TRUE(exam->ui->shi_false->isChecked());
    EXPECT_EQ(stored(u"sf"_qs, u"12"_qs, u"xuan"_qs), u"b");
}
