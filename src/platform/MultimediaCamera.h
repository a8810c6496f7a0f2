#pragma once

#include "Camera.h"

#include <QPointer>

#include <memory>

class QCamera;
class QMediaCaptureSession;
class QVideoWidget;

namespace tarnex {

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

} // namespace tarnex
