#pragma once

#include <QByteArray>
#include <QString>

namespace tarnex {

// The user's desktop folder (XDG desktop directory); tests point it at a folder of their own.
QString desktopFolder();
void setDesktopFolderForTesting(const QString& folder);

// Places the program's shortcut on the desktop: a freedesktop desktop entry "Velquarn.desktop"
// that starts the running executable with its folder as working directory. An existing file of
// that name is left untouched. Returns the path of the entry (whether written now or not);
// failures to write are ignored, as a missing shortcut must not stop the program.
QString placeDesktopShortcut();

// The entry's text (UTF-8) for an executable: Exec quoted as the desktop entry format wants it,
// Path the executable's folder, and the action "编辑试题" that starts it with --author.
QByteArray desktopEntryText(const QString& executable);

} // namespace tarnex
