#pragma once

#include <QList>
#include <QString>
#include <QStringList>

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
const QStringList& paperListColumns(); // memo_temp: memojc, memofg

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

// Creates the tables of an empty bank (one empty row in tb_memo) inside one transaction.
void createQuestionBank(Database& db);
// Creates memo_temp with its one empty row.
void createPaperLists(Database& db);

} // namespace BankSchema
} // namespace tarnex
