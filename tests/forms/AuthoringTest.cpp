// Author mode: what it shows, and adding, modifying and deleting questions on the exam screen,
// read back from the file with SQL.
#include "ExamScreenFixture.h"

#include "ui_Unit1.h"
#include "ui_Unit2.h"
#include "ui_Unit3.h"

#include "richtext/RtfReader.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QStackedWidget>
#include <QTabBar>
#include <QTextTable>

using namespace tarnex;
using namespace tarnex::test;

namespace {

using Shown = QList<std::pair<Dialogs::Kind, QString>>;

Shown takeShown()
{
    Shown shown;
    for (const Dialogs::Shown& box : Dialogs::takeShown())
        shown.append({box.kind, box.text});
    return shown;
}

// Whether the control shows on its page once the page is turned to (pages other than the current
// one are hidden as a whole).
bool shownOnItsPage(QWidget* control)
{
    QWidget* page = control;
    while (page->parentWidget() != nullptr && qobject_cast<QStackedWidget*>(page->parentWidget()) == nullptr)
        page = page->parentWidget();
    return control->isVisibleTo(page);
}

std::pair<Dialogs::Kind, QString> info(const QString& text)
{
    return {Dialogs::Kind::Information, text};
}

std::pair<Dialogs::Kind, QString> question(const QString& text)
{
    return {Dialogs::Kind::Confirmation, text};
}

class AuthoringTest : public ExamScreenTest
{
protected:
    // The typical paper opened by the start flow in author mode.
    void openAuthoring(bool withQuestions = true)
    {
        writeBank();
        if (withQuestions)
            addTypicalPaper();
        startProgram(ProgramMode::Author);
        startExam(u"370102198001010011"_qs);
        ASSERT_NE(exam, nullptr);
        ASSERT_EQ(exam->mode(), ProgramMode::Author);
        Dialogs::takeShown();
    }

    // Rows of a table with the number in the paper, counted in the file.
    int rows(const QString& table, const QString& number) const
    {
        auto db = Database::open(folder.file(u"kstk.dat"_qs), Database::BankPassword);
        return db
            ->queryText(
                QStringLiteral("select count(*) from %1 where kemu=? and tao=? and tihao=?").arg(table),
                {Subject, Paper, number})
            .toInt();
    }

    int allRows(const QString& table) const
    {
        auto db = Database::open(folder.file(u"kstk.dat"_qs), Database::BankPassword);
        return db->queryText(QStringLiteral("select count(*) from %1").arg(table)).toInt();
    }

    // The plain text of a stored rich-text column.
    QString storedText(const QString& table, const QString& number, const QString& column) const
    {
        auto db = Database::open(folder.file(u"kstk.dat"_qs), Database::BankPassword);
        Statement statement(
            *db, QStringLiteral("select %1 from %2 where kemu=? and tao=? and tihao=?").arg(column, table),
            {Subject, Paper, number});
        if (!statement.step())
            return u"<no row>"_qs;
        return rtfToPlainText(statement.value(0).toByteArray()).trimmed();
    }

    QStringList children(QuestionKind kind) const
    {
        QStringList texts;
        for (int i = 0; i < root(kind)->childCount(); ++i)
            texts.append(root(kind)->child(i)->text(0));
        return texts;
    }

    void fillSingleChoice(const QString& number, QRadioButton* answer)
    {
        exam->ui->ed_dan_tou->setPlainText(u"下列属于资产的是"_qs);
        exam->ui->ed_dan_wei->setPlainText(u"A. 存款 B. 借款 C. 应收 D. 实收资本"_qs);
        exam->ui->ed_dan_ping->setPlainText(u"资产的定义"_qs);
        exam->ui->ed_dan_tihao->setText(number);
        if (answer != nullptr)
            answer->setChecked(true);
    }

    void fillCalculation(const QString& number)
    {
        exam->ui->ed_jisuan_tou->setPlainText(u"计算题干"_qs);
        exam->ui->ed_jisuan_ping->setPlainText(u"计算解析"_qs);
        exam->ui->ed_jisuan_tihao->setText(number);
    }

    QList<QWidget*> authoringControls() const
    {
        Ui::TForm6* ui = exam->ui;
        return {ui->Button19, ui->Label11,    ui->ed_dan_tihao,     ui->Button1, ui->Button2,
                ui->Button3,  ui->Label12,    ui->ed_duoxuan_tihao, ui->Button4, ui->Button5,
                ui->Button6,  ui->Label26,    ui->ed_shi_tihao,     ui->Button7, ui->Button8,
                ui->Button9,  ui->xuanzexing, ui->caozuoxing,       ui->Label24, ui->ed_jisuan_tihao,
                ui->Button15, ui->Button14,   ui->Button13,         ui->Label25, ui->ed_anli_tihao,
                ui->Button18, ui->Button17,   ui->Button16,         ui->Label13, ui->ed_wushi_tihao,
                ui->Button12, ui->Button11,   ui->Button10};
    }

