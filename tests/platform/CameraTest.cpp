#include "platform/Camera.h"
#include "platform/MultimediaCamera.h"

#include <QCameraDevice>
#include <QCoreApplication>
#include <QMediaDevices>
#include <QVideoWidget>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

namespace tarnex {
namespace {

class InstalledFake
{
public:
    InstalledFake() { CameraPreview::setInstanceForTesting(&fake); }
    ~InstalledFake() { CameraPreview::setInstanceForTesting(nullptr); }
    FakeCameraPreview fake;
};

TEST(CameraTest, InstanceIsTheInstalledFakeThenTheRealPreviewAgain)
{
    {
        InstalledFake installed;
        EXPECT_EQ(&CameraPreview::instance(), &installed.fake);
    }
    EXPECT_NE(dynamic_cast<MultimediaCameraPreview*>(&CameraPreview::instance()), nullptr);
}

TEST(CameraTest, FakeRunsFromStartToStopOnlyWithADevice)
{
    QWidget area;
    FakeCameraPreview fake;
    fake.start(&area);
    EXPECT_TRUE(fake.isRunning());
    EXPECT_EQ(fake.area, &area);
    fake.stop();
    EXPECT_FALSE(fake.isRunning());
    EXPECT_EQ(fake.startCalls, 1);
    EXPECT_EQ(fake.stopCalls, 1);

    FakeCameraPreview without;
    without.hasDevice = false;
    without.start(&area);
    EXPECT_FALSE(without.isRunning());
    without.start(nullptr);
    EXPECT_FALSE(without.isRunning());
    EXPECT_EQ(without.startCalls, 2);
}

TEST(CameraTest, RealPreviewWithoutADeviceLeavesTheAreaAsItWas)
{
    if (!QMediaDevices::videoInputs().isEmpty())
        GTEST_SKIP() << "this machine has a camera";
    QWidget area;
    area.resize(160, 120);
    MultimediaCameraPreview preview;
    EXPECT_NO_THROW(preview.start(&area));
    EXPECT_FALSE(preview.isRunning());
    EXPECT_EQ(preview.videoWidget(), nullptr);
    EXPECT_TRUE(area.findChildren<QWidget*>().isEmpty());
    EXPECT_EQ(area.layout(), nullptr);
    // Stopping what never ran is harmless, twice as well.
    EXPECT_NO_THROW(preview.stop());
    EXPECT_NO_THROW(preview.stop());
    EXPECT_FALSE(preview.isRunning());
}

TEST(CameraTest, RealPreviewIgnoresAMissingArea)
{
    MultimediaCameraPreview preview;
    EXPECT_NO_THROW(preview.start(nullptr));
    EXPECT_FALSE(preview.isRunning());
}

TEST(CameraTest, RealPreviewWithADeviceShowsItScaledIntoTheArea)
{
    if (QMediaDevices::videoInputs().isEmpty())
        GTEST_SKIP() << "no camera on this machine";
    QWidget area;
    area.resize(160, 120);
    MultimediaCameraPreview preview;
    preview.start(&area);
    if (!preview.isRunning())
        GTEST_SKIP() << "the camera failed to start";
    ASSERT_NE(preview.videoWidget(), nullptr);
    EXPECT_EQ(preview.videoWidget()->parentWidget(), &area);
    EXPECT_EQ(preview.videoWidget()->aspectRatioMode(), Qt::IgnoreAspectRatio);
    preview.start(&area); // a second start adds nothing
    EXPECT_EQ(area.findChildren<QVideoWidget*>().size(), 1);
    preview.stop();
    EXPECT_FALSE(preview.isRunning());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(area.findChildren<QVideoWidget*>().isEmpty());
}

} // namespace
} // namespace tarnex
