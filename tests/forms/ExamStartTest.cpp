// "开始答题" and the ID-card prompt.
#include "ExamScreenFixture.h"

#include "support/RecordingServer.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QProgressBar>
#include <QTabBar>
#include <QTemporaryDir>

using namespace tarnex;
using namespace tarnex::test;

namespace {

// Points drive C of the accounting package at a folder of the test's own.
class ScopedWinePrefix
{
public:
    explicit ScopedWinePrefix(const QString& path) : m_old(qgetenv("WINEPREFIX"))
    {
        qputenv("WINEPREFIX", QFile::encodeName(path));
    }
    ~ScopedWinePrefix() { qputenv("WINEPREFIX", m_old); }

private:
    QByteArray m_old;
};

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

// Answers the ID prompt once it is up: with "确定" and a number, or "取消" without one. The
// account-set initialization lets timers run before the prompt comes, so a timer armed before
// "开始答题" would fire too early.
class PromptAnswer : public QObject
{
public:
    explicit PromptAnswer(QString number = {}) : m_number(std::move(number))
    {
        qApp->installEventFilter(this);
    }
    ~PromptAnswer() override { qApp->removeEventFilter(this); }

    int shown = 0;
    std::function<void()> onShow;

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* prompt = dynamic_cast<TForm5*>(watched);
        if (prompt == nullptr || event->type() != QEvent::Show)
            return false;
        ++shown;
        if (onShow)
            onShow();
        QTimer::singleShot(0, prompt, [prompt, number = m_number] {
            if (number.isEmpty()) {
                prompt->RzBmpButton1Click();
                return;
            }
            prompt->ui->RzEdit1->setText(number);
            prompt->RzBmpButton4Click();
        });
        return false;
    }

private:
    QString m_number;
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
    RecordingServer server;
    QTemporaryDir prefix;
    const ScopedWinePrefix wine(prefix.path());
    writeBank();
    addTypicalPaper();
    startProgram();
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
        const qsizetype before = server.statements().size();
        subjects->setCurrentIndex(c.subject);
        mainWindow->ui->CheckBox2->setChecked(c.ticked);
        // The run is over when the prompt comes up.
        qsizetype atPrompt = -1;
        PromptAnswer cancel;
        cancel.onShow = [&] { atPrompt = server.statements().size(); };
        mainWindow->RzBmpButton3Click();
        EXPECT_EQ(cancel.shown, 1);
        EXPECT_EQ(atPrompt - before, c.runs ? 30 : 0) << subjects->currentText().toStdString();
        EXPECT_EQ(server.statements().size(), atPrompt);
    }
}

// A program folder with the report templates, a Wine prefix of its own, a server that records
// what it is sent, and the main window on "初级会计电算化" with "初始化账套" ticked.
class AccountSetTest : public ExamScreenTest
{
protected:
    void SetUp() override
    {
        ExamScreenTest::SetUp();
        ASSERT_TRUE(prefix.isValid());
        wine = std::make_unique<ScopedWinePrefix>(prefix.path());
        writeBank();
        writeComputerAccountingPapers(folder.path(), u"实务一\r\n实务二"_qs);
        addQuestion(u"dds"_qs, u"1"_qs, {{u"tou"_qs, u"建立账套"_qs}, {u"da"_qs, u"a"_qs}}, u"实务一"_qs,
                    Practical);
        addQuestion(u"ws"_qs, u"2"_qs, {{u"tou"_qs, u"填制凭证"_qs}}, u"实务一"_qs, Practical);
        ASSERT_TRUE(QDir().mkpath(folder.file(u"zhangtao/ksdata"_qs)));
        ASSERT_TRUE(QDir().mkpath(folder.file(u"zhangtao/ufdata"_qs)));
        for (const QString& name : Templates)
            writeTemplate(name, "report " + name.toUtf8());

        startProgram();
        mainWindow->show();
        Ui::TForm_main* ui = mainWindow->ui;
        ASSERT_EQ(items(ui->RzComboBox1).value(2), Practical);
        ui->RzComboBox1->setCurrentIndex(2);
        mainWindow->RzComboBox1Change();
        ASSERT_TRUE(ui->CheckBox2->isVisible());
        ui->CheckBox2->setChecked(true);
        // Each step is followed by a pass of the event loop, which runs the zero timer armed here.
        QObject::connect(
            ui->RzProgressBar1, &QProgressBar::valueChanged, mainWindow.get(), [this](int value) {
                steps.append({value, int(server.statements().size()), mainWindow->ui->Label5->text()});
                order.append(QStringLiteral("set %1").arg(value));
                QTimer::singleShot(0, mainWindow.get(),
                                   [this, value] { order.append(QStringLiteral("drawn %1").arg(value)); });
            });
    }

