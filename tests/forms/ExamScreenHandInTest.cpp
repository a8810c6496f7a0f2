// Hand-in of the exam screen: confirmation, review state, scoring and marks, the score message
// and the rotation counters in ci.ini.
#include "ExamScreenFixture.h"

#include "app/Application.h"

#include "platform/IniFile.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>

using namespace tarnex;
using namespace tarnex::test;

namespace {

const QString LowestBand1 = QStringLiteral("正确率不足30% 亲 你还得努力！");
const QString LowestBand2 = QStringLiteral("正确率还不足30% 亲 再学习吗?");
const QString LowestBand3 = QStringLiteral("正确率还不足30% 亲 你不用去考试了，再去就是浪费时间！");
const QString SecondBand1 = QStringLiteral("正确率不足60% 假如真的考试 你会不及格的！");
const QString SecondBand2 = QStringLiteral("正确率还不足60% 亲 再学习吗?");

// The score message as the candidate reads it: each line ends with LF then CR.
QString scoreText(int count, const QString& phrase)
{
    return QStringLiteral("单选、多选、是非题，答对数：%1 题\n\r其它题型 答对数：未统计\n\r").arg(count) +
           phrase;
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class HandInTest : public ExamScreenTest
{
protected:
    // Re-reads the six queries after the test changed rows behind the window's back.
    void reloadQueries()
    {
        for (QuestionKind kind : allQuestionKinds()) {
            DataSet& set = exam->query(kind);
            set.close();
            set.open(
                QStringLiteral("select * from %1 where kemu=? and tao=? order by tihao").arg(kindTable(kind)),
                {Subject, Paper});
        }
    }

    // "交卷" confirmed with Yes; returns the text of the one information box that follows.
    QString handIn()
    {
        Dialogs::takeShown();
        Dialogs::queueAnswer(true);
        click(exam->ui->RzBmpButton3);
        const QList<Dialogs::Shown> shown = Dialogs::takeShown();
        if (shown.size() != 2) {
            ADD_FAILURE() << "boxes shown: " << shown.size();
            return {};
        }
        EXPECT_EQ(shown[0].kind, Dialogs::Kind::Confirmation);
        EXPECT_EQ(shown[0].caption, u"提示");
        EXPECT_EQ(shown[0].text, u"确实要交卷吗？");
        EXPECT_EQ(shown[1].kind, Dialogs::Kind::Information);
        EXPECT_EQ(shown[1].caption, u"提示");
        return shown[1].text;
    }

    // A paper of single-choice questions 1..total whose correct answer is "a"; the first
    // `correct` of them answered "a", the rest "b". The exam screen shows the given subject.
    QString handInSingleChoicePaper(int total, int correct, const QString& subject)
    {
        openExam();
        for (int i = 1; i <= total; ++i)
            execute(u"update dds set xuan=? where tihao=?"_qs,
                    {i <= correct ? u"a"_qs : u"b"_qs, QString::number(i)});
        reloadQueries();
        exam->ui->kemu->setText(subject);
        const QString text = handIn();
        closeExam();
        return text;
    }

    void addSingleChoiceQuestions(int total)
    {
        for (int i = 1; i <= total; ++i)
            addQuestion(u"dds"_qs, QString::number(i), {{u"da"_qs, u"a"_qs}});
    }

    void closeExam()
    {
        delete exam;
        exam = nullptr;
    }

    RotationCounters fileCounters() const { return RotationCounters::load(folder.file(u"ci.ini"_qs)); }

    std::vector<QWidget*> answerPanels() const
    {
        return {exam->ui->RzPanel11, exam->ui->RzPanel15, exam->ui->RzPanel19,
                exam->ui->RzPanel23, exam->ui->RzPanel24, exam->ui->RzPanel27};
    }
    std::vector<QWidget*> analysisEditors() const
    {
        return {exam->ui->ed_dan_ping,    exam->ui->ed_duo_ping,  exam->ui->ed_shi_ping,
                exam->ui->ed_jisuan_ping, exam->ui->ed_anli_ping, exam->ui->ed_wushi_ping};
    }
};

TEST_F(HandInTest, DecliningTheConfirmationChangesNothing)
{
    writeBank();
    addTypicalPaper();
    openExam();
    Dialogs::takeShown();
    Dialogs::queueAnswer(false);
    click(exam->ui->RzBmpButton3);
    const auto shown = Dialogs::takeShown();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0].text, u"确实要交卷吗？");
    EXPECT_EQ(exam->ui->RzBmpButton3->text(), u"交卷");
    EXPECT_FALSE(exam->handedIn());
    for (QWidget* panel : answerPanels())
        EXPECT_TRUE(panel->isEnabled()) << panel->objectName().toStdString();
    for (QWidget* editor : analysisEditors())
        EXPECT_TRUE(editor->isHidden()) << editor->objectName().toStdString();
    EXPECT_TRUE(exam->ui->Label27->isHidden());
    for (const QString& number : {u"1"_qs, u"2"_qs, u"10"_qs, u"11"_qs, u"12"_qs})
        EXPECT_EQ(TForm6::nodeImage(node(number)), TForm6::ImageUnanswered);
    EXPECT_FALSE(QFile::exists(folder.file(u"ci.ini"_qs)));
    EXPECT_EQ(quitCalls, 0);
}

