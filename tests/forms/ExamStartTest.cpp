// "开始答题" and the ID-card prompt.
#include "ExamScreenFixture.h"

#include <QApplication>
#include <QTabBar>

using namespace tarnex;
using namespace tarnex::test;

namespace {

// Counts the prompts shown while a flow runs and cancels each of them.
struct PromptWatch
{
    int shown = 0;
    void arm(QWidget* owner)
    {
        QTimer::singleShot(0, owner, [this, owner] {
            if (auto* prompt = owner->findChild<TForm5*>()) {
                ++shown;
                prompt->RzBmpButton1Click();
            }
        });
    }
};

} // namespace

TEST_F(ExamScreenTest, BlankPaperChoiceStartsNothing)
{
    writeBank(QStringLiteral("   \r\n"));
    startProgram();
    ASSERT_EQ(mainWindow->ui->RzComboBox2->currentText(), u"   ");
    PromptWatch watch;
    watch.arm(mainWindow.get());
    mainWindow->RzBmpButton3Click();
    QCoreApplication::processEvents();
    EXPECT_EQ(watch.shown, 0);
    EXPECT_EQ(Form6, nullptr);
    EXPECT_TRUE(Dialogs::takeShown().isEmpty());

    mainWindow->ui->RzComboBox2->clear();
    mainWindow->RzBmpButton3Click();
    QCoreApplication::processEvents();
    EXPECT_EQ(watch.shown, 0);
    EXPECT_EQ(Form6, nullptr);
}

TEST_F(ExamScreenTest, PromptRefusesABlankNumberAndStaysOpen)
{
    TForm5 prompt;
    prompt.ui->RzEdit1->setText(QStringLiteral("left from before"));
    prompt.show();
    EXPECT_TRUE(prompt.ui->RzEdit1->text().isEmpty()) << "FormShow empties the edit";
    EXPECT_EQ(prompt.focusWidget(), prompt.ui->RzEdit1);
    EXPECT_EQ(prompt.windowTitle(), u"请输入您的身份证号码！");
    EXPECT_EQ(prompt.size(), QSize(416, 182));

    for (const QString& blank : {QString(), u"   "_qs, u"\t \r\n"_qs}) {
        prompt.ui->RzEdit1->setText(blank);
        prompt.RzBmpButton4Click();
        const auto shown = Dialogs::takeShown();
        ASSERT_EQ(shown.size(), 1);
        EXPECT_EQ(shown[0].kind, Dialogs::Kind::Information);
        EXPECT_EQ(shown[0].caption, u"提示");
        EXPECT_EQ(shown[0].text, u"请输入您的身份证号！");
        EXPECT_TRUE(prompt.isVisible());
        EXPECT_EQ(prompt.result(), QDialog::Rejected);
    }
    // Only blankness is checked: any other text is accepted as typed.
    prompt.ui->RzEdit1->setText(QStringLiteral("x"));
    prompt.RzBmpButton4Click();
    EXPECT_EQ(prompt.result(), QDialog::Accepted);
    EXPECT_FALSE(prompt.isVisible());
    EXPECT_TRUE(Dialogs::takeShown().isEmpty());
}

TEST_F(ExamScreenTest, PromptCancelsByButtonAndByCloseBox)
{
    TForm5 byButton;
    QTimer::singleShot(0, &byButton, [&] { byButton.RzBmpButton1Click(); });
    EXPECT_EQ(byButton.exec(), QDialog::Rejected);

    TForm5 byCloseBox;
    QTimer::singleShot(0, &byCloseBox, [&] {
        byCloseBox.ui->RzEdit1->setText(QStringLiteral("370102199001011234"));
        byCloseBox.close();
    });
    EXPECT_EQ(byCloseBox.exec(), QDialog::Rejected);
}

TEST_F(ExamScreenTest, CancelledPromptLeavesTheMainWindowAsItWas)
{
    writeBank();
    addTypicalPaper();
    addQuestion(u"dds"_qs, u"3"_qs, {{u"xuan"_qs, u"d"_qs}});
    startProgram();
    mainWindow->show();
    startExam(QString(), false);
    EXPECT_EQ(Form6, nullptr);
    EXPECT_TRUE(mainWindow->isVisible());
    EXPECT_EQ(stored(u"dds"_qs, u"3"_qs, u"xuan"_qs), u"d") << "nothing loaded, nothing emptied";
    EXPECT_EQ(mainWindow->findChild<TForm5*>(), nullptr) << "the prompt is freed";
}

