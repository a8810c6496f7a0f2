#pragma once

#include "RotationCounters.h"

#include <QString>

namespace tarnex {

// The subject whose feedback has fixed bands and never rotates.
QString computerAccountingSubject(); // "初级会计电算化"

// The phrase of a score band and the band whose counter rotates after it was chosen.
struct FeedbackPhrase
{
    QString phrase;       // empty: the message has no phrase
    int rotationCode = 0; // RotationCounters::SanBand or LiuBand, 0 for a band without rotation
};

// The phrase for count correct objective answers in the subject (trimmed before comparing),
// chosen with the counters as they are before any rotation.
FeedbackPhrase chooseFeedbackPhrase(const QString& subject, int count, const RotationCounters& counters);

// The two phrases that rotate, by counter value 1 to 3; any other value gives an empty phrase.
QString lowestBandPhrase(int san);
QString secondBandPhrase(int liu);

// The score message: each line ends with a line feed followed by a carriage return, the phrase
// (possibly empty) comes last.
QString scoreMessage(int count, const QString& phrase);

// Everything a hand-in shows and keeps: the message and the counters after the rotation of the
// chosen band. The caller saves the counters when rotates() holds, then shows the message; a
// ci.ini that cannot be written is reported after the message, so it never hides the score.
struct HandInFeedback
{
    int count = 0;
    QString message;
    int rotationCode = 0;
    RotationCounters counters;

    bool rotates() const { return rotationCode != 0; }
};

HandInFeedback composeHandInFeedback(const QString& subject, int count, const RotationCounters& before);

} // namespace tarnex