TEST_F(HandInTest, ReviewScoreMarksAndMessage)
{
    writeBank();
    addTypicalPaper();
    openExam();
    clickNumber(u"1"_qs);
    click(exam->ui->d_b); // right
    clickNumber(u"2"_qs);
    click(exam->ui->d_a); // wrong: c
    clickNumber(u"10"_qs);
    click(exam->ui->du_c);
    click(exam->ui->du_a); // "ac", right against " ac "
    clickNumber(u"12"_qs);
    click(exam->ui->shi_true); // right
    clickNumber(u"13"_qs);
    click(exam->ui->ck_1_b); // calculation choices are not scored
    exam->ui->kemu->setText(u" 会计基础 "_qs);

    EXPECT_EQ(handIn(), scoreText(3, LowestBand1));

    EXPECT_EQ(exam->ui->RzBmpButton3->text(), u"退出");
    EXPECT_TRUE(exam->handedIn());
    for (QWidget* panel : answerPanels())
        EXPECT_FALSE(panel->isEnabled()) << panel->objectName().toStdString();
    EXPECT_FALSE(exam->ui->RzPanel30->isEnabled());
    for (QWidget* editor : analysisEditors())
        EXPECT_FALSE(editor->isHidden()) << editor->objectName().toStdString();
    EXPECT_FALSE(exam->ui->Label27->isHidden());
    EXPECT_TRUE(exam->ui->Label27->isVisible());

    // Wrong (2) and unanswered (11) objective questions are marked; the others keep their image.
    EXPECT_EQ(TForm6::nodeImage(node(u"2"_qs)), TForm6::ImageWrong);
    EXPECT_EQ(TForm6::nodeImage(node(u"11"_qs)), TForm6::ImageWrong);
    for (const QString& number : {u"1"_qs, u"10"_qs, u"12"_qs, u"13"_qs})
        EXPECT_EQ(TForm6::nodeImage(node(number)), TForm6::ImageAnswered) << number.toStdString();
    for (const QString& number : {u"14"_qs, u"15"_qs, u"16"_qs})
        EXPECT_EQ(TForm6::nodeImage(node(number)), TForm6::ImageUnanswered) << number.toStdString();
    for (QuestionKind kind : allQuestionKinds())
        EXPECT_EQ(TForm6::nodeImage(root(kind)), TForm6::ImageRoot);

    // The lowest band rotated and all three keys were written.
    EXPECT_EQ(exam->counters, (RotationCounters{2, 1, 1}));
    const IniFile ini(folder.file(u"ci.ini"_qs));
    EXPECT_EQ(ini.readString(u"ci"_qs, u"san"_qs), u"2");
    EXPECT_EQ(ini.readString(u"ci"_qs, u"liu"_qs), u"1");
    EXPECT_EQ(ini.readString(u"ci"_qs, u"jiu"_qs), u"1");

    // The countdown goes on after the hand-in.
    EXPECT_TRUE(exam->Timer2->isActive());
    exam->Timer2Timer();
    EXPECT_EQ(exam->ui->Label7->text(), u"59");

    // The button now ends the program, without any question; no second scoring happens.
    Dialogs::takeShown();
    click(exam->ui->RzBmpButton3);
    EXPECT_EQ(quitCalls, 1);
    EXPECT_TRUE(Dialogs::takeShown().isEmpty());
    EXPECT_EQ(fileCounters(), (RotationCounters{2, 1, 1}));
}

