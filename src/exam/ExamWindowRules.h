#pragma once

#include "QuestionKind.h"

#include <QRect>
#include <QString>

namespace tarnex {

// The height of the exam screen whenever it is not maximized.
constexpr int ExamStripHeight = 300;

// While a practical question is shown before hand-in (the hand-in button still reads "交卷") the
// exam screen is a strip along the bottom of the screen, leaving the rest to the accounting
// package; any other question, and every question after hand-in, shows it maximized.
bool showsExamAsStrip(QuestionKind kind, const QString& handInCaption);

// The strip: the full width of the desktop work area, on its lower edge, the given height (at
// most the work area's height).
QRect bottomStripGeometry(const QRect& workArea, int height = ExamStripHeight);

} // namespace tarnex
