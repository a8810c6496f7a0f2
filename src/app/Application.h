#pragma once

#include <QApplication>

#include <exception>

namespace tarnex {

// Shows the error box for an error a handler let through (AppError's message, or the text of
// any other standard exception).
void reportHandlerError(const std::exception& error);

// The application object: every event goes through notify(), so an error that escapes a handler
// ends only that handler. The error box is shown and the program goes on.
class Application : public QApplication
{
public:
    Application(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace tarnex
