// Display of a question, the index tree, previous and next.
#include "ExamScreenFixture.h"

#include "platform/CodePage.h"

#include <QGuiApplication>
#include <QScreen>

using namespace tarnex;
using namespace tarnex::test;

TEST_F(ExamScreenTest, NextAndPreviousFollowTheNavigationListAndStopWithAMessage)
{
    writeBank();
    addTypicalPaper();
    openExam();
    const QStringList headings = {u"单选题 第1题"_qs,    u"单选题 第2题"_qs,    u"多选题 第10题"_qs,
                                  u"多选题 第11题"_qs,   u"是非题 第12题"_qs,   u"计算分析 第13题"_qs,
                                  u"计算分析 第14题"_qs, u"案例分析 第15题"_qs, u"实务操作 第16题"_qs};
    EXPECT_EQ(exam->ui->Label10->text(), headings.at(0));
    for (int i = 1; i < headings.size(); ++i) {
        exam->RzBmpButton1Click();
        EXPECT_EQ(exam->ui->Label10->text(), headings.at(i));
        EXPECT_EQ(exam->dangqian_tihao, i);
        EXPECT_EQ(tree()->currentItem()->text(0), exam->tihaolist.at(i));
    }
    EXPECT_TRUE(Dialogs::takeShown().isEmpty());
    exam->RzBmpButton1Click();
    auto shown = Dialogs::takeShown();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0].text, u"已经到最后一题了！");
    EXPECT_EQ(shown[0].caption, u"提示");
    EXPECT_EQ(exam->dangqian_tihao, 8);
    EXPECT_EQ(exam->ui->Label10->text(), headings.last());

    for (int i = headings.size() - 2; i >= 0; --i) {
        exam->RzBmpButton2Click();
        EXPECT_EQ(exam->ui->Label10->text(), headings.at(i));
    }
    exam->RzBmpButton2Click();
    shown = Dialogs::takeShown();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0].text, u"已经到第一题了！");
    EXPECT_EQ(exam->dangqian_tihao, 0);

    // A click in the tree moves the position of previous and next.
    clickNumber(u"12"_qs);
    EXPECT_EQ(exam->dangqian_tihao, 4);
    exam->RzBmpButton1Click();
    EXPECT_EQ(exam->ui->Label10->text(), u"计算分析 第13题");
    QTest::mouseClick(exam->ui->RzBmpButton2, Qt::LeftButton);
    EXPECT_EQ(exam->ui->Label10->text(), u"是非题 第12题");
}

TEST_F(ExamScreenTest, ClickingANodeShowsItsPageTextsNumberAndCorrectAnswer)
{
    writeBank();
    addTypicalPaper();
    openExam();
    clickNumber(u"10"_qs);
    EXPECT_EQ(exam->ui->RzPageControl1->currentIndex(), 1);
    EXPECT_EQ(exam->ui->ed_duo_tou->toPlainText(), u"多选题十");
    EXPECT_EQ(exam->ui->ed_duoxuan_tihao->text(), u"10");
    EXPECT_EQ(exam->ui->Label27->text(), u"正确答案：AC");
    EXPECT_EQ(exam->ui->Label10->text(), u"多选题 第10题");

    clickNumber(u"13"_qs);
    EXPECT_EQ(exam->ui->RzPageControl1->currentIndex(), 3);
    EXPECT_EQ(exam->ui->Label27->text(), u"正确答案(1-5)：A\\BC\\D\\AB\\C");
    EXPECT_TRUE(exam->ui->RzPanel24->isVisibleTo(exam));
    EXPECT_FALSE(exam->ui->RzPanel23->isVisibleTo(exam));

    clickNumber(u"15"_qs);
    EXPECT_EQ(exam->ui->Label27->text(), u"正确答案(1-5)：A\\B\\C\\D\\ABCD");
    clickNumber(u"12"_qs);
    EXPECT_EQ(exam->ui->Label27->text(), u"正确答案： 正确");
    clickNumber(u"16"_qs);
    EXPECT_EQ(exam->ui->Label27->text(), u"正确答案：");
    EXPECT_EQ(exam->ui->ed_wushi_ping->toPlainText(), u"实务解析");
}

