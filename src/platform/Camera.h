#pragma once

#include <QPointer>
#include <QtPlugin>

class QWidget;

namespace tarnex {

// The live picture of the computer's camera inside a widget of the exam screen. Starting never
// shows a message and never throws: without a camera, or with one that fails, the area stays as
// it was (an empty panel).
class CameraPreview
{
public:
    virtual ~CameraPreview() = default;

    // Shows the first video input scaled to the area. A second start while running does nothing.
    virtual void start(QWidget* area) = 0;
    // Stops the picture and releases the device; nothing happens when none is running.
    virtual void stop() = 0;
    virtual bool isRunning() const = 0;

    // The preview the program uses: the one on Qt Multimedia, from the plugin tarnex_camera next
    // to the executable, loaded on the first call only (a start without "摄像头" never loads the
    // media stack); a preview without device when the plugin cannot be loaded. Tests install a
    // fake. Ownership stays with the caller of set.
    static CameraPreview& instance();
    static void setInstanceForTesting(CameraPreview* preview);
};

// A preview without a device for tests: it records the calls and, when told it has a camera,
// runs from start to stop.
class FakeCameraPreview : public CameraPreview
{
public:
    bool hasDevice = true;
    int startCalls = 0;
    int stopCalls = 0;
    QPointer<QWidget> area;

    void start(QWidget* target) override;
    void stop() override;
    bool isRunning() const override { return m_running; }

private:
    bool m_running = false;
};

// What the camera plugin offers: the real preview.
class CameraPreviewFactory
{
public:
    virtual ~CameraPreviewFactory() = default;
    virtual CameraPreview* createPreview() = 0;
};

} // namespace tarnex

#define TarnexCameraPreviewFactory_iid "org.velquarn.tarnex.CameraPreviewFactory/1"
Q_DECLARE_INTERFACE(tarnex::CameraPreviewFactory, TarnexCameraPreviewFactory_iid)
