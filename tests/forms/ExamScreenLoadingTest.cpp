// Creation of the exam screen and the loading of a paper.
#include "ExamScreenFixture.h"

#include "platform/IniFile.h"

#include <QFile>
#include <QScreen>
#include <QTabWidget>

using namespace tarnex;
using namespace tarnex::test;

namespace {

QStringList childTexts(const QTreeWidgetItem* root)
{
    QStringList texts;
    for (int i = 0; i < root->childCount(); ++i)
        texts.append(root->child(i)->text(0));
    return texts;
}

} // namespace

TEST_F(ExamScreenTest, CreationReadsTheLinesTheCountersAndStartsTheCountdown)
{
    writeBank();
    addTypicalPaper();
    IniFile ini(folder.file(u"ci.ini"_qs));
    ini.writeInt(u"ci"_qs, u"san"_qs, 4);
    ini.writeInt(u"ci"_qs, u"jiu"_qs, -2);
    ini.save();
    openExam();

    EXPECT_EQ(exam->counters.san, 4);
    EXPECT_EQ(exam->counters.liu, 1) << "missing key";
    EXPECT_EQ(exam->counters.jiu, -2);
    EXPECT_EQ(exam->countdown.minutes(), 60);
    EXPECT_EQ(exam->ui->Label31->text(), u"第一行");
    EXPECT_EQ(exam->ui->Label28->text(), u"第二行");
    EXPECT_EQ(exam->ui->Label29->text(), u"第三行");
    EXPECT_EQ(exam->ui->Label30->text(), u"第四行");
    EXPECT_EQ(exam->ui->Label32->text(), u" 底部一行 ");
    EXPECT_EQ(exam->ui->Label7->text(), u"60");
    EXPECT_TRUE(exam->Timer2->isActive());
    EXPECT_EQ(exam->Timer2->interval(), 60000);
    EXPECT_FALSE(exam->Timer1->isActive()) << "摄像头 not ticked";
    EXPECT_TRUE(exam->ui->Image1->isVisibleTo(exam));
    EXPECT_FALSE(exam->ui->Panel1->isVisibleTo(exam));
    EXPECT_EQ(exam->ui->RzPanel4->title(), u"视频");
    EXPECT_EQ(exam->ui->RzDateTimePicker1->dateTime(), Clock::now());
    EXPECT_FALSE(QFile::exists(folder.file(u"ci.ini.new"_qs)));
}

TEST_F(ExamScreenTest, MissingCounterFileGivesOnesAndIsNotCreated)
{
    writeBank();
    openExam();
    EXPECT_EQ(exam->counters.san, 1);
    EXPECT_EQ(exam->counters.liu, 1);
    EXPECT_EQ(exam->counters.jiu, 1);
    EXPECT_FALSE(QFile::exists(folder.file(u"ci.ini"_qs)));
}

TEST_F(ExamScreenTest, CameraChoiceSchedulesThePreview)
{
    writeBank();
    addTypicalPaper();
    startProgram();
    mainWindow->ui->CheckBox1->setChecked(true);
    openExam();
    EXPECT_TRUE(exam->Timer1->isActive());
    EXPECT_EQ(exam->Timer1->interval(), 1000);
    EXPECT_FALSE(exam->ui->Image1->isVisibleTo(exam));
    EXPECT_TRUE(exam->ui->Panel1->isVisibleTo(exam));
}

