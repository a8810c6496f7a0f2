#include "Application.h"
#include "CommandLine.h"
#include "Startup.h"
#include "WebPanelStart.h"

#include "Unit_main.h"

#include "platform/Dialogs.h"
#include "platform/NetworkProbe.h"

#include <cstdio>

namespace {

void print(std::FILE* stream, const QString& text)
{
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stream);
}

} // namespace

int main(int argc, char** argv)
{
    // The command line is answered before any window system is touched: --help and --version work
    // without a display.
    QCoreApplication::setApplicationName(QStringLiteral("tarnex"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TARNEX_VERSION));
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const tarnex::CommandLineRequest request = tarnex::parseCommandLine(arguments);
    switch (request.action) {
    case tarnex::CommandLineRequest::Action::Help:
    case tarnex::CommandLineRequest::Action::Version:
        print(stdout, request.text);
        return 0;
    case tarnex::CommandLineRequest::Action::Error:
        print(stderr, request.text);
        return tarnex::CommandLineErrorStatus;
    case tarnex::CommandLineRequest::Action::Run:
        break;
    }

    // Whether the web panel can be shown is known before the application object exists: only
    // then does its engine get the OpenGL context sharing, which loads the GL driver. A browser
    // engine that cannot start (as root, where its sandbox cannot run) leaves the panel hidden.
    const tarnex::WebPanelStart web = tarnex::prepareWebPanel(tarnex::NetworkProbe::instance());
    tarnex::Application app(argc, argv);
    QApplication::setApplicationName(tarnex::applicationTitle());
    tarnex::applyWebPanelStart(web);
    // Ties the windows to the installed menu entry (and its icon) where the desktop asks for it.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.velquarn.velquarn"));

    tarnex::createProgramWindows(request.mode)->show();
    return app.exec();
}
