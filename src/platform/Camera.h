#pragma once

#include <QPointer>

#include <memory>

class QCamera;
class QMediaCaptureSession;
class QVideoWidget;
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

    // The preview the program uses; tests install a fake. Ownership stays with the caller of set.
    static CameraPreview& instance();
    static void setInstanceForTesting(CameraPreview* preview);
};

// The real preview on Qt Multimedia.
class MultimediaCameraPreview : public CameraPreview
{
public:
    // One preview frame every 66 ms, where the device offers such a rate.
    static constexpr float PreferredFrameRate = 15.0f;

    MultimediaCameraPreview();
    ~MultimediaCameraPreview() override;

    void start(QWidget* area) override;
    void stop() override;
    bool isRunning() const override;

    // The video widget inside the area while running (for tests and layout), or null.
    QVideoWidget* videoWidget() const;

private:
    void release();

    std::unique_ptr<QMediaCaptureSession> m_session;
    std::unique_ptr<QCamera> m_camera;
    QPointer<QVideoWidget> m_video;
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

} // namespace tarnex
