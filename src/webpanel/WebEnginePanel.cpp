#include "WebEnginePanel.h"

#include <QWebEngineView>

namespace tarnex {

QWidget* WebEnginePanel::createView(QWidget* parent)
{
    return new QWebEngineView(parent);
}

void WebEnginePanel::navigate(QWidget* view, const QUrl& url)
{
    if (auto* web = qobject_cast<QWebEngineView*>(view))
        web->setUrl(url);
}

QUrl WebEnginePanel::currentUrl(const QWidget* view) const
{
    if (const auto* web = qobject_cast<const QWebEngineView*>(view))
        return web->url();
    return {};
}

} // namespace tarnex
