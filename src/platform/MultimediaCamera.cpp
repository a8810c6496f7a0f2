#include "MultimediaCamera.h"

#include <QCamera>
#include <QCameraDevice>
#include <QCameraFormat>
#include <QCoreApplication>
#include <QMediaCaptureSession>
#include <QMediaDevices>
#include <QVBoxLayout>
#include <QVideoWidget>

namespace tarnex {
namespace {

// Among the formats whose frame-rate range takes in the preferred rate, the one with the most
// pixels; none when the device offers no such rate (the camera then keeps its own default).
QCameraFormat formatNearRate(const QCameraDevice& device, float rate)
{
    QCameraFormat best;
    qint64 bestPixels = -1;
    const QList<QCameraFormat> formats = device.videoFormats();
    for (const QCameraFormat& format : formats) {
        if (format.minFrameRate() > rate || format.maxFrameRate() < rate)
            continue;
        const qint64 pixels = qint64(format.resolution().width()) * format.resolution().height();
        if (pixels > bestPixels) {
            best = format;
            bestPixels = pixels;
        }
    }
    return best;
}

} // namespace

MultimediaCameraPreview::MultimediaCameraPreview() = default;

MultimediaCameraPreview::~MultimediaCameraPreview()
{
    release();
}

void MultimediaCameraPreview::start(QWidget* area)
{
    if (!area || m_camera)
        return;
    const QList<QCameraDevice> inputs = QMediaDevices::videoInputs();
    if (inputs.isEmpty())
        return;

    const QCameraDevice device = inputs.first();
    m_camera = std::make_unique<QCamera>(device);
    const QCameraFormat format = formatNearRate(device, PreferredFrameRate);
    if (!format.isNull())
        m_camera->setCameraFormat(format);

    auto* video = new QVideoWidget(area);
    video->setObjectName(QStringLiteral("cameraVideo"));
    video->setAccessibleName(QStringLiteral("摄像头画面"));
    // The picture is stretched over the whole area, as the capture window scaled it.
    video->setAspectRatioMode(Qt::IgnoreAspectRatio);
    if (!area->layout()) {
        auto* layout = new QVBoxLayout(area);
        layout->setContentsMargins(0, 0, 0, 0);
    }
    area->layout()->addWidget(video);
    m_video = video;

    m_session = std::make_unique<QMediaCaptureSession>();
    m_session->setCamera(m_camera.get());
    m_session->setVideoOutput(video);

    // A device that fails, now or later, leaves the area empty; nothing is reported.
    QObject::connect(m_camera.get(), &QCamera::errorOccurred, video,
                     [this](QCamera::Error error, const QString&) {
                         if (error != QCamera::NoError)
                             release();
                     });
    video->show();
    m_camera->start();
    if (m_camera && m_camera->error() != QCamera::NoError)
        release();
}

void MultimediaCameraPreview::stop()
{
    release();
}

QVideoWidget* MultimediaCameraPreview::videoWidget() const
{
    return m_video;
}

bool MultimediaCameraPreview::isRunning() const
{
    return m_camera != nullptr;
}

void MultimediaCameraPreview::release()
{
    // Torn down later rather than at once: a failing camera calls this from its own signal.
    QCamera* camera = m_camera.release();
    QMediaCaptureSession* session = m_session.release();
    QVideoWidget* video = m_video.data();
    m_video = nullptr;
    if (!QCoreApplication::instance())
        return; // the program is past its event loop; the process takes the device with it
    if (camera) {
        QObject::disconnect(camera, nullptr, nullptr, nullptr);
        camera->stop();
    }
    if (session) {
        session->setVideoOutput(nullptr);
        session->setCamera(nullptr);
        session->deleteLater();
    }
    if (camera)
        camera->deleteLater();
    if (video) {
        video->hide();
        video->deleteLater();
    }
}

} // namespace tarnex
