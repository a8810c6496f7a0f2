#pragma once

#include <QString>
#include <QStringList>

namespace tarnex::bank {

// What merging one bank into another adds (or would add).
struct MergeResult
{
    struct Paper
    {
        QString kemu;
        QString tao;
        int questions = 0;
        bool fresh = false; // the target had no question of this paper before
    };
    QList<Paper> papers;     // the papers that receive questions, in the source's order
    int listEntries = 0;     // paper-list entries added (memo_temp and tb_memo.memo1)
    QStringList listColumns; // paper-list columns the target did not have

    int questionCount() const;
    int freshPaperCount() const;
    bool isEmpty() const { return papers.isEmpty() && listEntries == 0 && listColumns.isEmpty(); }
};

// Adds to the bank folder `target` the papers and questions of `source` it lacks, and the
// paper-list entries it lacks. Nothing of the target is replaced or removed: its questions, its
// answers, its information texts and its journal lines stay as they are; an added question
// arrives without an answer. A question counts as present when its paper (kemu, tao) holds its
// number, trimmed and ignoring case, in any of the six kinds, as the exam screen finds numbers.
// kstk.dat changes in one transaction, then titao.dat in another; running the merge again
// completes one that stopped half-way. With `apply` false nothing is written.
MergeResult mergeBank(const QString& target, const QString& source, bool apply = true);

// A paper list (one entry per line) with the entries of `more` that it lacks appended, CR LF
// between lines; `added` counts them.
QString mergedListText(const QString& list, const QString& more, int* added = nullptr);

} // namespace tarnex::bank
