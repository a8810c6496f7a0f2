#pragma once

#include <QUrl>
#include <QtPlugin>

class QWidget;

namespace tarnex {

// The browser engine of the main window's information panel lives in a plugin
// (tarnex_webpanel, next to the executable) that is loaded the first time the panel is shown,
// so a start without network never loads the engine's libraries.
class WebPanel
{
public:
    virtual ~WebPanel() = default;
    virtual QWidget* createView(QWidget* parent) = 0;
    virtual void navigate(QWidget* view, const QUrl& url) = 0;
    virtual QUrl currentUrl(const QWidget* view) const = 0;
};

// Loads the plugin once; throws AppError when it cannot be loaded.
WebPanel& loadWebPanel();

// Whether the browser engine can start in this process at all, as the start-up decided it before
// the application object existed (true unless it said otherwise). When it cannot, the panel
// stays hidden and the engine is never loaded.
bool webEngineAvailable();
void setWebEngineAvailable(bool available);

} // namespace tarnex

#define TarnexWebPanel_iid "org.velquarn.tarnex.WebPanel/1"
Q_DECLARE_INTERFACE(tarnex::WebPanel, TarnexWebPanel_iid)
