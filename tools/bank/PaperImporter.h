#pragma once

#include "Exchange.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace tarnex::bank {

// Adds the papers of an exchange file to a bank folder (kstk.dat and titao.dat).
namespace PaperImporter {

// Gives the questions of a paper their numbers. A number must be unique within the paper across
// all six kinds, compared trimmed and ignoring case as the exam screen finds them: one that the
// paper (existing) or an earlier question of the file already uses, or an empty one, is an error;
// with renumber such a question takes the next free number after the highest whole number in use,
// and a note says so.
void assignNumbers(ExchangePaper& paper, const QStringList& existing, bool renumber,
                   Diagnostics& diagnostics);

// A paper list (one name per line, CR LF between lines) with the paper added at its end, or the
// list as it is when it names the paper already.
QString listWithPaper(const QString& list, const QString& paper);

struct Result
{
    int questions = 0;
    QStringList listed; // papers added to their subject's paper list
    QString unlisted;   // why new papers could not be listed ("" when they could)
};

// Numbers the questions of every paper against the bank (errors into diagnostics). When nothing
// is wrong, writes all questions in one transaction of kstk.dat and adds new papers to their
// subject's list in titao.dat; the list is committed first, so a failure leaves no question
// without its paper listed. Throws AppError when the bank cannot be read or written; nothing is
// imported then.
Result import(const QString& folder, std::vector<ExchangePaper>& papers, bool renumber,
              Diagnostics& diagnostics);

} // namespace PaperImporter
} // namespace tarnex::bank
