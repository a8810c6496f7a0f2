#include "Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

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

namespace tarnex {

void watchOwnSelection(QObject* context, std::function<void(const QString&)> owned)
{
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr)
        return;
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard == nullptr || !clipboard->supportsSelection())
        return;
    // Queued: the selection is emptied after the widget that filled it has finished.
    QObject::connect(
        clipboard, &QClipboard::selectionChanged, context,
        [clipboard, owned = std::move(owned)] {
            const QMimeData* data = clipboard->mimeData(QClipboard::Selection);
            if (clipboard->ownsSelection() && data != nullptr && data->hasText() && !data->text().isEmpty())
                owned(data->text());
        },
        Qt::QueuedConnection);
}

} // namespace tarnex
