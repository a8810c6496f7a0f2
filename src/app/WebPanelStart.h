#pragma once

#include <QByteArray>
#include <QString>

namespace tarnex {

class NetworkProbe;

// Whether Qt WebEngine's browser engine can start in this process. As root its sandbox cannot
// run and the engine refuses to start, which would end the whole program; it starts there only
// when the sandbox was switched off the way Qt WebEngine documents it (QTWEBENGINE_DISABLE_SANDBOX=1,
// or --no-sandbox among QTWEBENGINE_CHROMIUM_FLAGS). The engine's helper program must exist too.
bool browserEngineCanStart(bool runsAsRoot, const QByteArray& disableSandbox, const QByteArray& chromiumFlags,
                           bool helperExists);
// The same for this process and its environment.
bool browserEngineCanStartHere();

// What the start-up decided about the web panel before the application object existed.
struct WebPanelStart
{
    bool online = false;
    bool engineCanStart = false;
    bool panelPossible() const { return online && engineCanStart; }
};

// Probes the network once and, only when the panel can be shown, asks for the OpenGL context
// sharing the browser engine needs: asked for without need, it makes Qt load the whole GL driver
// at start-up. Runs before the application object exists (the probe needs no window); the
// answer stays installed as the program's probe, so the main window does not probe again.
WebPanelStart prepareWebPanel(NetworkProbe& probe);

// After the application object exists: tells the windows whether the engine may be loaded.
void applyWebPanelStart(const WebPanelStart& start);

} // namespace tarnex
