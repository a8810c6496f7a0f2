#pragma once

#include "Command.h"

namespace tarnex::bank {

class ShowCommand : public Command
{
public:
    ShowCommand();
    bool needsGui() const override;

protected:
    int execute(const QStringList& arguments, CommandIo& io) override;
};

} // namespace tarnex::bank
