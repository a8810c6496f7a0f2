// The start of the fuzz targets whose code under test lays out rich text: they need a GUI
// application object, on the offscreen platform.
#include <QGuiApplication>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Kept alive for the whole run (and so never reported as a leak).
    static QGuiApplication* app = new QGuiApplication(*argc, *argv);
    (void)app;
    return 0;
}