    QList<QTextEdit*> questionEditors() const
    {
        Ui::TForm6* ui = exam->ui;
        return {ui->ed_dan_tou,  ui->ed_dan_wei,   ui->ed_dan_ping,  ui->ed_duo_tou,    ui->ed_duo_wei,
                ui->ed_duo_ping, ui->ed_shi_tou,   ui->ed_shi_ping,  ui->ed_jisuan_tou, ui->ed_jisuan_ping,
                ui->ed_anli_tou, ui->ed_anli_ping, ui->ed_wushi_tou, ui->ed_wushi_ping};
    }
};

TEST_F(AuthoringTest, ACandidateSeesNoAuthoringControl)
{
    writeBank();
    addTypicalPaper();
    startProgram();
    EXPECT_FALSE(mainWindow->ui->RzBmpButton4->isVisibleTo(mainWindow.get()));
    EXPECT_FALSE(mainWindow->ui->CheckBox2->isVisibleTo(mainWindow.get()));
    EXPECT_EQ(mainWindow->windowTitle(), u"模拟考试 V.2013");
    EXPECT_FALSE(Form2->ui->RzBmpButton4->isVisibleTo(Form2));
    EXPECT_TRUE(Form2->ui->Memo1->isReadOnly());
    EXPECT_FALSE(Form3->ui->RzBmpButton4->isVisibleTo(Form3));
    startExam(u"1"_qs);
    for (QWidget* control : authoringControls())
        EXPECT_FALSE(shownOnItsPage(control)) << control->objectName().toStdString();
    for (QTextEdit* editor : questionEditors())
        EXPECT_TRUE(editor->isReadOnly()) << editor->objectName().toStdString();
    EXPECT_FALSE(shownOnItsPage(exam->ui->ed_dan_ping));
    EXPECT_FALSE(exam->ui->RzPageControl1->tabBar()->isVisibleTo(exam));
    EXPECT_EQ(exam->windowTitle(), u"考试");
}

TEST_F(AuthoringTest, AnAuthorSeesEveryControlAndWindowsSayWhatTheyAreFor)
{
    openAuthoring();
    EXPECT_TRUE(mainWindow->ui->RzBmpButton4->isVisibleTo(mainWindow.get()));
    EXPECT_TRUE(mainWindow->ui->CheckBox2->isVisibleTo(mainWindow.get()));
    EXPECT_EQ(mainWindow->windowTitle(), u"【编辑试题】模拟考试 V.2013");
    EXPECT_TRUE(Form2->ui->RzBmpButton4->isVisibleTo(Form2));
    EXPECT_FALSE(Form2->ui->Memo1->isReadOnly());
    EXPECT_TRUE(Form3->ui->RzBmpButton4->isVisibleTo(Form3));
    EXPECT_FALSE(Form3->ui->Memo1->isReadOnly());
    for (QWidget* control : authoringControls())
        EXPECT_TRUE(shownOnItsPage(control)) << control->objectName().toStdString();
    for (QTextEdit* editor : questionEditors()) {
        EXPECT_FALSE(editor->isReadOnly()) << editor->objectName().toStdString();
        EXPECT_TRUE(shownOnItsPage(editor)) << editor->objectName().toStdString();
    }
    EXPECT_TRUE(exam->ui->RzPageControl1->tabBar()->isVisibleTo(exam)) << "every kind's page is reachable";
    EXPECT_EQ(exam->windowTitle(), u"【编辑试题】考试");

    // "管理" opens the information editor.
    bool opened = false;
    QTimer::singleShot(0, [&] {
        opened = Form1->isVisible();
        Form1->close();
    });
    click(mainWindow->ui->RzBmpButton4);
    EXPECT_TRUE(opened);
}

TEST_F(AuthoringTest, AddedSingleChoiceIsPostedThenIndexedLastAndSelected)
{
    openAuthoring();
    const QStringList navigation = exam->tihaolist.entries();
    clickNumber(u"1"_qs);
    fillSingleChoice(u"5"_qs, exam->ui->d_c);
    click(exam->ui->Button1);
    EXPECT_EQ(takeShown(), Shown({question(u"确实要添加试题吗？"_qs)}));

    EXPECT_EQ(rows(u"dds"_qs, u"5"_qs), 1);
    EXPECT_EQ(stored(u"dds"_qs, u"5"_qs, u"da"_qs), u"c");
    EXPECT_EQ(stored(u"dds"_qs, u"5"_qs, u"xuan"_qs), u"");
    EXPECT_EQ(storedText(u"dds"_qs, u"5"_qs, u"tou"_qs), u"下列属于资产的是");
    EXPECT_EQ(storedText(u"dds"_qs, u"5"_qs, u"wei"_qs), u"A. 存款 B. 借款 C. 应收 D. 实收资本");
    EXPECT_EQ(storedText(u"dds"_qs, u"5"_qs, u"ping"_qs), u"资产的定义");
    EXPECT_EQ(children(QuestionKind::SingleChoice), QStringList({u"1"_qs, u"2"_qs, u"5"_qs}));
    QTreeWidgetItem* added = root(QuestionKind::SingleChoice)->child(2);
    EXPECT_EQ(tree()->currentItem(), added);
    EXPECT_EQ(TForm6::nodeImage(added), TForm6::ImageUnanswered);
    EXPECT_EQ(exam->tihaolist.entries(), navigation) << "the navigation list waits for the next load";
    EXPECT_EQ(exam->ui->ed_dan_tou->toPlainText(), u"下列属于资产的是") << "the page keeps the question";

    // A modify right after the add edits that same question.
    exam->ui->ed_dan_tou->setPlainText(u"改过的题干"_qs);
    exam->ui->d_a->setChecked(true);
    click(exam->ui->Button3);
    EXPECT_EQ(takeShown(), Shown({question(u"确实要修改此条试题吗？"_qs)}));
    EXPECT_EQ(storedText(u"dds"_qs, u"5"_qs, u"tou"_qs), u"改过的题干");
    EXPECT_EQ(stored(u"dds"_qs, u"5"_qs, u"da"_qs), u"a");
    EXPECT_EQ(storedText(u"dds"_qs, u"1"_qs, u"tou"_qs), u"单选题一");

    // The question comes back whole from the file when the index shows it.
    clickNumber(u"2"_qs);
    clickNumber(u"5"_qs);
    EXPECT_EQ(exam->ui->ed_dan_tou->toPlainText(), u"改过的题干");
    EXPECT_EQ(exam->ui->ed_dan_tihao->text(), u"5");
}

TEST_F(AuthoringTest, NumbersAreUniqueAcrossThePaperAndTrimmed)
{
    openAuthoring();
    // 12 is the true/false question: refused after the confirmation.
    fillSingleChoice(u"12"_qs, exam->ui->d_b);
    click(exam->ui->Button1);
    EXPECT_EQ(takeShown(),
              Shown({question(u"确实要添加试题吗？"_qs), info(u"题号在本套试题中重复，请更改题号！"_qs)}));
    EXPECT_EQ(rows(u"dds"_qs, u"12"_qs), 0);
    EXPECT_EQ(children(QuestionKind::SingleChoice), QStringList({u"1"_qs, u"2"_qs}));
    EXPECT_EQ(exam->nodetext, u"12");

    clickNumber(u"10"_qs);
    exam->ui->ed_duo_tou->setPlainText(u"多选题干"_qs);
    exam->ui->ed_duo_wei->setPlainText(u"多选选项"_qs);
    exam->ui->ed_duoxuan_tihao->setText(u" 20 "_qs);
    for (QCheckBox* box : {exam->ui->du_a, exam->ui->du_b, exam->ui->du_c, exam->ui->du_d})
        box->setChecked(box == exam->ui->du_b || box == exam->ui->du_d);
    click(exam->ui->Button4);
    EXPECT_EQ(stored(u"duo"_qs, u"20"_qs, u"da"_qs), u"bd");
    EXPECT_EQ(children(QuestionKind::MultipleChoice).last(), u"20");

    exam->ui->ed_duoxuan_tihao->setText(u"20\t"_qs);
    click(exam->ui->Button4);
    EXPECT_EQ(takeShown().last(), info(u"题号在本套试题中重复，请更改题号！"_qs));
    exam->ui->ed_duoxuan_tihao->setText(u"多选题"_qs);
    click(exam->ui->Button4);
    EXPECT_EQ(takeShown().last(), info(u"题号在本套试题中重复，请更改题号！"_qs))
        << "a root's text counts as taken";
    EXPECT_EQ(allRows(u"duo"_qs), 3);

    clickNumber(u"12"_qs);
    exam->ui->ed_shi_tihao->setText(u"21"_qs);
    exam->ui->shi_false->setChecked(true);
    click(exam->ui->Button7);
    EXPECT_EQ(stored(u"sf"_qs, u"21"_qs, u"da"_qs), u"b");
}

TEST_F(AuthoringTest, ModifyTestsOnlyAChangedNumberAndRenamesTheNode)
{
    openAuthoring();
    clickNumber(u"10"_qs);
    exam->ui->du_a->setChecked(true);
    exam->ui->du_c->setChecked(true);
    exam->ui->ed_duo_wei->setPlainText(u"选项"_qs);
    click(exam->ui->Button6);
    EXPECT_EQ(takeShown(), Shown({question(u"确实要修改此条试题吗？"_qs)}))
        << "its own number is no duplicate";
    EXPECT_EQ(stored(u"duo"_qs, u"10"_qs, u"da"_qs), u"ac");

    exam->ui->ed_duoxuan_tihao->setText(u"15"_qs);
    click(exam->ui->Button6);
    EXPECT_EQ(takeShown(), Shown({info(u"要修改的题号与现在试用中的题号重复,不能修改！"_qs)}));
    EXPECT_EQ(rows(u"duo"_qs, u"15"_qs), 0);
    EXPECT_EQ(rows(u"duo"_qs, u"10"_qs), 1);

    exam->ui->ed_duoxuan_tihao->setText(u" 30"_qs);
    click(exam->ui->Button6);
    EXPECT_EQ(rows(u"duo"_qs, u"10"_qs), 0);
    EXPECT_EQ(stored(u"duo"_qs, u"30"_qs, u"da"_qs), u"ac");
    EXPECT_EQ(children(QuestionKind::MultipleChoice), QStringList({u"30"_qs, u"11"_qs}));
}

TEST_F(AuthoringTest, NoOnAConfirmationChangesNothing)
{
    openAuthoring();
    clickNumber(u"1"_qs);
    fillSingleChoice(u"40"_qs, exam->ui->d_a);
    Dialogs::queueAnswer(false);
    click(exam->ui->Button1);
    EXPECT_EQ(rows(u"dds"_qs, u"40"_qs), 0);
    EXPECT_EQ(children(QuestionKind::SingleChoice), QStringList({u"1"_qs, u"2"_qs}));

    clickNumber(u"1"_qs);
    exam->ui->ed_dan_tou->setPlainText(u"不该写入"_qs);
    exam->ui->d_d->setChecked(true);
    Dialogs::queueAnswer(false);
    click(exam->ui->Button3);
    EXPECT_EQ(storedText(u"dds"_qs, u"1"_qs, u"tou"_qs), u"单选题一");
    EXPECT_EQ(stored(u"dds"_qs, u"1"_qs, u"da"_qs), u"b");

    Dialogs::queueAnswer(false);
    click(exam->ui->Button2);
    EXPECT_EQ(rows(u"dds"_qs, u"1"_qs), 1);
    EXPECT_EQ(children(QuestionKind::SingleChoice), QStringList({u"1"_qs, u"2"_qs}));
    EXPECT_EQ(exam->ui->ed_dan_tou->toPlainText(), u"不该写入") << "the page stays as it was";
    EXPECT_EQ(takeShown(), Shown({question(u"确实要添加试题吗？"_qs), question(u"确实要修改此条试题吗？"_qs),
                                  question(u"确实要删除此条试题吗？"_qs)}));
}

TEST_F(AuthoringTest, DeleteNeedsAQuestionOfItsKind)
{
    openAuthoring();
    tree()->setCurrentItem(root(QuestionKind::SingleChoice));
    click(exam->ui->Button2);
    EXPECT_EQ(takeShown(), Shown({info(u"请选择要删除的题号？"_qs)}));
    click(exam->ui->Button3);
    EXPECT_EQ(takeShown(), Shown({info(u"请选择要修改的题号？"_qs)}));

    // A node of another kind is confirmed but stays, and so does every row.
    tree()->setCurrentItem(node(u"12"_qs));
    click(exam->ui->Button2);
    EXPECT_EQ(takeShown(), Shown({question(u"确实要删除此条试题吗？"_qs)}));
    EXPECT_NE(node(u"12"_qs), nullptr);
    EXPECT_EQ(rows(u"sf"_qs, u"12"_qs), 1);
}

TEST_F(AuthoringTest, SingleChoiceNumberTakesDigitsOnly)
{
    openAuthoring();
    QLineEdit* edit = exam->ui->ed_dan_tihao;
    edit->clear();
    edit->setFocus();
    QTest::keyClicks(edit, u"12"_qs);
    QTest::keyClick(edit, Qt::Key_X);
    EXPECT_EQ(edit->text(), u"12");
    EXPECT_EQ(takeShown(), Shown({info(u"只能输入数字"_qs)}));
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit->text(), u"12") << "a paste is no digit";
    takeShown();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClick(edit, Qt::Key_Left);
    EXPECT_EQ(edit->text(), u"1");
    EXPECT_TRUE(takeShown().isEmpty());

