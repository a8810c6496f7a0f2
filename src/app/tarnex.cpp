#include "Application.h"
#include "Startup.h"

#include "Unit_main.h"

#include "platform/Dialogs.h"

int main(int argc, char** argv)
{
    // The web panel's engine shares its OpenGL context with the widgets; this must be set before
    // the application object exists.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    tarnex::Application app(argc, argv);
    QApplication::setApplicationName(tarnex::applicationTitle());

    tarnex::createProgramWindows()->show();
    return app.exec();
}