TEST_F(ExamScreenTest, CalculationWithoutChoiceTypeShowsTheWrittenAnswerPanel)
{
    writeBank();
    addTypicalPaper();
    addQuestion(u"jsfx"_qs, u"17"_qs, {{u"leixing"_qs, u"答题型"_qs}, {u"myt2"_qs, u"借：库存现金 50"_qs}});
    openExam();
    clickNumber(u"14"_qs); // leixing empty
    EXPECT_EQ(exam->ui->RzPageControl1->currentIndex(), 3);
    EXPECT_TRUE(exam->ui->caozuoxing->isChecked());
    EXPECT_TRUE(exam->ui->RzPanel23->isVisibleTo(exam));
    EXPECT_FALSE(exam->ui->RzPanel24->isVisibleTo(exam));
    EXPECT_EQ(exam->ui->Label27->text(), u"正确答案：");

    clickNumber(u"13"_qs); // 选择型
    EXPECT_TRUE(exam->ui->xuanzexing->isChecked());
    EXPECT_FALSE(exam->ui->RzPanel23->isVisibleTo(exam));
    EXPECT_TRUE(exam->ui->RzPanel24->isVisibleTo(exam));

    // The written answers come back into the memos (emptied by loading, then written here).
    execute(u"update jsfx set myt2='借：库存现金 50' where tihao='17'"_qs);
    exam->ADOQuery_jsfx().close();
    exam->ADOQuery_jsfx().open(u"select * from jsfx where kemu=? and tao=? order by tihao"_qs,
                               {Subject, Paper});
    clickNumber(u"17"_qs);
    EXPECT_TRUE(exam->ui->RzPanel23->isVisibleTo(exam));
    EXPECT_EQ(exam->ui->ed_tishi_2->toPlainText(), u"借：库存现金 50");
    EXPECT_EQ(exam->ui->ed_tishi_1->toPlainText(), u"");
}

TEST_F(ExamScreenTest, RootClicksShowTheFirstQuestionOfTheKindOrOfTheNextKind)
{
    writeBank();
    addQuestion(u"dds"_qs, u"1"_qs, {{u"tou"_qs, u"单选一"_qs}});
    addQuestion(u"duo"_qs, u"2"_qs, {{u"tou"_qs, u"多选二"_qs}});
    addQuestion(u"duo"_qs, u"3"_qs);
    // No true/false question; calculation follows.
    addQuestion(u"jsfx"_qs, u"4"_qs, {{u"leixing"_qs, u"选择型"_qs}});
    addQuestion(u"anli"_qs, u"5"_qs, {{u"da1"_qs, u"b"_qs}});
    // No practical question: the last root is empty.
    openExam();

    clickNode(root(QuestionKind::MultipleChoice));
    EXPECT_EQ(tree()->currentItem(), node(u"2"_qs));
    EXPECT_EQ(exam->ui->Label10->text(), u"多选题 第2题");
    EXPECT_EQ(exam->dangqian_tihao, 1);

    clickNode(root(QuestionKind::TrueFalse));
    EXPECT_EQ(tree()->currentItem(), node(u"4"_qs));
    EXPECT_EQ(exam->ui->Label10->text(), u"计算分析 第4题");
    EXPECT_EQ(exam->dangqian_tihao, 3);

    clickNumber(u"5"_qs);
    EXPECT_EQ(exam->ui->Label27->text(), u"正确答案(1-5)：B\\\\\\\\");
    clickNode(root(QuestionKind::Practical));
    EXPECT_EQ(tree()->currentItem(), root(QuestionKind::Practical));
    EXPECT_EQ(exam->ui->Label27->text(), u"正确答案：");
    EXPECT_EQ(exam->ui->Label10->text(), u"案例分析 第5题");
    EXPECT_EQ(exam->dangqian_tihao, 4);
    EXPECT_EQ(exam->ui->RzPageControl1->currentIndex(), 4);
}