    // The other number edits take any text.
    QTest::keyClicks(exam->ui->ed_duoxuan_tihao, u"x1"_qs);
    EXPECT_EQ(exam->ui->ed_duoxuan_tihao->text().right(2), u"x1");
    EXPECT_TRUE(takeShown().isEmpty());
}

TEST_F(AuthoringTest, CalculationAndCaseAnswersAndClearing)
{
    openAuthoring();
    clickNumber(u"14"_qs);
    fillCalculation(u"50"_qs);
    exam->ui->caozuoxing->setChecked(true);
    for (QCheckBox* box : {exam->ui->ck_1_a, exam->ui->ck_2_b})
        box->setChecked(false);
    click(exam->ui->Button15);
    EXPECT_EQ(stored(u"jsfx"_qs, u"50"_qs, u"leixing"_qs), u"答题型");
    for (int i = 1; i <= 5; ++i)
        EXPECT_EQ(stored(u"jsfx"_qs, u"50"_qs, QStringLiteral("da%1").arg(i)), u"");
    EXPECT_TRUE(exam->ui->ed_jisuan_tou->toPlainText().isEmpty()) << "the page is ready for the next one";
    EXPECT_TRUE(exam->ui->ed_jisuan_tihao->text().isEmpty());
    EXPECT_TRUE(exam->ui->caozuoxing->isChecked()) << "the type stays";
    takeShown();
    click(exam->ui->Button15);
    EXPECT_EQ(takeShown(), Shown({info(u"题目内容部分不能为空！"_qs)}));

    // Choice type: the groups are checked in order, whatever the later ones hold.
    fillCalculation(u"51"_qs);
    exam->ui->xuanzexing->setChecked(true);
    exam->ui->ck_1_a->setChecked(true);
    exam->ui->ck_2_b->setChecked(true);
    exam->ui->ck_2_d->setChecked(true);
    exam->ui->ck_5_c->setChecked(true);
    click(exam->ui->Button15);
    EXPECT_EQ(takeShown(), Shown({info(u"请为第三题选择一个正确的答案！"_qs)}));
    exam->ui->ck_3_c->setChecked(true);
    exam->ui->ck_4_d->setChecked(true);
    click(exam->ui->Button15);
    EXPECT_EQ(stored(u"jsfx"_qs, u"51"_qs, u"leixing"_qs), u"选择型");
    EXPECT_EQ(stored(u"jsfx"_qs, u"51"_qs, u"da2"_qs), u"bd");
    EXPECT_EQ(stored(u"jsfx"_qs, u"51"_qs, u"da5"_qs), u"c");
    EXPECT_FALSE(exam->ui->ck_2_b->isChecked());

    // Until another calculation question is picked, modify writes the one just added.
    fillCalculation(u"51"_qs);
    exam->ui->caozuoxing->setChecked(true);
    click(exam->ui->Button13);
    EXPECT_EQ(stored(u"jsfx"_qs, u"51"_qs, u"leixing"_qs), u"答题型");
    EXPECT_EQ(stored(u"jsfx"_qs, u"13"_qs, u"leixing"_qs), u"选择型");

    // A delete leaves "选择型" ticked.
    clickNumber(u"14"_qs);
    click(exam->ui->Button14);
    EXPECT_EQ(rows(u"jsfx"_qs, u"14"_qs), 0);
    EXPECT_TRUE(exam->ui->xuanzexing->isChecked());
    EXPECT_FALSE(exam->ui->caozuoxing->isChecked());
    EXPECT_EQ(tree()->currentItem(), nullptr);

    // Case: the fifth group alone decides da5; an empty group is refused.
    clickNumber(u"15"_qs);
    exam->ui->ed_anli_tihao->setText(u"52"_qs);
    const std::array<std::array<QCheckBox*, 4>, 5> groups = {{
        {exam->ui->ck_anli_1_a, exam->ui->ck_anli_1_b, exam->ui->ck_anli_1_c, exam->ui->ck_anli_1_d},
        {exam->ui->ck_anli_2_a, exam->ui->ck_anli_2_b, exam->ui->ck_anli_2_c, exam->ui->ck_anli_2_d},
        {exam->ui->ck_anli_3_a, exam->ui->ck_anli_3_b, exam->ui->ck_anli_3_c, exam->ui->ck_anli_3_d},
        {exam->ui->ck_anli_4_a, exam->ui->ck_anli_4_b, exam->ui->ck_anli_4_c, exam->ui->ck_anli_4_d},
        {exam->ui->ck_anli_5_a, exam->ui->ck_anli_5_b, exam->ui->ck_anli_5_c, exam->ui->ck_anli_5_d},
    }};
    for (const auto& group : groups) {
        for (QCheckBox* box : group)
            box->setChecked(false);
    }
    groups[0][1]->setChecked(true);
    groups[1][1]->setChecked(true);
    groups[2][1]->setChecked(true);
    groups[4][0]->setChecked(true);
    groups[4][2]->setChecked(true);
    takeShown();
    click(exam->ui->Button18);
    EXPECT_EQ(takeShown(), Shown({info(u"请为第四题选择一个正确的答案！"_qs)}));
    EXPECT_EQ(rows(u"anli"_qs, u"52"_qs), 0);
    groups[3][3]->setChecked(true);
    click(exam->ui->Button18);
    EXPECT_EQ(stored(u"anli"_qs, u"52"_qs, u"da5"_qs), u"ac");
    EXPECT_EQ(stored(u"anli"_qs, u"52"_qs, u"da4"_qs), u"d");
    EXPECT_TRUE(exam->ui->ed_anli_tihao->text().isEmpty());

    // Practical: stem, analysis and number only; the page stays.
    clickNumber(u"16"_qs);
    exam->ui->ed_wushi_tou->setPlainText(u"实务题干"_qs);
    exam->ui->ed_wushi_tihao->setText(u"53"_qs);
    click(exam->ui->Button12);
    EXPECT_EQ(storedText(u"ws"_qs, u"53"_qs, u"tou"_qs), u"实务题干");
    EXPECT_EQ(storedText(u"ws"_qs, u"53"_qs, u"ping"_qs), u"实务解析");
    EXPECT_EQ(exam->ui->ed_wushi_tihao->text(), u"53");
}

