#pragma once

#include "ProgramMode.h"

#include <QString>
#include <QStringList>

namespace tarnex {

// What the command line of tarnex asks for.
struct CommandLineRequest
{
    enum class Action
    {
        Run,     // start the program in `mode`
        Help,    // print `text` on stdout, exit 0
        Version, // print `text` on stdout, exit 0
        Error    // print `text` on stderr, exit 2
    };
    Action action = Action::Run;
    ProgramMode mode = ProgramMode::Candidate;
    QString text;
};

// Reads the arguments (the program name first, as in argv). Needs no application object, so
// --help and --version answer without a display.
CommandLineRequest parseCommandLine(const QStringList& arguments);

// The exit status of a command line the program cannot run with.
constexpr int CommandLineErrorStatus = 2;

} // namespace tarnex