// The index is walked with the arrow keys: each question reached is shown, once (its option button
// posts its letter once), roots are passed over, and Enter on a root shows its first question.
TEST_F(ExamScreenTest, KeyboardMovesInTheIndexShowTheQuestionOnce)
{
    writeBank();
    addTypicalPaper();
    openExam();
    clickNumber(u"1"_qs);
    click(exam->ui->d_b);
    tree()->setFocus();
    QTest::keyClick(tree(), Qt::Key_Down);
    EXPECT_EQ(tree()->currentItem(), node(u"2"_qs));
    EXPECT_EQ(exam->ui->Label10->text(), u"单选题 第2题");
    EXPECT_EQ(exam->dangqian_tihao, 1);
    QTest::keyClick(tree(), Qt::Key_Down); // the root 多选题: passed over, nothing shown
    EXPECT_EQ(tree()->currentItem(), root(QuestionKind::MultipleChoice));
    EXPECT_EQ(exam->ui->Label10->text(), u"单选题 第2题");
    QTest::keyClick(tree(), Qt::Key_Down);
    EXPECT_EQ(exam->ui->Label10->text(), u"多选题 第10题");
    EXPECT_EQ(exam->ui->RzPageControl1->currentIndex(), 1);
    EXPECT_EQ(exam->ui->ed_duo_tou->toPlainText(), u"多选题十");

    // Back up to question 1: shown with its answer, which is posted exactly once.
    QTest::keyClick(tree(), Qt::Key_Up);
    QTest::keyClick(tree(), Qt::Key_Up);
    exam->ADOQuery_dds().database().execute(u"create temp table posts (n integer)"_qs);
    exam->ADOQuery_dds().database().execute(
        u"create temp trigger counted after update of xuan on dds begin insert into posts values (1); end"_qs);
    QTest::keyClick(tree(), Qt::Key_Up);
    EXPECT_EQ(exam->ui->Label10->text(), u"单选题 第1题");
    EXPECT_TRUE(exam->ui->d_b->isChecked());
    EXPECT_EQ(exam->ADOQuery_dds().database().queryText(u"select count(*) from posts"_qs), u"1");
    // A mouse click on another node posts once too, not once for the press and once for the release.
    clickNumber(u"2"_qs);
    clickNumber(u"1"_qs);
    EXPECT_EQ(exam->ADOQuery_dds().database().queryText(u"select count(*) from posts"_qs), u"2");

    // Enter on a root leads to its first question, as a click does.
    tree()->setCurrentItem(root(QuestionKind::TrueFalse));
    EXPECT_EQ(exam->ui->Label10->text(), u"单选题 第1题");
    QTest::keyClick(tree(), Qt::Key_Return);
    EXPECT_EQ(tree()->currentItem(), node(u"12"_qs));
    EXPECT_EQ(exam->ui->Label10->text(), u"是非题 第12题");
}

// A rich-text column that another tool stored as TEXT is shown as the text it is; a blob keeps
// the code page 936 reading.
TEST_F(ExamScreenTest, RichColumnsStoredAsTextShowTheirOwnCharacters)
{
    writeBank();
    execute(u"insert into dds (kemu, tao, tihao, tou, wei, ping) values (?, ?, '1', ?, ?, ?)"_qs,
            {Subject, Paper, u"中文题干，不是乱码"_qs, u"{\\rtf1\\ansi\\ansicpg936 选项：甲\\par 乙}"_qs,
             CodePage::encode(u"解析"_qs, CodePage::Ansi)});
    openExam();
    EXPECT_EQ(exam->ui->ed_dan_tou->toPlainText(), u"中文题干，不是乱码");
    EXPECT_EQ(exam->ui->ed_dan_wei->toPlainText(), u"选项：甲\n乙");
    EXPECT_EQ(exam->ui->ed_dan_ping->toPlainText(), u"解析");
}

