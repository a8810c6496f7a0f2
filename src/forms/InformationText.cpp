#include "InformationText.h"

#include "platform/Clipboard.h"

#include <QDialog>
#include <QPlainTextEdit>

namespace tarnex {

void setUpInformationText(QDialog* window, QPlainTextEdit* memo, QWidget* saveButton, ProgramMode mode)
{
    if (mode == ProgramMode::Author) {
        saveButton->show();
        memo->setReadOnly(false);
        memo->setContextMenuPolicy(Qt::DefaultContextMenu);
        window->setWindowTitle(windowTitleFor(mode, window->windowTitle()));
        return;
    }
    memo->installEventFilter(window);
    // A mouse selection fills the X11 selection, which a middle click pastes anywhere: it goes
    // like the clipboard.
    watchOwnSelection(window, [memo](const QString& selected) {
        if (memo->textCursor().selectedText().replace(QChar::ParagraphSeparator, u'\n') == selected)
            emptyClipboard();
    });
}

} // namespace tarnex
