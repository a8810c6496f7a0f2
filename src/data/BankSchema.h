#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

namespace tarnex {

class Database;

// The tables of the question bank (kstk.dat) and of the paper lists (titao.dat). Every column is
// text; tihao sorts in the order its numbering means ("2" before "10").
namespace BankSchema {

constexpr int Version = 1;

// The six question tables in the order of their kinds: dds, duo, sf, jsfx, anli, ws.
const QStringList& questionTables();
// The columns of one question table, in table order.
const QStringList& questionColumns(const QString& table);
// The columns that hold a candidate's answers (emptied when a paper is loaded).
const QStringList& answerColumns(const QString& table);
// The columns of tb_memo: the stored-text columns first, then the plain ones.
const QStringList& memoColumns();
const QStringList& storedTextMemoColumns();
// The columns of memo_temp in a new bank: memojc, memofg. A bank that offers the third subject
// has its column (see subjects()) as well.
const QStringList& paperListColumns();

// The subjects of the main window's subject list, in its order, each with the column of memo_temp
// that lists its papers (one name per line). The third subject, with practical operation in the
// accounting package, is offered only where memo_temp has its column.
struct SubjectPapers
{
    QString subject;
    QString column;
};
const QList<SubjectPapers>& subjects();
// The memo_temp column of a subject, or "" for a subject the program does not know.
QString paperListColumnOf(const QString& subject);
// The subject whose papers a memo_temp column lists, or "" for any other column.
QString subjectOfPaperListColumn(const QString& column);
const QStringList& journalLineColumns(); // dtxx

// The number of questions of each kind in a full paper, one row per subject: kemu, then one
// column per question table. The bank tool checks the papers against it; the program never reads
// it.
QString paperCountsTable(); // "paper_counts"
const QStringList& paperCountsColumns();

// Creates the tables of an empty bank (one empty row in tb_memo) and the question tables' indexes
// inside one transaction.
void createQuestionBank(Database& db);
// Creates memo_temp with its one empty row and the given paper-list columns.
void createPaperLists(Database& db, const QStringList& columns = paperListColumns());

// The indexes on (kemu, tao) of the six question tables, by which a paper's rows are found without
// reading the whole bank. They use the plain text order, so any SQLite reader can use and update
// them.
void createQuestionIndexes(Database& db);
// Adds the indexes that a bank built without them lacks, in one transaction; one query when they
// are all there.
void ensureQuestionIndexes(Database& db);
// Opens kstk.dat with its password, refusing before any write a file that is empty or lacks the
// bank's tables, and adds the indexes it lacks. A bank that cannot take them
// (a read-only file) opens all the same and is only slower.
std::unique_ptr<Database> openQuestionBankFile(const QString& path);

} // namespace BankSchema
} // namespace tarnex