TEST_F(HandInTest, AnswersCompareTrimmedExactAndCaseSensitive)
{
    writeBank();
    addQuestion(u"duo"_qs, u"1"_qs, {{u"da"_qs, u"abd"_qs}});
    addQuestion(u"duo"_qs, u"2"_qs, {{u"da"_qs, u"abd"_qs}});
    addQuestion(u"duo"_qs, u"3"_qs, {{u"da"_qs, u"abd"_qs}});
    addQuestion(u"dds"_qs, u"4"_qs, {{u"da"_qs, u""_qs}});
    addQuestion(u"dds"_qs, u"5"_qs, {{u"da"_qs, u" c"_qs}});
    addQuestion(u"sf"_qs, u"6"_qs, {{u"da"_qs, u"b"_qs}});
    openExam();
    execute(u"update duo set xuan='dba' where tihao='1'"_qs);
    execute(u"update duo set xuan='ABD' where tihao='2'"_qs);
    execute(u"update duo set xuan=' abd ' where tihao='3'"_qs);
    execute(u"update dds set xuan='c ' where tihao='5'"_qs);
    reloadQueries();

    EXPECT_EQ(handIn(), scoreText(2, LowestBand1));
    EXPECT_EQ(TForm6::nodeImage(node(u"1"_qs)), TForm6::ImageWrong) << "letters in another order";
    EXPECT_EQ(TForm6::nodeImage(node(u"2"_qs)), TForm6::ImageWrong) << "upper case";
    EXPECT_NE(TForm6::nodeImage(node(u"3"_qs)), TForm6::ImageWrong);
    EXPECT_NE(TForm6::nodeImage(node(u"4"_qs)), TForm6::ImageWrong) << "no correct answer, none given";
    EXPECT_NE(TForm6::nodeImage(node(u"5"_qs)), TForm6::ImageWrong);
    EXPECT_EQ(TForm6::nodeImage(node(u"6"_qs)), TForm6::ImageWrong) << "unanswered";
}

TEST_F(HandInTest, BandBoundaryAtEighteenForBothSubjectRules)
{
    writeBank();
    addSingleChoiceQuestions(18);

    EXPECT_EQ(handInSingleChoicePaper(18, 17, u"初级会计电算化"_qs),
              scoreText(17, u"亲离过关 只有一步之遥！"_qs));
    EXPECT_FALSE(QFile::exists(folder.file(u"ci.ini"_qs))) << "no rotation for this subject";
    EXPECT_EQ(handInSingleChoicePaper(18, 18, u" 初级会计电算化 "_qs), scoreText(18, QString()));
    EXPECT_FALSE(QFile::exists(folder.file(u"ci.ini"_qs)));

    EXPECT_EQ(handInSingleChoicePaper(18, 17, Subject), scoreText(17, LowestBand1));
    EXPECT_EQ(fileCounters(), (RotationCounters{2, 1, 1}));
    EXPECT_EQ(handInSingleChoicePaper(18, 18, Subject), scoreText(18, SecondBand1));
    EXPECT_EQ(fileCounters(), (RotationCounters{2, 2, 1}));
}

