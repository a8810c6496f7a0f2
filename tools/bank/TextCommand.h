#pragma once

#include "Command.h"

namespace tarnex::bank {

class TextCommand : public Command
{
public:
    TextCommand();
    bool needsGui() const override;
    // Whether rtfToPlainText lays the text out in a QTextDocument that needs a QGuiApplication.
    static bool plainTextNeedsGui();

protected:
    int execute(const QStringList& arguments, CommandIo& io) override;
};

} // namespace tarnex::bank