// After a delete the page is empty and stands for no question: a modify refuses instead of
// writing into whatever row the table moved to.
TEST_F(AuthoringTest, ModifyAfterDeleteRefusesAndLeavesTheOtherRow)
{
    openAuthoring();
    clickNumber(u"1"_qs);
    click(exam->ui->Button2);
    EXPECT_EQ(takeShown(), Shown({question(u"确实要删除此条试题吗？"_qs)}));
    EXPECT_EQ(rows(u"dds"_qs, u"1"_qs), 0);
    EXPECT_TRUE(exam->ui->ed_dan_tou->toPlainText().isEmpty());
    EXPECT_EQ(children(QuestionKind::SingleChoice), QStringList({u"2"_qs}));

    fillSingleChoice(u"1"_qs, exam->ui->d_d);
    click(exam->ui->Button3);
    EXPECT_EQ(takeShown(), Shown({info(u"请选择要修改的题号？"_qs)}));
    EXPECT_EQ(storedText(u"dds"_qs, u"2"_qs, u"tou"_qs), u"单选题二");
    EXPECT_EQ(stored(u"dds"_qs, u"2"_qs, u"da"_qs), u"c");
    EXPECT_EQ(rows(u"dds"_qs, u"1"_qs), 0);

    // The same for a kind that needs no selected question: the one just added is gone.
    clickNumber(u"16"_qs);
    exam->ui->ed_wushi_tihao->setText(u"60"_qs);
    click(exam->ui->Button12);
    click(exam->ui->Button11);
    EXPECT_EQ(rows(u"ws"_qs, u"60"_qs), 0);
    takeShown();
    exam->ui->ed_wushi_tou->setPlainText(u"新题干"_qs);
    exam->ui->ed_wushi_tihao->setText(u"61"_qs);
    click(exam->ui->Button10);
    EXPECT_EQ(takeShown(), Shown({info(u"请选择要修改的题号？"_qs)}));
    EXPECT_EQ(storedText(u"ws"_qs, u"16"_qs, u"tou"_qs), u"实务题十六");
    EXPECT_EQ(allRows(u"ws"_qs), 1);
}

