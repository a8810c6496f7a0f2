#pragma once

#include "Command.h"

namespace tarnex::bank {

// Adds a new, empty paper to a subject's paper list in titao.dat, or removes one (with its
// questions only when asked to). Every other line and column of the list stays as it was.
class PaperCommand : public Command
{
public:
    PaperCommand();

protected:
    int execute(const QStringList& arguments, CommandIo& io) override;
};

// The paper-list text with the name as its last line, written with the list's own line break
// (CR LF for a list without one).
QString withPaperAdded(const QString& list, const QString& name);
// The paper-list text without the lines that read the name; the other lines keep their breaks.
QString withPaperRemoved(const QString& list, const QString& name);

} // namespace tarnex::bank