TEST_F(ExamScreenTest, IndexListsEveryKindInNumberOrderAndTheNavigationFollowsIt)
{
    writeBank();
    addTypicalPaper();
    // Another paper and another subject stay out of the index.
    addQuestion(u"dds"_qs, u"3"_qs, {}, u"试题二"_qs);
    addQuestion(u"dds"_qs, u"4"_qs, {}, Paper, u"财经法规与会计职业道德"_qs);
    openExam();

    const QStringList roots = {u"单选题"_qs,   u"多选题"_qs,   u"是非题"_qs,
                               u"计算分析"_qs, u"案例分析"_qs, u"实务操作"_qs};
    ASSERT_EQ(tree()->topLevelItemCount(), 6);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(tree()->topLevelItem(i)->text(0), roots.at(i));
        EXPECT_EQ(TForm6::nodeImage(tree()->topLevelItem(i)), TForm6::ImageRoot);
        EXPECT_TRUE(tree()->topLevelItem(i)->isExpanded());
    }
    EXPECT_EQ(exam->Node_dan, root(QuestionKind::SingleChoice));
    EXPECT_EQ(exam->node_ws, root(QuestionKind::Practical));
    EXPECT_EQ(childTexts(exam->Node_dan), (QStringList{u"1"_qs, u"2"_qs}));
    EXPECT_EQ(childTexts(exam->node_duo), (QStringList{u"10"_qs, u"11"_qs}));
    EXPECT_EQ(childTexts(exam->node_js), (QStringList{u"13"_qs, u"14"_qs}));
    EXPECT_EQ(childTexts(exam->node_ws), QStringList{u"16"_qs});
    EXPECT_EQ(exam->tihaolist.entries(), (QStringList{u"1"_qs, u"2"_qs, u"10"_qs, u"11"_qs, u"12"_qs,
                                                      u"13"_qs, u"14"_qs, u"15"_qs, u"16"_qs}));
    for (const QString& number : exam->tihaolist.entries())
        EXPECT_EQ(TForm6::nodeImage(node(number)), TForm6::ImageUnanswered);
    const QIcon rootIcon = root(QuestionKind::Case)->icon(0);
    const QIcon questionIcon = node(u"15"_qs)->icon(0);
    ASSERT_FALSE(rootIcon.isNull());
    ASSERT_FALSE(questionIcon.isNull());
    EXPECT_EQ(questionIcon.availableSizes(), QList<QSize>{QSize(16, 16)});
    EXPECT_NE(rootIcon.pixmap(16, 16).toImage(), questionIcon.pixmap(16, 16).toImage());

    EXPECT_EQ(exam->dangqian_tihao, 0);
    EXPECT_EQ(tree()->currentItem(), node(u"1"_qs));
    EXPECT_EQ(exam->ui->RzPageControl1->currentIndex(), 0);
    EXPECT_EQ(exam->ui->Label10->text(), u"单选题 第1题");
    EXPECT_EQ(exam->ui->ed_dan_tou->toPlainText(), u"单选题一");
    EXPECT_EQ(exam->ui->ed_dan_wei->toPlainText(), u"选项一");
    EXPECT_EQ(exam->ui->ed_dan_tihao->text(), u"1");
    EXPECT_EQ(exam->ui->Label27->text(), u"正确答案：B");
    EXPECT_FALSE(exam->ui->Label27->isVisibleTo(exam));
}

TEST_F(ExamScreenTest, SubjectAndPaperAreTrimmedBeforeTheyEnterTheQueries)
{
    writeBank(QStringLiteral(" 试题一\t\r\n"));
    addTypicalPaper();
    startProgram();
    mainWindow->ui->kemu->setText(QStringLiteral("  会计基础 "));
    openExam();
    EXPECT_EQ(exam->tihaolist.size(), 9);
    EXPECT_EQ(exam->ui->Label10->text(), u"单选题 第1题");
}

// Values that would break a statement built by splicing are plain data for bound parameters.
TEST_F(ExamScreenTest, QuotesInThePaperNameAreData)
{
    writeBank(QStringLiteral("试题' or '1'='1\r\n"));
    addTypicalPaper();
    addQuestion(u"dds"_qs, u"7"_qs, {{u"xuan"_qs, u"a"_qs}}, u"试题' or '1'='1"_qs);
    startProgram();
    ASSERT_EQ(mainWindow->ui->RzComboBox2->currentText(), u"试题' or '1'='1");
    openExam();
    EXPECT_EQ(exam->tihaolist.entries(), QStringList{u"7"_qs});
    EXPECT_EQ(stored(u"dds"_qs, u"7"_qs, u"xuan"_qs, u"试题' or '1'='1"_qs), u"");
    EXPECT_EQ(stored(u"dds"_qs, u"1"_qs, u"xuan"_qs), u"") << "untouched, was NULL";
    EXPECT_EQ(stored(u"dds"_qs, u"1"_qs, u"typeof(xuan)"_qs), u"null");
    EXPECT_EQ(exam->ADOQuery_duo().recordCount(), 0);
}