    void TearDown() override
    {
        wine.reset();
        ExamScreenTest::TearDown();
    }

    void writeTemplate(const QString& name, const QByteArray& content)
    {
        QFile file(folder.file(u"zhangtao/ksdata/"_qs + name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    QString driveC(const QString& path) const { return QDir(prefix.path()).filePath(u"drive_c/"_qs + path); }

    QByteArray candidateFile(const QString& name) const
    {
        QFile file(driveC(u"考生文件夹/"_qs + name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    // Runs "开始答题" and cancels the prompt; true when the prompt came up.
    bool startAndCancel()
    {
        PromptAnswer cancel;
        mainWindow->RzBmpButton3Click();
        return cancel.shown == 1;
    }

    // The thirty statements the server must see, in order, as written out by hand.
    QStringList expectedStatements() const
    {
        const QString backups = folder.file(u"zhangtao/ufdata/"_qs);
        const QStringList databases = {u"UFSystem"_qs,        u"UFSub"_qs,           u"UFDATA_901_2012"_qs,
                                       u"UFDATA_902_2012"_qs, u"UFDATA_903_2012"_qs, u"UFDATA_904_2012"_qs,
                                       u"UFDATA_905_2012"_qs, u"UFDATA_906_2012"_qs, u"UFDATA_907_2012"_qs,
                                       u"UFDATA_908_2012"_qs};
        const QStringList files = {u"UFS"_qs, u"UFB"_qs, u"UF1"_qs, u"UF2"_qs, u"UF3"_qs,
                                   u"UF4"_qs, u"UF5"_qs, u"UF6"_qs, u"UF7"_qs, u"UF8"_qs};
        QStringList list;
        for (int i = 0; i < databases.size(); ++i) {
            list.append(u"Drop database "_qs + databases[i]);
            list.append(u"Create database "_qs + databases[i]);
            list.append(u"restore database "_qs + databases[i] + u" from disk='"_qs + backups + files[i] +
                        u".bak' with replace"_qs);
        }
        return list;
    }

    struct Step
    {
        int value;
        int sent;
        QString status;
        bool operator==(const Step&) const = default;
    };
    QList<int> values() const
    {
        QList<int> list;
        for (const Step& step : steps)
            list.append(step.value);
        return list;
    }

    static inline const QString Practical = QStringLiteral("初级会计电算化");
    static inline const QStringList Templates = {
        u"固定资产状况表.rep"_qs, u"货币资金表3.rep"_qs,     u"利润表简表1.rep"_qs,    u"利润表简表4.rep"_qs,
        u"资产负债表1.rep"_qs,    u"资产负债表简表2.rep"_qs, u"资产负债表简表3.rep"_qs};
    static inline const QList<int> AllValues = {2,  6,  10, 14, 18, 22, 26, 30, 34, 38, 42,
                                                46, 50, 54, 58, 62, 66, 70, 72, 74, 78, 82,
                                                83, 84, 85, 86, 87, 88, 89, 90, 91, 100};

    RecordingServer server;
    QTemporaryDir prefix;
    std::unique_ptr<ScopedWinePrefix> wine;
    QList<Step> steps;
    QStringList order;
};

TEST_F(AccountSetTest, RestoresEverythingInOrderWithTheProgressAfterEachStep)
{
    Ui::TForm_main* ui = mainWindow->ui;
    EXPECT_FALSE(ui->Label5->isVisible());
    ASSERT_TRUE(startAndCancel());

    EXPECT_EQ(server.connections(), QStringList{u"DSN=Velquarn;"_qs});
    EXPECT_EQ(server.statements(), expectedStatements());
    ASSERT_EQ(values(), AllValues);
    // 2 once the files are done, before any statement; then one step per statement.
    for (int i = 0; i < steps.size(); ++i) {
        EXPECT_EQ(steps[i].sent, std::min(i, 30)) << "step " << i;
        EXPECT_EQ(steps[i].status, u"正在初始划账套,请稍后......") << "step " << i;
    }
    // The window got to draw each step before the next one.
    QStringList drawnInTurn;
    for (int value : AllValues)
        drawnInTurn << QStringLiteral("set %1").arg(value) << QStringLiteral("drawn %1").arg(value);
    EXPECT_EQ(order, drawnInTurn);

    EXPECT_TRUE(ui->Label5->isVisible());
    EXPECT_TRUE(ui->RzProgressBar1->isVisible());
    EXPECT_EQ(ui->Label5->text(), u"完成账套初始化......");
    EXPECT_EQ(ui->RzProgressBar1->value(), 100);

    EXPECT_TRUE(QFileInfo(driveC(u"UFSMART/Admin"_qs)).isDir());
    for (int set = 901; set <= 908; ++set)
        EXPECT_TRUE(QFileInfo(driveC(QStringLiteral("UFSMART/Admin/ZT%1/2012").arg(set))).isDir()) << set;
    for (const QString& name : Templates)
        EXPECT_EQ(candidateFile(name), "report " + name.toUtf8());
    EXPECT_TRUE(Dialogs::takeShown().isEmpty());
}

TEST_F(AccountSetTest, AllStatementsFailingGoFromTwoStraightToAHundred)
{
    server.failEveryStatement();
    ASSERT_TRUE(startAndCancel());
    EXPECT_EQ(server.statements(), expectedStatements());
    EXPECT_EQ(values(), (QList<int>{2, 100}));
    EXPECT_EQ(steps.last().sent, 30);
    EXPECT_EQ(mainWindow->ui->Label5->text(), u"完成账套初始化......");
    EXPECT_TRUE(Dialogs::takeShown().isEmpty());
}

TEST_F(AccountSetTest, AFailedStatementIsSkippedAndTheNextOnesStillGoOut)
{
    const QStringList expected = expectedStatements();
    server.failStatement(u"Drop database UFSub"_qs);
    // A restore that fails only in a later result of the statement.
    server.failStatementLate(expected.at(17));
    ASSERT_TRUE(startAndCancel());
    EXPECT_EQ(server.statements(), expected);
    QList<int> wanted = AllValues;
    wanted.removeOne(18);
    wanted.removeOne(72);
    EXPECT_EQ(values(), wanted);
    EXPECT_EQ(mainWindow->ui->Label5->text(), u"完成账套初始化......");
}

TEST_F(AccountSetTest, NoServerSaysSoSendsNothingAndTheExamStillStarts)
{
    server.refuseConnections();
    ASSERT_TRUE(startAndCancel());
    EXPECT_EQ(server.connections().size(), 1);
    EXPECT_TRUE(server.statements().isEmpty());
    EXPECT_EQ(values(), (QList<int>{2, 100}));
    EXPECT_EQ(mainWindow->ui->Label5->text(), u"不能连接服务器,未初始化");
    EXPECT_EQ(mainWindow->ui->RzProgressBar1->value(), 100);
    EXPECT_EQ(candidateFile(Templates.last()), "report " + Templates.last().toUtf8()) << "files come first";
    EXPECT_TRUE(Dialogs::takeShown().isEmpty());

    // Once the server is there, the next start connects and restores.
    RecordingServer reachable;
    steps.clear();
    {
        PromptAnswer confirm(u"370102"_qs);
        mainWindow->RzBmpButton3Click();
    }
    exam = Form6;
    ASSERT_NE(exam, nullptr);
    EXPECT_EQ(exam->ui->kemu->text(), Practical);
    EXPECT_EQ(exam->ui->shiti->text(), u"实务一");
    EXPECT_EQ(reachable.statements(), expectedStatements());
    EXPECT_EQ(steps.first(), (Step{2, 0, u"不能连接服务器,未初始化"_qs}));
    EXPECT_EQ(mainWindow->ui->Label5->text(), u"完成账套初始化......");
}

TEST_F(AccountSetTest, AMissingTemplateEndsTheCopyingButNotTheRestore)
{
    QFile::remove(folder.file(u"zhangtao/ksdata/"_qs + Templates.at(2)));
    ASSERT_TRUE(startAndCancel());
    EXPECT_EQ(candidateFile(Templates.at(0)), "report " + Templates.at(0).toUtf8());
    EXPECT_EQ(candidateFile(Templates.at(1)), "report " + Templates.at(1).toUtf8());
    for (int i = 2; i < Templates.size(); ++i)
        EXPECT_EQ(candidateFile(Templates.at(i)), "<missing>") << i;
    EXPECT_EQ(steps.first(), (Step{2, 0, u"正在初始划账套,请稍后......"_qs}));
    EXPECT_EQ(server.statements(), expectedStatements());
    EXPECT_EQ(values(), AllValues);
}

TEST_F(AccountSetTest, ASecondRunRepeatsEverythingOnTheOpenConnection)
{
    ASSERT_TRUE(startAndCancel());
    writeTemplate(Templates.at(0), "changed since");
    steps.clear();
    ASSERT_TRUE(startAndCancel());
    // Until its first step the second run shows what the first one left.
    EXPECT_EQ(steps.first(), (Step{2, 30, u"完成账套初始化......"_qs}));
    EXPECT_EQ(server.connections().size(), 1);
    EXPECT_EQ(server.statements(), expectedStatements() + expectedStatements());
    EXPECT_EQ(values(), AllValues);
    EXPECT_EQ(candidateFile(Templates.at(0)), "changed since");
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