TEST_F(AuthoringTest, AFailedPostLeavesNoNode)
{
    openAuthoring();
    execute(u"create trigger full before insert on dds begin select raise(abort, '磁盘已满'); end"_qs);
    clickNumber(u"1"_qs);
    fillSingleChoice(u"70"_qs, exam->ui->d_a);
    try {
        exam->Button1Click();
        ADD_FAILURE() << "the add went through";
    } catch (const AppError& error) {
        EXPECT_TRUE(error.message().contains(u"磁盘已满"_qs)) << error.message().toStdString();
    }
    EXPECT_EQ(children(QuestionKind::SingleChoice), QStringList({u"1"_qs, u"2"_qs}));
    EXPECT_EQ(tree()->currentItem(), node(u"1"_qs));
    EXPECT_EQ(rows(u"dds"_qs, u"70"_qs), 0);

    // Once the file takes rows again the same add goes through, once.
    execute(u"drop trigger full"_qs);
    exam->Button1Click();
    EXPECT_EQ(rows(u"dds"_qs, u"70"_qs), 1);
    EXPECT_EQ(children(QuestionKind::SingleChoice), QStringList({u"1"_qs, u"2"_qs, u"70"_qs}));
}

TEST_F(AuthoringTest, AFailedDeleteKeepsNodeAndPage)
{
    openAuthoring();
    execute(u"create trigger keep before delete on dds begin select raise(abort, '无法删除'); end"_qs);
    clickNumber(u"2"_qs);
    EXPECT_THROW(exam->Button2Click(), AppError);
    EXPECT_EQ(children(QuestionKind::SingleChoice), QStringList({u"1"_qs, u"2"_qs}));
    EXPECT_EQ(tree()->currentItem(), node(u"2"_qs));
    EXPECT_EQ(exam->ui->ed_dan_tou->toPlainText(), u"单选题二");
    EXPECT_EQ(exam->ui->ed_dan_tihao->text(), u"2");
    EXPECT_EQ(rows(u"dds"_qs, u"2"_qs), 1);

    // The data set still browses what the file holds: a modify of the same question works.
    execute(u"drop trigger keep"_qs);
    exam->ui->d_b->setChecked(true);
    exam->Button3Click();
    EXPECT_EQ(stored(u"dds"_qs, u"2"_qs, u"da"_qs), u"b");
}

