#include "WebPanel.h"

#include "platform/AppError.h"

#include <QPluginLoader>

namespace tarnex {

WebPanel& loadWebPanel()
{
    // A relative name is looked up in the library paths, which start with the executable's folder.
    static QPluginLoader loader(QStringLiteral("tarnex_webpanel"));
    static WebPanel* panel = nullptr;
    if (panel == nullptr) {
        panel = qobject_cast<WebPanel*>(loader.instance());
        if (panel == nullptr)
            throw AppError(QStringLiteral("无法加载网页面板：%1").arg(loader.errorString()));
    }
    return *panel;
}

namespace {
bool& engineAvailable()
{
    static bool available = true;
    return available;
}
} // namespace

bool webEngineAvailable()
{
    return engineAvailable();
}

void setWebEngineAvailable(bool available)
{
    engineAvailable() = available;
}

} // namespace tarnex
