#include "Startup.h"

#include "Unit1.h"
#include "Unit2.h"
#include "Unit3.h"
#include "Unit_main.h"

namespace tarnex {

TForm_main* createProgramWindows(ProgramMode mode)
{
    auto* mainWindow = new TForm_main(mode);
    mainWindow->setAttribute(Qt::WA_DeleteOnClose);
    // The three information windows are owned by the main window and centred on it.
    new TForm1(mainWindow);
    new TForm2(mainWindow, mode);
    new TForm3(mainWindow, mode);
    return mainWindow;
}

} // namespace tarnex
