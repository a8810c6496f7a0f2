#include "Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

namespace tarnex {

void emptyClipboard()
{
    // Without a GUI application there is no clipboard to reach (the command-line tool, plain tests).
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr)
        return;
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard == nullptr)
        return;
    clipboard->clear(QClipboard::Clipboard);
    if (clipboard->supportsSelection())
        clipboard->clear(QClipboard::Selection);
}

} // namespace tarnex
