#pragma once

#include "Command.h"

namespace tarnex::bank {

class MergeCommand : public Command
{
public:
    MergeCommand();

protected:
    int execute(const QStringList& arguments, CommandIo& io) override;
};

} // namespace tarnex::bank
