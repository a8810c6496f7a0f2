#pragma once

#include <functional>

class QObject;
class QString;

namespace tarnex {

// Removes every format from the system clipboard (and the X11 selection where there is one).
// Errors of the clipboard are ignored.
void emptyClipboard();

// Calls `owned` with the selected text (later, from the event loop) each time this program has
// put something into the X11 selection, which a mouse selection fills and a middle click pastes
// anywhere. The call stops when `context` is destroyed. Nothing happens where there is no such
// selection.
void watchOwnSelection(QObject* context, std::function<void(const QString&)> owned);

} // namespace tarnex
