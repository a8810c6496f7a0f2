// The program's own start, offline, from process start to the main window's first frame: the
// same windows as tarnex, on the bank in the folder given as the first argument.
#include "FirstPaint.h"

#include "Unit_main.h"
#include "app/Application.h"
#include "app/Startup.h"
#include "app/WebPanelStart.h"
#include "platform/AppPaths.h"
#include "platform/DesktopShortcut.h"
#include "platform/Dialogs.h"
#include "platform/NetworkProbe.h"

#include "BenchSupport.h"

#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s PROGRAM_FOLDER\n", argv[0]);
        return 2;
    }
    // The program's own start-up order: the web panel is decided before the application object.
    tarnex::bench::OfflineProbe offline;
    const tarnex::WebPanelStart web = tarnex::prepareWebPanel(offline);
    tarnex::Application app(argc, argv);
    tarnex::applyWebPanelStart(web);
    tarnex::AppPaths::setProgramDirForTesting(QString::fromLocal8Bit(argv[1]));
    QTemporaryDir desktop; // keep the measurement's shortcut off the real desktop
    tarnex::setDesktopFolderForTesting(desktop.path());
    tarnex::Dialogs::setTestMode(true);

    auto* window = tarnex::createProgramWindows();
    QuitAfterFirstPaint quit(window);
    window->show();
    const int rc = app.exec();
    if (!tarnex::Dialogs::takeShown().isEmpty()) {
        std::fprintf(stderr, "start-up showed a message box\n");
        return 1;
    }
    return rc;
}