TEST_F(HandInTest, RotationGoesOnAcrossRunsThroughTheFile)
{
    writeBank();
    addSingleChoiceQuestions(18);
    // Each window reads ci.ini anew at its creation, as the next run of the program does.
    EXPECT_EQ(handInSingleChoicePaper(18, 0, Subject), scoreText(0, LowestBand1));
    EXPECT_EQ(handInSingleChoicePaper(18, 18, Subject), scoreText(18, SecondBand1));
    EXPECT_EQ(handInSingleChoicePaper(18, 3, Subject), scoreText(3, LowestBand2));
    EXPECT_EQ(handInSingleChoicePaper(18, 17, Subject), scoreText(17, LowestBand3));
    EXPECT_EQ(fileCounters(), (RotationCounters{1, 2, 1}));
    EXPECT_EQ(handInSingleChoicePaper(18, 0, Subject), scoreText(0, LowestBand1)) << "wrapped to 1";
    EXPECT_EQ(handInSingleChoicePaper(18, 18, Subject), scoreText(18, SecondBand2));
    EXPECT_EQ(fileCounters(), (RotationCounters{2, 3, 1}));
}

TEST_F(HandInTest, CounterFileKeepsOtherSectionsAndKeys)
{
    writeBank();
    addSingleChoiceQuestions(1);
    const QString path = folder.file(u"ci.ini"_qs);
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("; "
                   "Velquarn\r\n[window]\r\nleft=10\r\n\r\n[ci]\r\nsan=0\r\nnote=keep\r\njiu=7\r\n[last]"
                   "\r\nx=1\r\n");
    }
    // A counter outside 1..3 selects no phrase; its band's rotation raises it by one.
    EXPECT_EQ(handInSingleChoicePaper(1, 0, Subject), scoreText(0, QString()));
    EXPECT_EQ(readAll(path),
              QByteArray("; Velquarn\r\n[window]\r\nleft=10\r\n\r\n[ci]\r\nsan=1\r\nnote=keep\r\njiu=1\r\n"
                         "liu=1\r\n[last]\r\nx=1\r\n"));
}

TEST_F(HandInTest, MissingCounterFileIsCreatedWithAllThreeKeys)
{
    writeBank();
    addSingleChoiceQuestions(1);
    ASSERT_FALSE(QFile::exists(folder.file(u"ci.ini"_qs)));
    EXPECT_EQ(handInSingleChoicePaper(1, 1, Subject), scoreText(1, LowestBand1));
    const IniFile ini(folder.file(u"ci.ini"_qs));
    EXPECT_EQ(ini.readInt(u"ci"_qs, u"san"_qs, 0), 2);
    EXPECT_EQ(ini.readInt(u"ci"_qs, u"liu"_qs, 0), 1);
    EXPECT_EQ(ini.readInt(u"ci"_qs, u"jiu"_qs, 0), 1);
}

