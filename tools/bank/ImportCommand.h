#pragma once

#include "Command.h"

namespace tarnex::bank {

class ImportCommand : public Command
{
public:
    ImportCommand();
    bool needsGui() const override { return true; }

protected:
    int execute(const QStringList& arguments, CommandIo& io) override;
};

} // namespace tarnex::bank
