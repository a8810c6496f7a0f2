#include "Application.h"

#include "Unit1.h"
#include "Unit2.h"
#include "Unit3.h"
#include "Unit_main.h"

#include "platform/Dialogs.h"

int main(int argc, char** argv)
{
    // The web panel's engine shares its OpenGL context with the widgets; this must be set before
    // the application object exists.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    tarnex::Application app(argc, argv);
    QApplication::setApplicationName(tarnex::applicationTitle());

    auto* mainWindow = new TForm_main;
    mainWindow->setAttribute(Qt::WA_DeleteOnClose);
    // The three information windows are owned by the main window and centred on it.
    new TForm1(mainWindow);
    new TForm2(mainWindow);
    new TForm3(mainWindow);

    mainWindow->show();
    return app.exec();
}