TEST_F(ExamScreenTest, NodeWithoutItsRowSwitchesThePageAndKeepsItsContent)
{
    writeBank();
    addTypicalPaper();
    openExam();
    clickNumber(u"10"_qs);
    ASSERT_EQ(exam->ui->ed_duo_tou->toPlainText(), u"多选题十");
    exam->ADOQuery_duo().locate(u"tihao"_qs, u"11"_qs);
    exam->ADOQuery_duo().remove(); // the row is gone (deleted outside the program)
    clickNumber(u"2"_qs);
    clickNumber(u"11"_qs);
    EXPECT_EQ(exam->ui->RzPageControl1->currentIndex(), 1);
    EXPECT_EQ(exam->ui->Label10->text(), u"多选题 第11题");
    EXPECT_EQ(exam->ui->ed_duo_tou->toPlainText(), u"多选题十");
    EXPECT_EQ(exam->ui->ed_duoxuan_tihao->text(), u"10");
    EXPECT_EQ(exam->dangqian_tihao, 3);
}

TEST_F(ExamScreenTest, PracticalQuestionShrinksTheScreenToTheBottomStripUntilHandIn)
{
    writeBank();
    addTypicalPaper();
    openExam();
    exam->showMaximized();
    clickNumber(u"16"_qs);
    EXPECT_FALSE(exam->isMaximized());
    const QRect work = exam->screen()->availableGeometry();
    EXPECT_EQ(exam->frameGeometry().height(), 300);
    EXPECT_EQ(exam->frameGeometry().width(), work.width());
    EXPECT_EQ(exam->frameGeometry().bottom(), work.bottom());
    EXPECT_EQ(exam->ui->RzPageControl1->currentIndex(), 5);

    // Another practical question keeps the strip; another kind maximizes again.
    clickNumber(u"16"_qs);
    EXPECT_FALSE(exam->isMaximized());
    clickNumber(u"15"_qs);
    EXPECT_TRUE(exam->isMaximized());

    // After hand-in the practical page shows maximized.
    exam->ui->RzBmpButton3->setText(QStringLiteral("退出"));
    clickNumber(u"16"_qs);
    EXPECT_TRUE(exam->isMaximized());
}

TEST_F(ExamScreenTest, StoredAnswersComeBackIntoTheControls)
{
    writeBank();
    addTypicalPaper();
    openExam();
    execute(u"update duo set xuan='ca' where tihao='10'"_qs);
    execute(u"update dds set xuan=' a ' where tihao='1'"_qs);
    execute(u"update dds set xuan='c' where tihao='2'"_qs);
    execute(u"update sf set xuan='ab' where tihao='12'"_qs);
    execute(u"update anli set myc2='db', myc5='x' where tihao='15'"_qs);
    for (QuestionKind kind : allQuestionKinds()) {
        DataSet& set = exam->query(kind);
        set.close();
        set.open(
            QStringLiteral("select * from %1 where kemu=? and tao=? order by tihao").arg(kindTable(kind)),
            {Subject, Paper});
    }

    clickNumber(u"10"_qs);
    EXPECT_TRUE(exam->ui->du_a->isChecked());
    EXPECT_FALSE(exam->ui->du_b->isChecked());
    EXPECT_TRUE(exam->ui->du_c->isChecked());
    EXPECT_FALSE(exam->ui->du_d->isChecked());
    EXPECT_EQ(stored(u"duo"_qs, u"10"_qs, u"xuan"_qs), u"ca") << "setting boxes records nothing";
    EXPECT_EQ(TForm6::nodeImage(node(u"10"_qs)), TForm6::ImageUnanswered);

    // Blanks around a single-choice letter select no button.
    clickNumber(u"1"_qs);
    for (QRadioButton* button : {exam->ui->d_a, exam->ui->d_b, exam->ui->d_c, exam->ui->d_d})
        EXPECT_FALSE(button->isChecked());
    EXPECT_EQ(stored(u"dds"_qs, u"1"_qs, u"xuan"_qs), u" a ");
    EXPECT_EQ(TForm6::nodeImage(node(u"1"_qs)), TForm6::ImageUnanswered);

    // A stored letter selects its button, which records it again and marks the node.
    clickNumber(u"2"_qs);
    EXPECT_TRUE(exam->ui->d_c->isChecked());
    EXPECT_EQ(stored(u"dds"_qs, u"2"_qs, u"xuan"_qs), u"c");
    EXPECT_EQ(TForm6::nodeImage(node(u"2"_qs)), TForm6::ImageAnswered);
    clickNumber(u"1"_qs);
    EXPECT_FALSE(exam->ui->d_c->isChecked()) << "the buttons are cleared for the next question";

    // True/false: "正确" then "错误" are selected in turn, each recording its letter.
    clickNumber(u"12"_qs);
    EXPECT_FALSE(exam->ui->shi_true->isChecked());
    EXPECT_TRUE(exam->ui->shi_false->isChecked());
    EXPECT_EQ(stored(u"sf"_qs, u"12"_qs, u"xuan"_qs), u"b");

    clickNumber(u"15"_qs);
    EXPECT_TRUE(exam->ui->ck_anli_2_b->isChecked());
    EXPECT_TRUE(exam->ui->ck_anli_2_d->isChecked());
    EXPECT_FALSE(exam->ui->ck_anli_2_a->isChecked());
    EXPECT_FALSE(exam->ui->ck_anli_5_a->isChecked());
    EXPECT_FALSE(exam->ui->ck_anli_1_a->isChecked());
}

