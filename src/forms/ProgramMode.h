#pragma once

#include <QString>

namespace tarnex {

// How the program was started: for a candidate sitting a paper, or for an author who edits the
// information texts and the questions (tarnex --author). Decided once at start-up and handed to
// the windows; the windows of both modes are the same, author mode only shows the authoring
// controls and makes the question editors writable.
enum class ProgramMode
{
    Candidate,
    Author
};

// A window's caption in the mode: in author mode it says so, lest anyone take the window for an
// exam.
inline QString windowTitleFor(ProgramMode mode, const QString& title)
{
    if (mode != ProgramMode::Author)
        return title;
    return QStringLiteral("【编辑试题】") + title;
}

} // namespace tarnex