TEST_F(AuthoringTest, Button19ShowsTheNavigationList)
{
    openAuthoring();
    click(exam->ui->Button19);
    EXPECT_EQ(exam->ui->ed_dan_tou->toPlainText(), u"1\n2\n10\n11\n12\n13\n14\n15\n16");
    const QList<Dialogs::Shown> shown = Dialogs::takeShown();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown.front().kind, Dialogs::Kind::Plain);
    EXPECT_EQ(shown.front().text, u"9");
}

TEST_F(AuthoringTest, PastedRtfKeepsItsTableAndTheClipboardStays)
{
    openAuthoring();
    clickNumber(u"12"_qs);
    QTextEdit* stem = exam->ui->ed_shi_tou;
    stem->clear();
    auto* data = new QMimeData;
    data->setData(u"text/rtf"_qs,
                  QByteArray("{\\rtf1\\ansi\\ansicpg936{\\fonttbl{\\f0 SimSun;}}\\pard\\plain "
                             "{\\b \\'b4\\'d6\\'cc\\'e5}\\par"
                             "\\trowd\\cellx2000\\cellx4000\\pard\\intbl A1\\cell B1\\cell\\row"
                             "\\pard\\plain end\\par}"));
    data->setHtml(u"<p>html</p>"_qs);
    QApplication::clipboard()->setMimeData(data);
    stem->setFocus();
    stem->paste();
    EXPECT_NE(QApplication::clipboard()->mimeData()->data(u"text/rtf"_qs), QByteArray()) << "not emptied";

    exam->ui->ed_shi_tihao->setText(u"80"_qs);
    exam->ui->shi_true->setChecked(true);
    click(exam->ui->Button7);
    auto db = Database::open(folder.file(u"kstk.dat"_qs), Database::BankPassword);
    const QByteArray rtf = db->queryText(u"select tou from sf where tihao='80'"_qs).toLatin1();
    QTextDocument document;
    readRtf(rtf, &document);
    bool bold = false;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().text().contains(u"粗体"_qs))
                bold = it.fragment().charFormat().fontWeight() >= QFont::Bold;
        }
    }
    EXPECT_TRUE(bold) << rtf.toStdString();
    QTextTable* table = nullptr;
    for (QTextBlock block = document.begin(); block.isValid() && table == nullptr; block = block.next())
        table = QTextCursor(block).currentTable();
    ASSERT_NE(table, nullptr) << rtf.toStdString();
    EXPECT_EQ(table->columns(), 2);
    EXPECT_EQ(table->cellAt(0, 1).firstCursorPosition().block().text(), u"B1");

    // Copying from a pane keeps what was copied.
    stem->selectAll();
    QTest::keyClick(stem, Qt::Key_C, Qt::ControlModifier);
    EXPECT_FALSE(QApplication::clipboard()->text().isEmpty());
}

