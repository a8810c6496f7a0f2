// The five answer buttons of written calculation sub-questions: the calculator, then the memo's
// text recorded through the recording step.
#include "ExamScreenFixture.h"

#include "Unit7.h"
#include "ui_Unit7.h"

#include <QApplication>
#include <QPlainTextEdit>

#include <functional>

using namespace tarnex;
using namespace tarnex::test;

namespace {

class WrittenAnswerTest : public ExamScreenTest
{
protected:
    void SetUp() override
    {
        ExamScreenTest::SetUp();
        writeBank();
        addTypicalPaper();
        folder.copyFromOutput(u"kjkm.dat"_qs);
        openExam();
        clickNumber(u"14"_qs);
        ASSERT_TRUE(exam->ui->RzPanel23->isVisible());
        Dialogs::takeShown();
    }

    // Presses the answer button and works the calculator that opens with `work`.
    void answerWith(QPushButton* button, const std::function<void(TForm7*)>& work)
    {
        bool opened = false;
        // Should the calculator stay open, a failure is better than a hang.
        QTimer::singleShot(5000, [] {
            if (QWidget* modal = QApplication::activeModalWidget())
                modal->close();
        });
        QTimer::singleShot(0, [&] {
            auto* calculator = qobject_cast<TForm7*>(QApplication::activeModalWidget());
            ASSERT_NE(calculator, nullptr);
            opened = true;
            work(calculator);
        });
        click(button);
        EXPECT_TRUE(opened);
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    }

