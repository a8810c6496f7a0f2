#pragma once

#include "ProgramMode.h"

class QDialog;
class QPlainTextEdit;
class QWidget;

namespace tarnex {

// The version notes and the consulting text show alike. For a candidate the text is read-only and
// neither a copy nor a mouse selection of it leaves the program (the window filters the memo's
// keys and focus); for an author it is writable and "保存" is shown.
void setUpInformationText(QDialog* window, QPlainTextEdit* memo, QWidget* saveButton, ProgramMode mode);

} // namespace tarnex