// A ci.ini that cannot be written (here a folder of that name, which fails for root too): the
// candidate reads the score first, then the error box names the file; the review stands.
TEST_F(HandInTest, UnwritableCounterFileStillShowsTheScoreFirst)
{
    writeBank();
    addTypicalPaper();
    ASSERT_TRUE(QDir(folder.path()).mkdir(u"ci.ini"_qs));
    openExam();
    clickNumber(u"1"_qs);
    click(exam->ui->d_b);
    Dialogs::takeShown();

    Dialogs::queueAnswer(true);
    try {
        exam->RzBmpButton3Click();
        FAIL() << "the hand-in wrote into a folder";
    } catch (const AppError& error) {
        EXPECT_EQ(error.message(),
                  u"Unable to write to "_qs + QDir::toNativeSeparators(folder.file(u"ci.ini"_qs)));
        // What the application object does with an error that leaves a handler.
        reportHandlerError(error);
    }
    const auto shown = Dialogs::takeShown();
    ASSERT_EQ(shown.size(), 3);
    EXPECT_EQ(shown[0].kind, Dialogs::Kind::Confirmation);
    EXPECT_EQ(shown[1].kind, Dialogs::Kind::Information);
    EXPECT_EQ(shown[1].text, scoreText(1, LowestBand1));
    EXPECT_EQ(shown[2].kind, Dialogs::Kind::Error);
    EXPECT_EQ(shown[2].caption, u"会计从业资格考试");
    EXPECT_EQ(shown[2].text, u"Unable to write to "_qs + QDir::toNativeSeparators(folder.file(u"ci.ini"_qs)));

    EXPECT_EQ(exam->counters, (RotationCounters{2, 1, 1})) << "the new values stay in memory";
    EXPECT_TRUE(exam->handedIn());
    EXPECT_EQ(TForm6::nodeImage(node(u"2"_qs)), TForm6::ImageWrong);
    EXPECT_TRUE(QFileInfo(folder.file(u"ci.ini"_qs)).isDir());

    click(exam->ui->RzBmpButton3);
    EXPECT_EQ(quitCalls, 1);
    EXPECT_TRUE(Dialogs::takeShown().isEmpty());
}

TEST_F(HandInTest, AfterHandInNoClickChangesAStoredAnswer)
{
    writeBank();
    addTypicalPaper();
    openExam();
    clickNumber(u"2"_qs);
    click(exam->ui->d_a);
    clickNumber(u"10"_qs);
    click(exam->ui->du_b);
    clickNumber(u"12"_qs);
    click(exam->ui->shi_false);
    clickNumber(u"13"_qs);
    click(exam->ui->ck_2_c);
    clickNumber(u"15"_qs);
    click(exam->ui->ck_anli_3_d);
    handIn();

    clickNumber(u"2"_qs);
    click(exam->ui->d_c);
    EXPECT_FALSE(exam->ui->d_c->isChecked());
    clickNumber(u"10"_qs);
    click(exam->ui->du_d);
    EXPECT_FALSE(exam->ui->du_d->isChecked());
    clickNumber(u"12"_qs);
    click(exam->ui->shi_true);
    clickNumber(u"13"_qs);
    click(exam->ui->ck_2_a);
    clickNumber(u"15"_qs);
    click(exam->ui->ck_anli_3_a);
    clickNumber(u"14"_qs);
    EXPECT_FALSE(exam->ui->BitBtn2->isEnabled()) << "no calculator after the hand-in";
    click(exam->ui->BitBtn2);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    EXPECT_EQ(stored(u"dds"_qs, u"2"_qs, u"xuan"_qs), u"a");
    EXPECT_EQ(stored(u"duo"_qs, u"10"_qs, u"xuan"_qs), u"b");
    EXPECT_EQ(stored(u"sf"_qs, u"12"_qs, u"xuan"_qs), u"b");
    EXPECT_EQ(stored(u"jsfx"_qs, u"13"_qs, u"myc2"_qs), u"c");
    EXPECT_EQ(stored(u"anli"_qs, u"15"_qs, u"myc3"_qs), u"d");
    EXPECT_EQ(stored(u"jsfx"_qs, u"14"_qs, u"myt1"_qs), u"");
}

