#pragma once

#include "Command.h"

namespace tarnex::bank {

class CheckCommand : public Command
{
public:
    CheckCommand();

protected:
    int execute(const QStringList& arguments, CommandIo& io) override;
};

} // namespace tarnex::bank
