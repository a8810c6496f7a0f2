#pragma once

namespace tarnex {

// Removes every format from the system clipboard (and the X11 selection where there is one).
// Errors of the clipboard are ignored.
void emptyClipboard();

} // namespace tarnex