TEST_F(ExamScreenTest, NumberSearchVisitsEveryNodeAndNeverEmptiesTheHit)
{
    writeBank();
    addTypicalPaper();
    openExam();
    exam->nodetext.clear();
    exam->find_nodetext(tree()->topLevelItem(0), u" 15 "_qs);
    EXPECT_EQ(exam->nodetext, u" 15 ");
    exam->find_nodetext(tree()->topLevelItem(0), u"99"_qs);
    EXPECT_EQ(exam->nodetext, u" 15 ") << "a miss leaves the earlier hit";
    exam->nodetext.clear();
    exam->find_nodetext(tree()->topLevelItem(0), u"实务操作"_qs);
    EXPECT_EQ(exam->nodetext, u"实务操作") << "roots are visited too";
    exam->nodetext.clear();
    exam->find_nodetext(tree()->topLevelItem(3), u"1"_qs);
    EXPECT_TRUE(exam->nodetext.isEmpty()) << "the search starts at the given node";
}

TEST_F(ExamScreenTest, RevisitingAfterHandInRemarksOptionButtonQuestionsOnly)
{
    writeBank();
    addTypicalPaper();
    openExam();
    clickNumber(u"2"_qs);
    click(exam->ui->d_a); // wrong: the answer is c
    clickNumber(u"10"_qs);
    click(exam->ui->du_b); // wrong: the answer is ac
    clickNumber(u"12"_qs);
    click(exam->ui->shi_false); // wrong: the answer is a

    Dialogs::queueAnswer(true);
    click(exam->ui->RzBmpButton3);
    for (const QString& number : {u"1"_qs, u"2"_qs, u"10"_qs, u"12"_qs})
        ASSERT_EQ(TForm6::nodeImage(node(number)), TForm6::ImageWrong) << number.toStdString();
    ASSERT_EQ(exam->ui->RzBmpButton3->text(), u"退出");

    clickNumber(u"2"_qs);
    EXPECT_EQ(TForm6::nodeImage(node(u"2"_qs)), TForm6::ImageAnswered)
        << "restoring selects the button again";
    EXPECT_EQ(stored(u"dds"_qs, u"2"_qs, u"xuan"_qs), u"a");
    clickNumber(u"12"_qs);
    EXPECT_EQ(TForm6::nodeImage(node(u"12"_qs)), TForm6::ImageAnswered);
    EXPECT_EQ(stored(u"sf"_qs, u"12"_qs, u"xuan"_qs), u"b");
    clickNumber(u"10"_qs);
    EXPECT_EQ(TForm6::nodeImage(node(u"10"_qs)), TForm6::ImageWrong) << "setting boxes records nothing";
    clickNumber(u"1"_qs);
    EXPECT_EQ(TForm6::nodeImage(node(u"1"_qs)), TForm6::ImageWrong) << "unanswered stays marked";
}
