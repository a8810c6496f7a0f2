#pragma once

#include "Exchange.h"

#include <QByteArray>
#include <QString>

#include <vector>

namespace tarnex::bank {

// Reads a Moodle XML question file (<quiz> of <question type="...">):
// - multichoice with <single>true</single> -> single choice (one answer with fraction 100, the
//   others 0 or less), with <single>false</single> -> multiple choice (the positive fractions of
//   the correct answers add up to 100); two to four answers, which become the options A to D;
// - truefalse -> true/false (the answer "true" or "false" with fraction 100);
// - essay -> practical operation, its <graderinfo> (else <generalfeedback>) the analysis;
// - description is skipped with a note; any other type is an error.
// <generalfeedback> is the analysis. HTML keeps paragraphs, bold, italic, underline, tables and
// the pictures of its <file> elements. A question's number is its <idnumber>, else its name when
// that is a whole number, else none.
//
// Every question goes into the paper named by paper when it is not empty; otherwise into the
// paper the last segment of the latest category names ($course$/top/会计基础/试题一 -> 试题一).
// Errors are at the line of the question's element. The papers come in the order of the file,
// without a subject.
std::vector<ExchangePaper> readMoodle(const QByteArray& data, const QString& paper, Diagnostics& diagnostics);

// The paper a Moodle category path names: its last segment ("//" stands for a "/" in a name),
// or "" when it names only the top of a context.
QString paperOfCategory(const QString& path);

} // namespace tarnex::bank
