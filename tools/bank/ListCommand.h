#pragma once

#include "Command.h"

namespace tarnex::bank {

class ListCommand : public Command
{
public:
    ListCommand();

protected:
    int execute(const QStringList& arguments, CommandIo& io) override;
};

} // namespace tarnex::bank
