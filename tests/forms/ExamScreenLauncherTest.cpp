// The launcher bar of the practical page: "运行" and the accounting package.
#include "ExamScreenFixture.h"

#include "platform/ProgramLauncher.h"

#include <QDateTimeEdit>

using namespace tarnex;
using namespace tarnex::test;

namespace {

// Records the programs asked for; started or not as the test says.
class RecordingLauncher : public ProgramLauncher
{
public:
    bool starts = true;
    QStringList started;
    bool start(const QString& windowsPath) override
    {
        started.append(windowsPath);
        return starts;
    }
};

class LauncherBarTest : public ExamScreenTest
{
protected:
    void SetUp() override
    {
        ExamScreenTest::SetUp();
        ProgramLauncher::setInstanceForTesting(&launcher);
        writeBank();
        addTypicalPaper();
        startExam(u"370102"_qs);
        ASSERT_NE(exam, nullptr);
        clickNumber(u"16"_qs);
        Dialogs::takeShown();
    }
    void TearDown() override
    {
        ProgramLauncher::setInstanceForTesting(nullptr);
        ExamScreenTest::TearDown();
    }

    // Types the user name and presses "运行"; returns the messages shown.
    QStringList run(const QString& userName)
    {
        exam->ui->Edit2->setText(userName);
        QTest::mouseClick(exam->ui->BitBtn1, Qt::LeftButton);
        QStringList texts;
        for (const Dialogs::Shown& shown : Dialogs::takeShown()) {
            EXPECT_EQ(shown.kind, Dialogs::Kind::Information);
            EXPECT_EQ(shown.caption, u"提示");
            texts.append(shown.text);
        }
        return texts;
    }

    RecordingLauncher launcher;
};

} // namespace

TEST_F(LauncherBarTest, UserNameMustBeAWholeNumber)
{
    const QStringList refusal = {u"请输入正确的用户名！"_qs};
    for (const QString& name : {QString(), u"   "_qs, u"abc"_qs, u"2147483648"_qs, u"12 3"_qs}) {
        EXPECT_EQ(run(name), refusal) << name.toStdString();
        EXPECT_EQ(exam->ui->Edit2->text(), name) << "the edit keeps its text";
    }
    EXPECT_TRUE(launcher.started.isEmpty());

    EXPECT_TRUE(run(u" 001 "_qs).isEmpty());
    EXPECT_TRUE(run(u"2147483647"_qs).isEmpty());
    EXPECT_EQ(launcher.started,
              (QStringList{u"C:\\UFSMART\\Portal\\Portal.exe"_qs, u"C:\\UFSMART\\Portal\\Portal.exe"_qs}));
}

TEST_F(LauncherBarTest, TheChosenSystemDecidesTheProgramAndNothingElseMatters)
{
    Ui::TForm6* ui = exam->ui;
    EXPECT_EQ(ui->RzComboBox1->currentText(), u"信息门户");
    ui->RzComboBox1->setCurrentIndex(ui->RzComboBox1->findText(u"系统管理"_qs));
    ui->Edit3->setText(u"secret"_qs);
    ui->RzComboBox2->setCurrentIndex(5);
    ui->RzDateTimePicker1->setDateTime(QDateTime(QDate(2012, 1, 31), QTime(9, 0)));
    EXPECT_TRUE(run(u"1"_qs).isEmpty());
    ui->RzComboBox1->setCurrentIndex(ui->RzComboBox1->findText(u"信息门户"_qs));
    EXPECT_TRUE(run(u"1"_qs).isEmpty());
    EXPECT_EQ(launcher.started,
              (QStringList{u"C:\\UFSMART\\Admin\\Admin.exe"_qs, u"C:\\UFSMART\\Portal\\Portal.exe"_qs}));
}

// The package missing or failing to start: no message of the program's own, and "运行" can be
// pressed again.
TEST_F(LauncherBarTest, AProgramThatDoesNotStartShowsNothing)
{
    launcher.starts = false;
    EXPECT_TRUE(run(u"001"_qs).isEmpty());
    EXPECT_TRUE(run(u"001"_qs).isEmpty());
    EXPECT_EQ(launcher.started.size(), 2);
    EXPECT_TRUE(exam->ui->BitBtn1->isEnabled());
    EXPECT_FALSE(exam->isMaximized()) << "the strip stays for the package";
}

TEST_F(LauncherBarTest, AfterHandInNothingCanBeStarted)
{
    Dialogs::queueAnswer(true);
    exam->RzBmpButton3Click();
    Dialogs::takeShown();
    clickNumber(u"16"_qs);
    EXPECT_FALSE(exam->ui->BitBtn1->isEnabled());
    EXPECT_TRUE(run(u"001"_qs).isEmpty());
    EXPECT_TRUE(launcher.started.isEmpty());
}
