#pragma once

#include "ProgramMode.h"

class TForm_main;

namespace tarnex {

// Creates the windows of a run in their order: the main window (whose creation opens the bank),
// then the information editor (which places the desktop shortcut) and the two information
// windows, hidden. The caller shows the main window and runs the event loop.
TForm_main* createProgramWindows(ProgramMode mode = ProgramMode::Candidate);

} // namespace tarnex