TEST_F(HandInTest, ReviewShowsAnalysisAndCorrectAnswerAndRemarksOptionButtons)
{
    writeBank();
    addQuestion(u"dds"_qs, u"1"_qs,
                {{u"tou"_qs, u"题一"_qs}, {u"ping"_qs, u"解析一"_qs}, {u"da"_qs, u"c"_qs}});
    addQuestion(u"duo"_qs, u"2"_qs, {{u"ping"_qs, u"解析二"_qs}, {u"da"_qs, u"ac"_qs}});
    addQuestion(u"sf"_qs, u"3"_qs, {{u"ping"_qs, u"解析三"_qs}, {u"da"_qs, u"a"_qs}});
    addQuestion(u"dds"_qs, u"4"_qs, {{u"da"_qs, u"a"_qs}});
    openExam();
    clickNumber(u"1"_qs);
    click(exam->ui->d_b);
    clickNumber(u"2"_qs);
    click(exam->ui->du_b);
    clickNumber(u"3"_qs);
    click(exam->ui->shi_false);
    EXPECT_EQ(handIn(), scoreText(0, LowestBand1));
    for (const QString& number : {u"1"_qs, u"2"_qs, u"3"_qs, u"4"_qs})
        EXPECT_EQ(TForm6::nodeImage(node(number)), TForm6::ImageWrong) << number.toStdString();

    // Showing a wrong single-choice or true/false question selects its button again, which
    // records the same letter and turns the mark into "answered"; boxes and blanks keep it.
    clickNumber(u"1"_qs);
    EXPECT_TRUE(exam->ui->d_b->isChecked());
    EXPECT_EQ(TForm6::nodeImage(node(u"1"_qs)), TForm6::ImageAnswered);
    EXPECT_EQ(stored(u"dds"_qs, u"1"_qs, u"xuan"_qs), u"b");
    EXPECT_TRUE(exam->ui->ed_dan_ping->isVisible());
    EXPECT_EQ(exam->ui->ed_dan_ping->toPlainText(), u"解析一");
    EXPECT_TRUE(exam->ui->Label27->isVisible());
    EXPECT_EQ(exam->ui->Label27->text(), u"正确答案：C");
    clickNumber(u"3"_qs);
    EXPECT_EQ(TForm6::nodeImage(node(u"3"_qs)), TForm6::ImageAnswered);
    EXPECT_EQ(exam->ui->Label27->text(), u"正确答案： 正确");
    clickNumber(u"2"_qs);
    EXPECT_EQ(TForm6::nodeImage(node(u"2"_qs)), TForm6::ImageWrong);
    EXPECT_EQ(exam->ui->ed_duo_ping->toPlainText(), u"解析二");
    clickNumber(u"4"_qs);
    EXPECT_EQ(TForm6::nodeImage(node(u"4"_qs)), TForm6::ImageWrong);
}

} // namespace

namespace {

// The program's own ending, not the test's observer: "退出" leaves the event loop at once, and no
// window is asked to close (the exam screen would answer with its closing question).
TEST_F(HandInTest, ExitEndsTheEventLoopWithoutAskingAnyWindow)
{
    writeBank();
    addTypicalPaper();
    openExam();
    handIn();
    TForm6::setQuitHandler({});

    QEventLoop loop;
    QTimer::singleShot(0, exam, [this] { click(exam->ui->RzBmpButton3); });
    QTimer::singleShot(3000, &loop, [&loop] { loop.exit(1); });
    EXPECT_EQ(loop.exec(), 0) << "the loop was not ended by the exit button";
    QCoreApplication::processEvents();
    EXPECT_TRUE(Dialogs::takeShown().isEmpty()) << "a window was asked to close";
    EXPECT_TRUE(exam->isVisible());

    // Leaving the loops marks the thread as quitting; a short run of the application's own loop
    // clears that for the tests that follow.
    QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
    QEventLoop probe;
    QTimer::singleShot(0, &probe, [&probe] { probe.exit(7); });
    EXPECT_EQ(probe.exec(), 7);
}

} // namespace