TEST_F(ExamScreenTest, LoadingEmptiesThePapersAnswersAndLeavesPracticalRowsAndOtherPapers)
{
    writeBank();
    addQuestion(u"dds"_qs, u"1"_qs, {{u"xuan"_qs, u"c"_qs}, {u"da"_qs, u"b"_qs}});
    addQuestion(u"duo"_qs, u"2"_qs, {{u"xuan"_qs, u"abd"_qs}});
    addQuestion(u"sf"_qs, u"3"_qs); // NULL answer
    QMap<QString, QString> sub;
    for (int i = 1; i <= 5; ++i) {
        sub.insert(QStringLiteral("myc%1").arg(i), QStringLiteral("ab"));
        sub.insert(QStringLiteral("myt%1").arg(i), QStringLiteral("借：银行存款 100"));
        sub.insert(QStringLiteral("da%1").arg(i), QStringLiteral("a"));
    }
    addQuestion(u"jsfx"_qs, u"4"_qs, sub);
    addQuestion(u"anli"_qs, u"5"_qs, sub);
    addQuestion(u"ws"_qs, u"6"_qs, {{u"tou"_qs, u"实务"_qs}, {u"ping"_qs, u"解析"_qs}});
    addQuestion(u"dds"_qs, u"1"_qs, {{u"xuan"_qs, u"d"_qs}}, u"试题二"_qs);
    addQuestion(u"jsfx"_qs, u"4"_qs, sub, u"试题二"_qs);
    openExam();

    EXPECT_EQ(stored(u"dds"_qs, u"1"_qs, u"xuan"_qs), u"");
    EXPECT_EQ(stored(u"dds"_qs, u"1"_qs, u"da"_qs), u"b");
    EXPECT_EQ(stored(u"duo"_qs, u"2"_qs, u"xuan"_qs), u"");
    EXPECT_EQ(stored(u"sf"_qs, u"3"_qs, u"typeof(xuan)"_qs), u"text") << "NULL became the empty string";
    const std::pair<QString, QString> subRows[] = {{u"jsfx"_qs, u"4"_qs}, {u"anli"_qs, u"5"_qs}};
    for (const auto& [table, number] : subRows) {
        for (int i = 1; i <= 5; ++i) {
            EXPECT_EQ(stored(table, number, QStringLiteral("myc%1").arg(i)), u"");
            EXPECT_EQ(stored(table, number, QStringLiteral("myt%1").arg(i)), u"");
            EXPECT_EQ(stored(table, number, QStringLiteral("da%1").arg(i)), u"a");
        }
    }
    EXPECT_EQ(stored(u"ws"_qs, u"6"_qs, u"tou"_qs), richText(u"实务"_qs));
    EXPECT_EQ(stored(u"ws"_qs, u"6"_qs, u"ping"_qs), richText(u"解析"_qs));
    EXPECT_EQ(stored(u"dds"_qs, u"1"_qs, u"xuan"_qs, u"试题二"_qs), u"d");
    EXPECT_EQ(stored(u"jsfx"_qs, u"4"_qs, u"myc2"_qs, u"试题二"_qs), u"ab");
    EXPECT_EQ(stored(u"jsfx"_qs, u"4"_qs, u"myt5"_qs, u"试题二"_qs), u"借：银行存款 100");
    // The queries hold the emptied rows.
    ASSERT_TRUE(exam->ADOQuery_jsfx().locate(u"tihao"_qs, u"4"_qs));
    EXPECT_EQ(exam->ADOQuery_jsfx().text(u"myt1"_qs), u"");
}

TEST_F(ExamScreenTest, WithoutSingleChoiceTheFirstQuestionOfTheNextKindShows)
{
    writeBank();
    addQuestion(u"sf"_qs, u"8"_qs, {{u"tou"_qs, u"判断八"_qs}});
    addQuestion(u"sf"_qs, u"5"_qs, {{u"tou"_qs, u"判断五"_qs}});
    addQuestion(u"ws"_qs, u"9"_qs);
    openExam();
    EXPECT_EQ(exam->tihaolist.entries(), (QStringList{u"5"_qs, u"8"_qs, u"9"_qs}));
    EXPECT_EQ(tree()->currentItem(), node(u"5"_qs));
    EXPECT_EQ(exam->ui->RzPageControl1->currentIndex(), 2);
    EXPECT_EQ(exam->ui->Label10->text(), u"是非题 第5题");
    EXPECT_EQ(exam->ui->ed_shi_tou->toPlainText(), u"判断五");
    EXPECT_EQ(exam->dangqian_tihao, 0);
}

