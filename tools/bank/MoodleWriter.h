#pragma once

#include "Exchange.h"

#include <QByteArray>
#include <QStringList>

#include <vector>

namespace tarnex::bank {

// A Moodle XML question file of the papers, in the layout of Moodle's own export: a category
// question "$course$/top/SUBJECT/PAPER" before each paper's questions, then
// - single choice as multichoice with <single>true</single> (fraction 100 for the key),
// - multiple choice as multichoice with <single>false</single> (the key's letters share 100),
// - true/false as truefalse,
// - practical operation as essay, its analysis as <graderinfo>;
// HTML in CDATA, pictures as <file> elements, the number as <idnumber>, the analysis as
// <generalfeedback>. Options are split at their letters (one option per paragraph, "A." ...).
// Calculation and case questions have no Moodle type and are left out, and so is a question
// whose key or options do not fit its Moodle type; each with a warning.
QByteArray writeMoodle(const std::vector<ExchangePaper>& papers, QStringList* warnings);

// A category path segment: "/" in a name is written "//".
QString categorySegment(const QString& name);

} // namespace tarnex::bank
