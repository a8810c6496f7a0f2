#pragma once

// Pieces the benchmarks of windows share: painting a window, and a main that runs the
// benchmarks inside an offscreen application with message boxes in test mode.

#include "BenchSupport.h"

#include "platform/Dialogs.h"

#include <QApplication>
#include <QTest>
#include <QWidget>

#include <benchmark/benchmark.h>

namespace tarnex::bench {

// Shows the window and waits until its first frame has been painted.
inline void showAndPaint(QWidget& window)
{
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        qFatal("window not exposed");
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

// The offscreen platform unless another is asked for; must run before the application exists.
inline void preferOffscreen()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

// Runs the registered benchmarks offline, with message boxes recorded instead of shown.
inline int runOffline(int& argc, char** argv)
{
    OfflineProbe probe;
    NetworkProbe::setInstanceForTesting(&probe);
    Dialogs::setTestMode(true);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    NetworkProbe::setInstanceForTesting(nullptr);
    return 0;
}

} // namespace tarnex::bench
