// Sitting the delivered paper 会计基础 试题一 from start to end on a copy of the built bank.
#include "ExamScreenFixture.h"

#include "Unit7.h"
#include "ui_Unit7.h"

#include "platform/IniFile.h"

#include <QApplication>
#include <QFile>

using namespace tarnex;
using namespace tarnex::test;

TEST_F(ExamScreenTest, SittingTheDeliveredPaperStoresEveryAnswerAndHandsItIn)
{
    folder.copyFromOutput(u"kstk.dat"_qs);
    folder.copyFromOutput(u"titao.dat"_qs);
    folder.copyFromOutput(u"kjkm.dat"_qs);
    startProgram();
    mainWindow->show();
    ASSERT_EQ(mainWindow->ui->kemu->text(), u"会计基础");
    ASSERT_EQ(mainWindow->ui->RzComboBox2->currentText(), u"试题一");
    EXPECT_EQ(mainWindow->ui->Memo1->toPlainText(), u"试题一\n试题二");

    startExam(QStringLiteral("370102199001011234"));
    ASSERT_NE(exam, nullptr);
    ASSERT_EQ(exam->tihaolist.size(), 63);
    // A full paper: 20 + 20 + 20 objective questions, two calculation questions, one case question
    // and no practical one in this subject.
    EXPECT_EQ(root(QuestionKind::SingleChoice)->childCount(), 20);
    EXPECT_EQ(root(QuestionKind::MultipleChoice)->childCount(), 20);
    EXPECT_EQ(root(QuestionKind::TrueFalse)->childCount(), 20);
    EXPECT_EQ(root(QuestionKind::Calculation)->childCount(), 2);
    EXPECT_EQ(root(QuestionKind::Case)->childCount(), 1);
    EXPECT_EQ(root(QuestionKind::Practical)->childCount(), 0);
    QStringList inOrder;
    for (int n = 1; n <= 63; ++n)
        inOrder.append(QString::number(n));
    EXPECT_EQ(exam->tihaolist.entries(), inOrder);
    EXPECT_EQ(exam->ui->Label10->text(), u"单选题 第1题");
    EXPECT_FALSE(exam->ui->ed_dan_tou->toPlainText().isEmpty());
    EXPECT_TRUE(exam->ui->ed_dan_wei->toPlainText().contains(u"会计主体"));
    EXPECT_EQ(exam->ui->Label31->text(), u"诚信考试");

    // Single choice 1 by the tree, 2 by "下一题".
    click(exam->ui->d_a);
    QTest::mouseClick(exam->ui->RzBmpButton1, Qt::LeftButton);
    EXPECT_EQ(exam->ui->Label10->text(), u"单选题 第2题");
    click(exam->ui->d_c);
    // Multiple choice 21, ticked out of order.
    clickNumber(u"21"_qs);
    EXPECT_EQ(exam->ui->RzPageControl1->currentIndex(), 1);
    click(exam->ui->du_d);
    click(exam->ui->du_a);
    // True/false 41 by the root of its kind.
    clickNode(root(QuestionKind::TrueFalse));
    EXPECT_EQ(exam->ui->Label10->text(), u"是非题 第41题");
    click(exam->ui->shi_false);
    // Calculation 61 (choice type) and 62 (written answers).
    clickNumber(u"61"_qs);
    EXPECT_TRUE(exam->ui->RzPanel24->isVisible());
    click(exam->ui->ck_1_b);
    click(exam->ui->ck_4_d);
    click(exam->ui->ck_4_a);
    clickNumber(u"62"_qs);
    EXPECT_TRUE(exam->ui->RzPanel23->isVisible());
    EXPECT_FALSE(exam->ui->RzPanel24->isVisible());
    // The first sub-question's answer composed in the calculator: a subject picked in the tree,
    // another typed.
    QTimer::singleShot(5000, [] {
        if (QWidget* modal = QApplication::activeModalWidget())
            modal->close();
    });
    QTimer::singleShot(0, [] {
        auto* calculator = qobject_cast<TForm7*>(QApplication::activeModalWidget());
        ASSERT_NE(calculator, nullptr);
        Ui::TForm7* form = calculator->ui;
        QTest::mouseClick(form->BitBtn1, Qt::LeftButton);
        const auto found = form->RzTreeView1->findItems(u"原材料"_qs, Qt::MatchExactly | Qt::MatchRecursive);
        ASSERT_EQ(found.size(), 1);
        form->RzTreeView1->setCurrentItem(found.first());
        calculator->RzTreeView1DblClick();
        form->Edit3->setText(u"1000"_qs);
        form->BitBtn2->click();
        form->RzComboBox2->setCurrentIndex(1);
        form->Edit2->setText(u"银行存款"_qs);
        form->BitBtn2->click();
        form->BitBtn5->click();
    });
    click(exam->ui->BitBtn2);
    EXPECT_EQ(exam->ui->ed_tishi_1->toPlainText(), u"借，原材料,1000  贷，银行存款,1000  ");
    // Case 63 by "下一题" from 62, "上一题" back to 62 and "下一题" again; 63 is the last question.
    QTest::mouseClick(exam->ui->RzBmpButton1, Qt::LeftButton);
    EXPECT_EQ(exam->ui->Label10->text(), u"案例分析 第63题");
    QTest::mouseClick(exam->ui->RzBmpButton2, Qt::LeftButton);
    EXPECT_EQ(exam->ui->Label10->text(), u"计算分析 第62题");
    QTest::mouseClick(exam->ui->RzBmpButton1, Qt::LeftButton);
    EXPECT_EQ(exam->ui->Label10->text(), u"案例分析 第63题");
    EXPECT_FALSE(exam->ui->ed_anli_tou->toPlainText().isEmpty());
    click(exam->ui->ck_anli_2_c);
    click(exam->ui->ck_anli_5_b);
    Dialogs::takeShown();
    QTest::mouseClick(exam->ui->RzBmpButton1, Qt::LeftButton);
    const auto atEnd = Dialogs::takeShown();
    ASSERT_EQ(atEnd.size(), 1);
    EXPECT_EQ(atEnd[0].text, u"已经到最后一题了！");
    EXPECT_EQ(exam->ui->Label10->text(), u"案例分析 第63题");
    // Without a practical question the window never turns into the strip.
    EXPECT_TRUE(exam->isMaximized());
    clickNumber(u"1"_qs);
    EXPECT_TRUE(exam->isMaximized());
    EXPECT_TRUE(exam->ui->d_a->isChecked());

    for (const QString& number : {u"1"_qs, u"2"_qs, u"21"_qs, u"41"_qs, u"61"_qs, u"62"_qs, u"63"_qs})
        EXPECT_EQ(TForm6::nodeImage(node(number)), TForm6::ImageAnswered) << number.toStdString();
    for (const QString& number : {u"3"_qs, u"20"_qs, u"22"_qs, u"40"_qs, u"42"_qs, u"60"_qs})
        EXPECT_EQ(TForm6::nodeImage(node(number)), TForm6::ImageUnanswered) << number.toStdString();

    // Read back with a connection of its own: every answer is in the file.
    auto db = Database::open(folder.file(u"kstk.dat"_qs), Database::BankPassword);
    auto read = [&](const QString& table, const QString& number, const QString& column) {
        return db->queryText(
            QStringLiteral("select %1 from %2 where kemu='会计基础' and tao='试题一' and tihao=?")
                .arg(column, table),
            {number});
    };
    EXPECT_EQ(read(u"dds"_qs, u"1"_qs, u"xuan"_qs), u"a");
    EXPECT_EQ(read(u"dds"_qs, u"2"_qs, u"xuan"_qs), u"c");
    EXPECT_EQ(read(u"dds"_qs, u"3"_qs, u"xuan"_qs), u"");
    EXPECT_EQ(read(u"duo"_qs, u"21"_qs, u"xuan"_qs), u"ad");
    EXPECT_EQ(read(u"sf"_qs, u"41"_qs, u"xuan"_qs), u"b");
    EXPECT_EQ(read(u"jsfx"_qs, u"61"_qs, u"myc1"_qs), u"b");
    EXPECT_EQ(read(u"jsfx"_qs, u"61"_qs, u"myc4"_qs), u"ad");
    EXPECT_EQ(read(u"jsfx"_qs, u"61"_qs, u"myc2"_qs), u"");
    EXPECT_EQ(read(u"jsfx"_qs, u"62"_qs, u"myt1"_qs), u"借，原材料,1000  贷，银行存款,1000");
    EXPECT_EQ(read(u"anli"_qs, u"63"_qs, u"myc2"_qs), u"c");
    EXPECT_EQ(read(u"anli"_qs, u"63"_qs, u"myc5"_qs), u"b");
    EXPECT_EQ(read(u"anli"_qs, u"63"_qs, u"myc1"_qs), u"");

    // Hand-in: 1 and 41 are right; 2 (c for b) and 21 (ad for ac) wrong; the rest unanswered.
    Dialogs::takeShown();
    Dialogs::queueAnswer(true);
    click(exam->ui->RzBmpButton3);
    const auto shown = Dialogs::takeShown();
    ASSERT_EQ(shown.size(), 2);
    EXPECT_EQ(shown[0].text, u"确实要交卷吗？");
    EXPECT_EQ(shown[1].kind, Dialogs::Kind::Information);
    EXPECT_EQ(
        shown[1].text,
        u"单选、多选、是非题，答对数：2 题\n\r其它题型 答对数：未统计\n\r正确率不足30% 亲 你还得努力！");

    // The review: every objective question but 1 and 41 marked, the others as they were.
    for (int n = 1; n <= 60; ++n) {
        const QString number = QString::number(n);
        const int expected = (n == 1 || n == 41) ? TForm6::ImageAnswered : TForm6::ImageWrong;
        EXPECT_EQ(TForm6::nodeImage(node(number)), expected) << n;
    }
    for (const QString& number : {u"61"_qs, u"62"_qs, u"63"_qs})
        EXPECT_EQ(TForm6::nodeImage(node(number)), TForm6::ImageAnswered) << number.toStdString();
    clickNumber(u"2"_qs);
    EXPECT_TRUE(exam->isMaximized());
    EXPECT_TRUE(exam->ui->d_c->isChecked());
    EXPECT_FALSE(exam->ui->RzPanel11->isEnabled());
    EXPECT_TRUE(exam->ui->ed_dan_ping->isVisible());
    EXPECT_TRUE(exam->ui->ed_dan_ping->toPlainText().contains(u"所有者权益 = 资产 - 负债"));
    EXPECT_TRUE(exam->ui->Label27->isVisible());
    EXPECT_EQ(exam->ui->Label27->text(), u"正确答案：B");
    EXPECT_EQ(TForm6::nodeImage(node(u"2"_qs)), TForm6::ImageAnswered) << "its button was selected again";
    // The case question shows its analysis and the keys of its five sub-questions.
    clickNumber(u"63"_qs);
    EXPECT_TRUE(exam->isMaximized());
    EXPECT_FALSE(exam->ui->RzPanel27->isEnabled());
    EXPECT_TRUE(exam->ui->ck_anli_2_c->isChecked());
    EXPECT_TRUE(exam->ui->ed_anli_ping->isVisible());
    EXPECT_FALSE(exam->ui->ed_anli_ping->toPlainText().isEmpty());
    EXPECT_EQ(exam->ui->Label27->text(), u"正确答案(1-5)：A\\C\\B\\C\\BCD");

    // ci.ini afterwards.
    const IniFile ini(folder.file(u"ci.ini"_qs));
    EXPECT_EQ(ini.readInt(u"ci"_qs, u"san"_qs, 0), 2);
    EXPECT_EQ(ini.readInt(u"ci"_qs, u"liu"_qs, 0), 1);
    EXPECT_EQ(ini.readInt(u"ci"_qs, u"jiu"_qs, 0), 1);

    // "退出" ends the program without asking.
    click(exam->ui->RzBmpButton3);
    EXPECT_EQ(quitCalls, 1);
    EXPECT_TRUE(Dialogs::takeShown().isEmpty());
}
