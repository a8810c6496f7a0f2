// The exam screen's countdown and camera preview.
#include "ExamScreenFixture.h"

#include "platform/Camera.h"

#include <QGroupBox>

using namespace tarnex;
using namespace tarnex::test;

namespace {

class TimersTest : public ExamScreenTest
{
protected:
    void SetUp() override
    {
        ExamScreenTest::SetUp();
        CameraPreview::setInstanceForTesting(&camera);
        writeBank();
        addTypicalPaper();
    }
    void TearDown() override
    {
        ExamScreenTest::TearDown();
        CameraPreview::setInstanceForTesting(nullptr);
    }

    void openWithCamera(bool ticked)
    {
        startProgram();
        mainWindow->ui->CheckBox1->setChecked(ticked);
        openExam();
    }

    // Waits for the one-second camera start and a little beyond it.
    void waitForCameraStart()
    {
        EXPECT_TRUE(QTest::qWaitFor([this] { return camera.startCalls > 0; }, 3000));
        QTest::qWait(30);
    }

    void handIn()
    {
        Dialogs::queueAnswer(true);
        click(exam->ui->RzBmpButton3);
        Dialogs::takeShown();
    }

    FakeCameraPreview camera;
};

TEST_F(TimersTest, CountdownTextsByTheMinute)
{
    openExam();
    EXPECT_EQ(exam->ui->Label7->text(), u"60");
    auto ticks = [this](int n) {
        for (int i = 0; i < n; ++i)
            exam->Timer2Timer();
        return exam->ui->Label7->text();
    };
    EXPECT_EQ(ticks(1), u"59");
    EXPECT_EQ(ticks(54), u"05");
    EXPECT_EQ(ticks(5), u"00");
    EXPECT_EQ(ticks(1), u"-01") << "nothing happens at zero";
    EXPECT_EQ(ticks(11), u"-12");
    EXPECT_FALSE(exam->handedIn());
    EXPECT_TRUE(exam->Timer2->isActive());
}

TEST_F(TimersTest, Timer2DrivesTheCountdownAndTheHandInDoesNotStopIt)
{
    openExam();
    EXPECT_EQ(exam->Timer2->interval(), 60000);
    handIn();
    ASSERT_TRUE(exam->handedIn());
    ASSERT_TRUE(exam->Timer2->isActive());
    // A minute shortened to a few milliseconds: the timer itself ticks the label.
    exam->Timer2->setInterval(5);
    ASSERT_TRUE(QTest::qWaitFor([this] { return exam->countdown.minutes() <= 57; }, 3000));
    exam->Timer2->stop();
    const int minutes = exam->countdown.minutes();
    EXPECT_EQ(exam->ui->Label7->text(), QStringLiteral("%1").arg(minutes, 2, 10, QLatin1Char('0')));
}

TEST_F(TimersTest, CameraNotTickedNeverStartsNorStops)
{
    openWithCamera(false);
    EXPECT_FALSE(exam->Timer1->isActive());
    QTest::qWait(1200);
    EXPECT_EQ(camera.startCalls, 0);
    EXPECT_EQ(exam->ui->RzPanel4->title(), u"视频");
    EXPECT_TRUE(exam->ui->Image1->isVisibleTo(exam));

    handIn();
    click(exam->ui->RzBmpButton3); // 退出
    EXPECT_EQ(quitCalls, 1);
    EXPECT_EQ(camera.stopCalls, 0);
}

TEST_F(TimersTest, CameraTickedStartsOnceInThePanelAndStopsAtExit)
{
    openWithCamera(true);
    EXPECT_TRUE(exam->Timer1->isActive());
    EXPECT_EQ(camera.startCalls, 0) << "one second after loading, not at once";
    waitForCameraStart();
    EXPECT_EQ(camera.startCalls, 1);
    EXPECT_EQ(camera.area, exam->ui->Panel1);
    EXPECT_FALSE(exam->Timer1->isActive());
    EXPECT_TRUE(exam->ui->RzPanel4->title().isEmpty()) << "the caption gives way to the picture";
    EXPECT_TRUE(exam->ui->Panel1->isVisibleTo(exam));

    // Once only, even if the start ran again.
    exam->Timer1Timer();
    QTest::qWait(30);
    EXPECT_EQ(camera.startCalls, 1);

    // The hand-in leaves the camera running; "退出" releases it and ends without a question.
    handIn();
    EXPECT_TRUE(camera.isRunning());
    EXPECT_EQ(camera.stopCalls, 0);
    click(exam->ui->RzBmpButton3);
    EXPECT_TRUE(Dialogs::takeShown().isEmpty());
    EXPECT_EQ(camera.stopCalls, 1);
    EXPECT_FALSE(camera.isRunning());
    EXPECT_EQ(quitCalls, 1);
}

TEST_F(TimersTest, ClosingConfirmationStopsTheCameraOnYesOnly)
{
    openWithCamera(true);
    waitForCameraStart();
    ASSERT_TRUE(camera.isRunning());

    Dialogs::queueAnswer(false);
    exam->close();
    EXPECT_EQ(camera.stopCalls, 0);
    EXPECT_TRUE(camera.isRunning());
    EXPECT_EQ(quitCalls, 0);

    Dialogs::queueAnswer(true);
    exam->close();
    EXPECT_EQ(camera.stopCalls, 1);
    EXPECT_FALSE(camera.isRunning());
    EXPECT_EQ(quitCalls, 1);
}

TEST_F(TimersTest, NoCameraDeviceLeavesTheAreaQuiet)
{
    camera.hasDevice = false;
    openWithCamera(true);
    Dialogs::takeShown();
    waitForCameraStart();
    EXPECT_EQ(camera.startCalls, 1);
    EXPECT_EQ(exam->ui->RzPanel4->title(), u"视频");
    EXPECT_TRUE(Dialogs::takeShown().isEmpty());

    Dialogs::queueAnswer(true);
    exam->close();
    EXPECT_EQ(camera.stopCalls, 0) << "nothing to release";
    EXPECT_EQ(quitCalls, 1);
}

} // namespace
