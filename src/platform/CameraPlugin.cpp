#include "MultimediaCamera.h"

#include <QObject>

namespace tarnex {

// The camera preview on Qt Multimedia as a plugin, so that only an exam with "摄像头" ticked
// loads the media stack.
class CameraPlugin : public QObject, public CameraPreviewFactory
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID TarnexCameraPreviewFactory_iid)
    Q_INTERFACES(tarnex::CameraPreviewFactory)

public:
    CameraPreview* createPreview() override { return new MultimediaCameraPreview; }
};

} // namespace tarnex

#include "CameraPlugin.moc"
