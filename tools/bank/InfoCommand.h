#pragma once

#include "Command.h"

namespace tarnex::bank {

class InfoCommand : public Command
{
public:
    InfoCommand();

protected:
    int execute(const QStringList& arguments, CommandIo& io) override;
};

} // namespace tarnex::bank
