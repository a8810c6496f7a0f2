#pragma once

#include "forms/WebPanel.h"

#include <QObject>

namespace tarnex {

// The information panel on Qt WebEngine.
class WebEnginePanel : public QObject, public WebPanel
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID TarnexWebPanel_iid)
    Q_INTERFACES(tarnex::WebPanel)

public:
    QWidget* createView(QWidget* parent) override;
    void navigate(QWidget* view, const QUrl& url) override;
    QUrl currentUrl(const QWidget* view) const override;
};

} // namespace tarnex
