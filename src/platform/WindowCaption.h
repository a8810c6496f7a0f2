#pragma once

class QString;
class QWidget;

namespace tarnex {

// Sets a window's caption as given, the empty caption included. Qt shows the application's name
// in the title bar and the task bar when a window's title is empty; a window captioned here
// shows nothing there instead, while its title (and its accessible name) stays empty.
void setWindowCaption(QWidget* window, const QString& caption);

} // namespace tarnex
