#pragma once

#include <QString>
#include <QStringList>

namespace tarnex::bank {

struct BankTables;

// The faults check finds in a bank: question numbers used twice within a paper (across all six
// kinds), correct answers out of their format, paper-list entries without questions, questions
// whose paper is in no list, and papers of a subject with full-paper counts (paper_counts) that
// hold another number of questions of a kind. Each entry is one line of text for the bank's
// author.
QStringList checkBank(const BankTables& bank);

// The format rules of the correct-answer columns.
bool isSingleChoiceAnswer(const QString& da);
bool isMultipleChoiceAnswer(const QString& da);
bool isTrueFalseAnswer(const QString& da);

} // namespace tarnex::bank
