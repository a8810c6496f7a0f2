#include "Camera.h"

#include <QPluginLoader>
#include <QWidget>

#include <memory>

namespace tarnex {
namespace {

CameraPreview*& installedPreview()
{
    static CameraPreview* preview = nullptr;
    return preview;
}

// Where the plugin cannot be loaded the program goes on as on a machine without a camera.
class NoCameraPreview : public CameraPreview
{
public:
    void start(QWidget*) override {}
    void stop() override {}
    bool isRunning() const override { return false; }
};

std::unique_ptr<CameraPreview> loadPreview()
{
    // A relative name is looked up in the library paths, which start with the executable's folder.
    QPluginLoader loader(QStringLiteral("tarnex_camera"));
    if (auto* factory = qobject_cast<CameraPreviewFactory*>(loader.instance()))
        return std::unique_ptr<CameraPreview>(factory->createPreview());
    qWarning("%s", qPrintable(loader.errorString()));
    return std::make_unique<NoCameraPreview>();
}

} // namespace

CameraPreview& CameraPreview::instance()
{
    if (CameraPreview* preview = installedPreview())
        return *preview;
    static const std::unique_ptr<CameraPreview> real = loadPreview();
    return *real;
}

void CameraPreview::setInstanceForTesting(CameraPreview* preview)
{
    installedPreview() = preview;
}

void FakeCameraPreview::start(QWidget* target)
{
    ++startCalls;
    area = target;
    if (target && hasDevice)
        m_running = true;
}

void FakeCameraPreview::stop()
{
    ++stopCalls;
    m_running = false;
}

} // namespace tarnex
