#include "WebPanelStart.h"

#include "WebPanel.h"

#include "platform/NetworkProbe.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibraryInfo>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace tarnex {

bool browserEngineCanStart(bool runsAsRoot, const QByteArray& disableSandbox, const QByteArray& chromiumFlags,
                           bool helperExists)
{
    if (!helperExists)
        return false;
    if (!runsAsRoot)
        return true;
    const QByteArray disable = disableSandbox.trimmed();
    if (!disable.isEmpty() && disable != "0")
        return true;
    return chromiumFlags.split(' ').contains("--no-sandbox");
}

bool browserEngineCanStartHere()
{
    bool root = false;
#ifdef Q_OS_UNIX
    root = ::geteuid() == 0;
#endif
    // Where Qt WebEngine looks for its helper program.
    QString helper = qEnvironmentVariable("QTWEBENGINEPROCESS_PATH");
    if (helper.isEmpty()) {
#ifdef Q_OS_WIN
        const QString name = QStringLiteral("QtWebEngineProcess.exe");
#else
        const QString name = QStringLiteral("QtWebEngineProcess");
#endif
        helper = QLibraryInfo::path(QLibraryInfo::LibraryExecutablesPath) + u'/' + name;
    }
    return browserEngineCanStart(root, qgetenv("QTWEBENGINE_DISABLE_SANDBOX"),
                                 qgetenv("QTWEBENGINE_CHROMIUM_FLAGS"), QFileInfo(helper).isExecutable());
}

WebPanelStart prepareWebPanel(NetworkProbe& probe)
{
    WebPanelStart start;
    start.online = probe.isReachable();
    start.engineCanStart = start.online && browserEngineCanStartHere();
    static KnownReachability known(start.online);
    known = KnownReachability(start.online);
    NetworkProbe::setInstance(&known);
    if (start.panelPossible())
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    return start;
}

void applyWebPanelStart(const WebPanelStart& start)
{
    setWebEngineAvailable(start.engineCanStart);
}

} // namespace tarnex
