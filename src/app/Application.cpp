#include "Application.h"

#include "platform/AppError.h"
#include "platform/Dialogs.h"

namespace tarnex {

void reportHandlerError(const std::exception& error)
{
    const auto* appError = dynamic_cast<const AppError*>(&error);
    const QString text = appError != nullptr ? appError->message() : QString::fromLocal8Bit(error.what());
    Dialogs::error(Dialogs::owner(nullptr), text);
}

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {}

bool Application::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        reportHandlerError(error);
    }
    return false;
}

} // namespace tarnex