    static void addLine(TForm7* calculator, int direction, const QString& subject, const QString& amount)
    {
        calculator->ui->RzComboBox2->setCurrentIndex(direction);
        calculator->ui->Edit2->setText(subject);
        calculator->ui->Edit3->setText(amount);
        calculator->ui->BitBtn2->click();
    }
};

TEST_F(WrittenAnswerTest, SavedLinesGoIntoTheMemoAndTheTrimmedTextIntoTheColumn)
{
    answerWith(exam->ui->BitBtn3, [](TForm7* calculator) {
        EXPECT_EQ(calculator->ui->Label1->text(), u"2");
        addLine(calculator, 0, u"库存现金"_qs, u"1000"_qs);
        addLine(calculator, 1, u"银行存款"_qs, u"1000"_qs);
        calculator->ui->BitBtn5->click();
    });
    EXPECT_EQ(exam->ui->ed_tishi_2->toPlainText(), u"借，库存现金,1000  贷，银行存款,1000  ");
    EXPECT_EQ(stored(u"jsfx"_qs, u"14"_qs, u"myt2"_qs), u"借，库存现金,1000  贷，银行存款,1000");
    EXPECT_EQ(TForm6::nodeImage(node(u"14"_qs)), TForm6::ImageAnswered);
    for (const QString& column : {u"myt1"_qs, u"myt3"_qs, u"myt4"_qs, u"myt5"_qs})
        EXPECT_EQ(stored(u"jsfx"_qs, u"14"_qs, column), u"") << column.toStdString();
    EXPECT_TRUE(Dialogs::takeShown().isEmpty());

    // Showing the question again brings the stored text back into the memo.
    clickNumber(u"13"_qs);
    clickNumber(u"14"_qs);
    EXPECT_EQ(exam->ui->ed_tishi_2->toPlainText(), u"借，库存现金,1000  贷，银行存款,1000");
}

TEST_F(WrittenAnswerTest, EachButtonServesItsOwnSubQuestion)
{
    const std::array<QPushButton*, 5> buttons = {exam->ui->BitBtn2, exam->ui->BitBtn3, exam->ui->BitBtn4,
                                                 exam->ui->BitBtn5, exam->ui->BitBtn6};
    for (int n = 1; n <= 5; ++n) {
        answerWith(buttons.at(std::size_t(n - 1)), [n](TForm7* calculator) {
            EXPECT_EQ(calculator->ui->Label1->text(), QString::number(n));
            addLine(calculator, 0, u"原材料"_qs, QString::number(n * 100));
            calculator->ui->BitBtn5->click();
        });
    }
    for (int n = 1; n <= 5; ++n)
        EXPECT_EQ(stored(u"jsfx"_qs, u"14"_qs, QStringLiteral("myt%1").arg(n)),
                  QStringLiteral("借，原材料,%1").arg(n * 100));
}

TEST_F(WrittenAnswerTest, ClosedUnsavedWithAnEmptyMemoRecordsNothing)
{
    answerWith(exam->ui->BitBtn4, [](TForm7* calculator) {
        addLine(calculator, 0, u"库存现金"_qs, u"5"_qs);
        calculator->close();
    });
    EXPECT_TRUE(exam->ui->ed_tishi_3->toPlainText().isEmpty());
    EXPECT_EQ(TForm6::nodeImage(node(u"14"_qs)), TForm6::ImageUnanswered);

    // The column keeps an earlier value when the memo is emptied by hand and nothing is saved.
    answerWith(exam->ui->BitBtn4, [](TForm7* calculator) {
        addLine(calculator, 0, u"库存现金"_qs, u"5"_qs);
        calculator->ui->BitBtn5->click();
    });
    EXPECT_EQ(stored(u"jsfx"_qs, u"14"_qs, u"myt3"_qs), u"借，库存现金,5");
    exam->ui->ed_tishi_3->setPlainText(u" \r\n "_qs);
    answerWith(exam->ui->BitBtn4, [](TForm7* calculator) { calculator->close(); });
    EXPECT_EQ(stored(u"jsfx"_qs, u"14"_qs, u"myt3"_qs), u"借，库存现金,5");
}

TEST_F(WrittenAnswerTest, TextTypedIntoTheMemoIsStoredWhenTheCalculatorCloses)
{
    exam->ui->ed_tishi_4->setPlainText(u"\r\n  借：管理费用 300\r\n贷：库存现金 300 \r\n"_qs);
    EXPECT_EQ(stored(u"jsfx"_qs, u"14"_qs, u"myt4"_qs), u"") << "typing alone stores nothing";
    answerWith(exam->ui->BitBtn5, [](TForm7* calculator) { calculator->close(); });
    // The memo keeps its lines with line feeds; the blanks and breaks around the text go.
    EXPECT_EQ(stored(u"jsfx"_qs, u"14"_qs, u"myt4"_qs), u"借：管理费用 300\n贷：库存现金 300");
    EXPECT_EQ(TForm6::nodeImage(node(u"14"_qs)), TForm6::ImageAnswered);
}

// The memos take typing while the candidate answers, corrections included; after the hand-in
// they go inert with their panel.
TEST_F(WrittenAnswerTest, MemosTakeTypingUntilTheHandIn)
{
    QPlainTextEdit* memo = exam->ui->ed_tishi_2;
    EXPECT_FALSE(memo->isReadOnly());
    memo->setFocus();
    QTest::keyClicks(memo, u"jie"_qs);
    QTest::keyClick(memo, Qt::Key_Backspace);
    QTest::keyClicks(memo, u"ie 100"_qs);
    EXPECT_EQ(memo->toPlainText(), u"jiie 100");
    answerWith(exam->ui->BitBtn3, [](TForm7* calculator) { calculator->close(); });
    EXPECT_EQ(stored(u"jsfx"_qs, u"14"_qs, u"myt2"_qs), u"jiie 100");

    Dialogs::queueAnswer(true);
    click(exam->ui->RzBmpButton3);
    EXPECT_FALSE(memo->isEnabled());
    QTest::keyClicks(memo, u"x"_qs);
    EXPECT_EQ(memo->toPlainText(), u"jiie 100");
}

TEST_F(WrittenAnswerTest, NothingIsRecordedWhileARootIsSelected)
{
    // The keyboard moved the selection to a root: the page still shows question 14.
    tree()->setCurrentItem(root(QuestionKind::Calculation));
    answerWith(exam->ui->BitBtn2, [](TForm7* calculator) {
        addLine(calculator, 0, u"库存现金"_qs, u"7"_qs);
        calculator->ui->BitBtn5->click();
    });
    EXPECT_EQ(exam->ui->ed_tishi_1->toPlainText(), u"借，库存现金,7  ");
    EXPECT_EQ(stored(u"jsfx"_qs, u"14"_qs, u"myt1"_qs), u"");
    EXPECT_EQ(TForm6::nodeImage(root(QuestionKind::Calculation)), TForm6::ImageRoot);
}

} // namespace
