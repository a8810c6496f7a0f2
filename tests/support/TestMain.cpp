#include "support/TestFolder.h"

#include <QApplication>

#include <gtest/gtest.h>

// Every test program runs inside one QApplication on the offscreen platform, so widget tests and
// plain ones share a main.
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    // Plugins of the program (the web panel) are built into the program folder.
    QCoreApplication::addLibraryPath(tarnex::test::TestFolder::outputDir());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
