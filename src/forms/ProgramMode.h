#pragma once

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

} // namespace tarnex
