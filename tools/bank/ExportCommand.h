#pragma once

#include "Command.h"

namespace tarnex::bank {

class ExportCommand : public Command
{
public:
    ExportCommand();
    bool needsGui() const override { return true; }

protected:
    int execute(const QStringList& arguments, CommandIo& io) override;

private:
    int exportExchange(const QStringList& arguments, const QString& format, CommandIo& io);
};

} // namespace tarnex::bank