// One question of each kind made in author mode, then sat by a candidate after a restart.
TEST_F(AuthoringTest, QuestionsMadeByAnAuthorAreSatByACandidate)
{
    openAuthoring(false);
    Ui::TForm6* ui = exam->ui;
    EXPECT_EQ(tree()->topLevelItemCount(), 6);

    ui->RzPageControl1->setCurrentIndex(0);
    ui->ed_dan_tou->setPlainText(u"单选一"_qs);
    ui->ed_dan_wei->setPlainText(u"A B C D"_qs);
    ui->ed_dan_tihao->setText(u"1"_qs);
    click(ui->d_c);
    click(ui->Button1);

    ui->RzPageControl1->setCurrentIndex(1);
    ui->ed_duo_tou->setPlainText(u"多选二"_qs);
    ui->ed_duo_wei->setPlainText(u"A B C D"_qs);
    ui->ed_duoxuan_tihao->setText(u"2"_qs);
    click(ui->du_a);
    click(ui->du_d);
    click(ui->Button4);

    ui->RzPageControl1->setCurrentIndex(2);
    ui->ed_shi_tou->setPlainText(u"是非三"_qs);
    ui->ed_shi_tihao->setText(u"3"_qs);
    click(ui->shi_false);
    click(ui->Button7);

    ui->RzPageControl1->setCurrentIndex(3);
    ui->ed_jisuan_tou->setPlainText(u"计算四"_qs);
    ui->ed_jisuan_tihao->setText(u"4"_qs);
    click(ui->xuanzexing);
    for (QCheckBox* box : {ui->ck_1_a, ui->ck_2_b, ui->ck_3_c, ui->ck_4_d, ui->ck_5_a})
        click(box);
    click(ui->Button15);

    ui->RzPageControl1->setCurrentIndex(4);
    ui->ed_anli_tou->setPlainText(u"案例五"_qs);
    ui->ed_anli_tihao->setText(u"5"_qs);
    for (QCheckBox* box :
         {ui->ck_anli_1_b, ui->ck_anli_2_b, ui->ck_anli_3_b, ui->ck_anli_4_b, ui->ck_anli_5_b})
        click(box);
    click(ui->Button18);

    ui->RzPageControl1->setCurrentIndex(5);
    ui->ed_wushi_tou->setPlainText(u"实务六"_qs);
    ui->ed_wushi_tihao->setText(u"6"_qs);
    click(ui->Button12);

    for (const char* table : {"dds", "duo", "sf", "jsfx", "anli", "ws"})
        EXPECT_EQ(allRows(QString::fromLatin1(table)), 1) << table;
    EXPECT_EQ(stored(u"duo"_qs, u"2"_qs, u"da"_qs), u"ad");

    // A restart as a candidate: the paper holds the six questions in number order.
    exam = nullptr;
    mainWindow.reset();
    Dialogs::takeShown();
    startProgram();
    startExam(u"1"_qs);
    ASSERT_NE(exam, nullptr);
    ui = exam->ui;
    EXPECT_EQ(exam->tihaolist.entries(), QStringList({u"1"_qs, u"2"_qs, u"3"_qs, u"4"_qs, u"5"_qs, u"6"_qs}));
    for (QWidget* control : authoringControls())
        EXPECT_FALSE(shownOnItsPage(control)) << control->objectName().toStdString();
    EXPECT_EQ(ui->ed_dan_tou->toPlainText(), u"单选一");

    click(ui->d_c);
    click(ui->RzBmpButton1);
    click(ui->du_a);
    click(ui->du_d);
    click(ui->RzBmpButton1);
    click(ui->shi_true);
    click(ui->RzBmpButton1);
    EXPECT_EQ(ui->ed_jisuan_tou->toPlainText(), u"计算四");
    EXPECT_TRUE(ui->xuanzexing->isChecked());
    click(ui->ck_1_a);
    EXPECT_EQ(stored(u"jsfx"_qs, u"4"_qs, u"myc1"_qs), u"a");

    Dialogs::takeShown();
    Dialogs::queueAnswer(true);
    click(ui->RzBmpButton3);
    const QList<Dialogs::Shown> shown = Dialogs::takeShown();
    ASSERT_EQ(shown.size(), 2);
    EXPECT_TRUE(shown.at(1).text.startsWith(u"单选、多选、是非题，答对数：2 题"_qs))
        << shown.at(1).text.toStdString();
    EXPECT_EQ(TForm6::nodeImage(node(u"3"_qs)), TForm6::ImageWrong);
    EXPECT_EQ(ui->Label27->text(), u"正确答案(1-5)：A\\B\\C\\D\\A");
}

} // namespace
