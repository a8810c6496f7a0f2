#pragma once

#include "ProgramMode.h"

#include <QString>

namespace tarnex {

// Left edge that centres a strip of innerWidth over a span starting at outerLeft; the division
// truncates toward zero, so a strip wider than the span sits half its excess to the left.
int centredLeft(int outerLeft, int outerWidth, int innerWidth);

// The address the web panel shows for the stored value of 微博地址, or an empty string when the
// panel stays hidden: nothing stored, or a stored value that decodes to blanks only.
QString webPanelAddress(const QString& stored);

// The text of a multi-line edit with its lines joined by CR LF, the way the long information
// texts are stored.
QString joinedWithCrLf(const QString& plainText);

// Whether the main window shows the check box "初始化账套": in author mode, and whenever the subject
// picked is the one whose exam may need the accounting package's account sets reset.
bool showsAccountSetBox(ProgramMode mode, const QString& subject);

} // namespace tarnex