TEST_F(ExamScreenTest, PaperWithoutQuestionsShowsNothingAndNavigationDoesNothing)
{
    writeBank();
    addQuestion(u"dds"_qs, u"1"_qs, {}, u"试题二"_qs);
    openExam();
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(tree()->topLevelItem(i)->childCount(), 0);
    EXPECT_TRUE(exam->tihaolist.isEmpty());
    EXPECT_EQ(exam->dangqian_tihao, -1);
    EXPECT_EQ(tree()->currentItem(), tree()->topLevelItem(0));
    EXPECT_EQ(exam->ui->Label10->text(), u"");
    EXPECT_EQ(exam->ui->Label27->text(), u"正确答案：");
    exam->RzBmpButton1Click();
    exam->RzBmpButton2Click();
    EXPECT_TRUE(Dialogs::takeShown().isEmpty());
    EXPECT_EQ(exam->dangqian_tihao, -1);
}

TEST_F(ExamScreenTest, ClosingAsksAndEndsTheProgramOnlyOnYes)
{
    writeBank();
    addTypicalPaper();
    openExam();
    Dialogs::takeShown();

    Dialogs::queueAnswer(false);
    exam->close();
    auto shown = Dialogs::takeShown();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0].kind, Dialogs::Kind::Confirmation);
    EXPECT_EQ(shown[0].caption, u"提示");
    EXPECT_EQ(shown[0].text, u"确实要退出系统吗？");
    EXPECT_TRUE(exam->isVisible());
    EXPECT_EQ(quitCalls, 0);

    Dialogs::queueAnswer(true);
    exam->close();
    EXPECT_EQ(Dialogs::takeShown().size(), 1);
    EXPECT_EQ(quitCalls, 1);
}

TEST_F(ExamScreenTest, LayoutHasEveryNamedControlWithAuthoringHidden)
{
    writeBank();
    addTypicalPaper();
    openExam();
    QTabWidget* pages = exam->ui->RzPageControl1;
    const QStringList pageNames = {u"danxuan"_qs, u"duoxuan"_qs, u"shifei"_qs,
                                   u"jisuan"_qs,  u"anli"_qs,    u"wushi"_qs};
    ASSERT_EQ(pages->count(), 6);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(pages->widget(i)->objectName(), pageNames.at(i));

    for (const char* name :
         {"ed_dan_tihao", "ed_duoxuan_tihao", "ed_shi_tihao", "ed_jisuan_tihao", "ed_anli_tihao",
          "ed_wushi_tihao", "Button1", "Button9", "Button10", "Button18", "Button19", "Button20",
          "xuanzexing", "caozuoxing", "ed_dan_ping", "ed_wushi_ping", "Label27", "RzPanel23"}) {
        auto* widget = exam->findChild<QWidget*>(QString::fromLatin1(name));
        ASSERT_NE(widget, nullptr) << name;
        EXPECT_FALSE(widget->isVisibleTo(exam)) << name;
    }
    for (const char* name : {"RzTreeView1", "RzBmpButton1", "RzBmpButton2", "RzBmpButton3", "RzBmpButton11",
                             "Label10", "xingming", "zhuikaozheng", "shenfenzheng", "kemu", "shiti", "xinxi",
                             "RzPanel4", "Label7", "RzPanel9", "RzSplitter1", "RzPanel1"}) {
        auto* widget = exam->findChild<QWidget*>(QString::fromLatin1(name));
        ASSERT_NE(widget, nullptr) << name;
        EXPECT_TRUE(widget->isVisibleTo(exam)) << name;
    }
    EXPECT_EQ(exam->ui->RzBmpButton3->text(), u"交卷");
    EXPECT_EQ(exam->ui->RzPanel6->width(), 118);
    EXPECT_EQ(exam->ui->RzPanel1->height(), 83);
    EXPECT_TRUE(exam->ui->ed_dan_tou->isReadOnly());
}

TEST_F(ExamScreenTest, EveryAnswerControlHasItsOwnAccessibleName)
{
    writeBank();
    openExam();
    QStringList names;
    const auto buttons = exam->findChildren<QAbstractButton*>();
    for (QAbstractButton* button : buttons) {
        if (qobject_cast<QRadioButton*>(button) || qobject_cast<QCheckBox*>(button)) {
            EXPECT_FALSE(button->accessibleName().isEmpty()) << button->objectName().toStdString();
            names.append(button->accessibleName());
        }
    }
    EXPECT_EQ(names.size(), 4 + 4 + 2 + 2 + 20 + 20);
    names.removeDuplicates();
    EXPECT_EQ(names.size(), 52);
    EXPECT_EQ(exam->ui->ck_anli_3_c->accessibleName(), u"案例分析 第三题 C");
    EXPECT_EQ(exam->ui->ck_2_d->accessibleName(), u"计算分析 第二题 D");
}