namespace {

// Real message boxes, closed the way a candidate closes them: each box that comes up is recorded
// with the window that owns it, confirmations are answered (Yes to the hand-in, No to the closing
// question) and notices are dismissed.
struct ShownBox
{
    QString text;
    QWidget* owner = nullptr;
};

class BoxCloser : public QObject
{
public:
    explicit BoxCloser(QObject* parent) : QObject(parent)
    {
        m_timer.setInterval(20);
        QObject::connect(&m_timer, &QTimer::timeout, this, [this] { closeBox(); });
        m_timer.start();
    }
    QList<ShownBox> shown;

private:
    void closeBox()
    {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || !box->isVisible() || (!shown.isEmpty() && m_last == box))
            return;
        m_last = box;
        shown.append({box->text(), box->parentWidget() ? box->parentWidget()->window() : nullptr});
        QAbstractButton* button = box->button(QMessageBox::Ok);
        if (box->text() == u"确实要交卷吗？")
            button = box->button(QMessageBox::Yes);
        else if (button == nullptr)
            button = box->button(QMessageBox::No);
        button->click();
    }

    QTimer m_timer;
    QPointer<QMessageBox> m_last;
};

// Under a window manager no window is active for a moment after a box closes. An error box
// raised then must still be owned by the exam screen: a box without owner counts as the last
// window closing, and the program would ask "确实要退出系统吗？" unasked.
TEST_F(HandInTest, UnwritableCounterFileWithRealBoxesNeverAsksToQuit)
{
    writeBank();
    addTypicalPaper();
    ASSERT_TRUE(QDir(folder.path()).mkdir(u"ci.ini"_qs));
    startExam(u"370102199001011234"_qs);
    ASSERT_NE(exam, nullptr);
    ASSERT_TRUE(mainWindow->isHidden());
    clickNumber(u"1"_qs);
    click(exam->ui->d_b);
    Dialogs::setTestMode(false);

    auto* closer = new BoxCloser(qApp);
    bool reported = false;
    // Inside the application's own loop, where the last window closing would end the program.
    QTimer::singleShot(0, exam, [&] {
        try {
            exam->RzBmpButton3Click();
        } catch (const AppError& error) {
            reported = true;
            reportHandlerError(error);
        }
        QTimer::singleShot(300, qApp, [] { QCoreApplication::exit(0); });
    });
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, qApp, [] { QCoreApplication::exit(1); });
    watchdog.start(10000);
    const int status = QCoreApplication::exec();
    watchdog.stop();
    Dialogs::setTestMode(true);
    const QList<ShownBox> shown = closer->shown;
    delete closer;

    EXPECT_EQ(status, 0);
    EXPECT_TRUE(reported);
    ASSERT_EQ(shown.size(), 3);
    EXPECT_EQ(shown[0].text, u"确实要交卷吗？");
    EXPECT_EQ(shown[1].text, scoreText(1, LowestBand1).replace(u"\n\r"_qs, u"\n"_qs));
    EXPECT_EQ(shown[2].text, u"Unable to write to "_qs + QDir::toNativeSeparators(folder.file(u"ci.ini"_qs)));
    for (const ShownBox& box : shown)
        EXPECT_EQ(box.owner, exam) << box.text.toStdString();
    EXPECT_EQ(quitCalls, 0);
    EXPECT_TRUE(exam->isVisible());
    EXPECT_TRUE(exam->handedIn());
}

// The counters are on disk before the score is shown: a program ended while the score box is
// open (from the task bar, or by a power cut) keeps the rotation.
TEST_F(HandInTest, CountersAreWrittenBeforeTheScoreIsShown)
{
    writeBank();
    addTypicalPaper();
    openExam();
    Dialogs::setTestMode(false);
    RotationCounters whileShown;
    bool seen = false;
    auto* watcher = new QTimer(qApp);
    watcher->setInterval(20);
    QObject::connect(watcher, &QTimer::timeout, qApp, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr)
            return;
        if (box->text() == u"确实要交卷吗？") {
            box->button(QMessageBox::Yes)->click();
            return;
        }
        seen = true;
        whileShown = fileCounters();
        box->button(QMessageBox::Ok)->click();
    });
    watcher->start();
    exam->RzBmpButton3Click();
    delete watcher;
    Dialogs::setTestMode(true);
    EXPECT_TRUE(seen);
    EXPECT_EQ(whileShown, (RotationCounters{2, 1, 1}));
}

} // namespace