TEST_F(ExamScreenTest, StartFillsTheIdentityWithTheNumberAsTypedAndTheTimeAfterLoading)
{
    writeBank();
    addTypicalPaper();
    startProgram();
    mainWindow->show();

    // The clock moves on when the exam screen appears, before its loading: the start time must
    // be read after that.
    struct ShowWatch : QObject
    {
        bool eventFilter(QObject* watched, QEvent* event) override
        {
            if (event->type() == QEvent::Show && watched->objectName() == u"TForm6")
                Clock::setNowForTesting(QDateTime(QDate(2013, 5, 6), QTime(14, 30, 5)));
            return false;
        }
    } watch;
    qApp->installEventFilter(&watch);
    startExam(QStringLiteral("  370102 19900101 "));
    qApp->removeEventFilter(&watch);

    ASSERT_NE(exam, nullptr);
    EXPECT_EQ(exam->parent(), mainWindow.get());
    EXPECT_EQ(exam->ui->xingming->text(), u"路人甲");
    EXPECT_EQ(exam->ui->zhuikaozheng->text(), u"37012011210323499");
    EXPECT_EQ(exam->ui->shenfenzheng->text(), u"  370102 19900101 ");
    EXPECT_EQ(exam->ui->kemu->text(), u"会计基础");
    EXPECT_EQ(exam->ui->shiti->text(), u"试题一");
    EXPECT_EQ(exam->ui->xinxi->text(), u"    开始考试时间：2013-05-06 14:30:05");
    EXPECT_FALSE(exam->ui->RzPageControl1->tabBar()->isVisible());
    EXPECT_TRUE(exam->isVisible());
    EXPECT_TRUE(exam->isMaximized());
    EXPECT_FALSE(mainWindow->isVisible());
    EXPECT_EQ(exam->ui->Label10->text(), u"单选题 第1题");
    EXPECT_EQ(exam->windowTitle(), u"考试");
}

TEST_F(ExamScreenTest, AccountSetsAreRestoredOnlyForComputerAccountingWithTheBoxTicked)
{
    writeBank();
    addTypicalPaper();
    startProgram();
    QStringList order;
    mainWindow->accountSetInitialization = [&] { order.append(QStringLiteral("init")); };
    QComboBox* subjects = mainWindow->ui->RzComboBox1;
    subjects->addItem(QStringLiteral("初级会计电算化"));

    struct Case
    {
        int subject;
        bool ticked;
        bool runs;
    };
    const Case cases[] = {{0, true, false}, {2, false, false}, {2, true, true}, {1, true, false}};
    for (const Case& c : cases) {
        order.clear();
        subjects->setCurrentIndex(c.subject);
        mainWindow->ui->CheckBox2->setChecked(c.ticked);
        QTimer::singleShot(0, mainWindow.get(), [&] {
            order.append(QStringLiteral("prompt"));
            mainWindow->findChild<TForm5*>()->RzBmpButton1Click();
        });
        mainWindow->RzBmpButton3Click();
        if (c.runs)
            EXPECT_EQ(order, (QStringList{u"init"_qs, u"prompt"_qs}));
        else
            EXPECT_EQ(order, QStringList{u"prompt"_qs}) << subjects->currentText().toStdString();
    }
}

// The answers are emptied in one transaction: a failure during loading leaves all of them.
TEST_F(ExamScreenTest, FailedLoadingKeepsTheMainWindowAndEveryAnswer)
{
    writeBank();
    addTypicalPaper();
    execute(u"update dds set xuan='b' where tihao='1'"_qs);
    execute(u"update duo set xuan='ac' where tihao='10'"_qs);
    // The case table cannot be emptied: its answer columns are gone.
    execute(u"drop table anli"_qs);
    execute(u"create table anli (kemu TEXT, tao TEXT, tihao TEXT, tou TEXT)"_qs);
    m_setup.reset();
    startProgram();
    mainWindow->show();
    EXPECT_THROW(startExam(QStringLiteral("370102")), AppError);
    EXPECT_EQ(Form6, nullptr);
    EXPECT_TRUE(mainWindow->isVisible());
    EXPECT_EQ(mainWindow->findChildren<TForm6*>().size(), 0);
    EXPECT_EQ(stored(u"dds"_qs, u"1"_qs, u"xuan"_qs), u"b");
    EXPECT_EQ(stored(u"duo"_qs, u"10"_qs, u"xuan"_qs), u"ac");
}
