// Sitting the delivered demo paper from start to end on a copy of the built bank.
#include "ExamScreenFixture.h"

#include <QFile>

using namespace tarnex;
using namespace tarnex::test;

TEST_F(ExamScreenTest, SittingTheDemoPaperStoresEveryAnswerInTheFile)
{
    folder.copyFromOutput(u"kstk.dat"_qs);
    folder.copyFromOutput(u"titao.dat"_qs);
    startProgram();
    mainWindow->show();
    ASSERT_EQ(mainWindow->ui->kemu->text(), u"会计基础");
    ASSERT_EQ(mainWindow->ui->RzComboBox2->currentText(), u"试题一");

    startExam(QStringLiteral("370102199001011234"));
    ASSERT_NE(exam, nullptr);
    ASSERT_EQ(exam->tihaolist.size(), 40);
    EXPECT_EQ(exam->ui->Label10->text(), u"单选题 第1题");
    EXPECT_FALSE(exam->ui->ed_dan_tou->toPlainText().isEmpty());
    EXPECT_TRUE(exam->ui->ed_dan_wei->toPlainText().contains(u"会计主体"));
    EXPECT_EQ(exam->ui->Label31->text(), u"诚信考试");

    // Single choice 1 by the tree, 2 by "下一题".
    click(exam->ui->d_a);
    QTest::mouseClick(exam->ui->RzBmpButton1, Qt::LeftButton);
    EXPECT_EQ(exam->ui->Label10->text(), u"单选题 第2题");
    click(exam->ui->d_c);
    // Multiple choice 11, ticked out of order.
    clickNumber(u"11"_qs);
    EXPECT_EQ(exam->ui->RzPageControl1->currentIndex(), 1);
    click(exam->ui->du_d);
    click(exam->ui->du_a);
    // True/false 18 by the root of its kind.
    clickNode(root(QuestionKind::TrueFalse));
    EXPECT_EQ(exam->ui->Label10->text(), u"是非题 第18题");
    click(exam->ui->shi_false);
    // Calculation 26 (choice type) and 29 (written answers).
    clickNumber(u"26"_qs);
    EXPECT_TRUE(exam->ui->RzPanel24->isVisible());
    click(exam->ui->ck_1_b);
    click(exam->ui->ck_4_d);
    click(exam->ui->ck_4_a);
    clickNumber(u"29"_qs);
    EXPECT_TRUE(exam->ui->RzPanel23->isVisible());
    EXPECT_FALSE(exam->ui->RzPanel24->isVisible());
    // The calculator records written answers with the recording step.
    exam->recordAnswer(exam->ADOQuery_jsfx(), u"myt1"_qs, u"借：原材料 1000\r\n贷：银行存款 1000"_qs);
    // Case 31 by "上一题" from 32.
    clickNumber(u"32"_qs);
    QTest::mouseClick(exam->ui->RzBmpButton2, Qt::LeftButton);
    EXPECT_EQ(exam->ui->Label10->text(), u"案例分析 第31题");
    click(exam->ui->ck_anli_2_c);
    click(exam->ui->ck_anli_5_b);
    // Practical 36: the strip; back to 1 maximizes.
    clickNumber(u"36"_qs);
    EXPECT_FALSE(exam->isMaximized());
    EXPECT_FALSE(exam->ui->ed_wushi_tou->toPlainText().isEmpty());
    clickNumber(u"1"_qs);
    EXPECT_TRUE(exam->isMaximized());
    EXPECT_TRUE(exam->ui->d_a->isChecked());

    for (const QString& number : {u"1"_qs, u"2"_qs, u"11"_qs, u"18"_qs, u"26"_qs, u"29"_qs, u"31"_qs})
        EXPECT_EQ(TForm6::nodeImage(node(number)), TForm6::ImageAnswered) << number.toStdString();
    for (const QString& number : {u"3"_qs, u"12"_qs, u"27"_qs, u"32"_qs, u"36"_qs})
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
    EXPECT_EQ(read(u"duo"_qs, u"11"_qs, u"xuan"_qs), u"ad");
    EXPECT_EQ(read(u"sf"_qs, u"18"_qs, u"xuan"_qs), u"b");
    EXPECT_EQ(read(u"jsfx"_qs, u"26"_qs, u"myc1"_qs), u"b");
    EXPECT_EQ(read(u"jsfx"_qs, u"26"_qs, u"myc4"_qs), u"ad");
    EXPECT_EQ(read(u"jsfx"_qs, u"26"_qs, u"myc2"_qs), u"");
    EXPECT_EQ(read(u"jsfx"_qs, u"29"_qs, u"myt1"_qs), u"借：原材料 1000\r\n贷：银行存款 1000");
    EXPECT_EQ(read(u"anli"_qs, u"31"_qs, u"myc2"_qs), u"c");
    EXPECT_EQ(read(u"anli"_qs, u"31"_qs, u"myc5"_qs), u"b");
    EXPECT_EQ(read(u"anli"_qs, u"31"_qs, u"myc1"_qs), u"");
}
