#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>

#include <memory>
#include <vector>

namespace tarnex {
class Database;
}

namespace tarnex::bank {

// The two database files of a bank folder and whole-table reads of them.

constexpr const char* QuestionBankFile = "kstk.dat";
constexpr const char* PaperListFile = "titao.dat";

QString questionBankPath(const QString& folder);
QString paperListPath(const QString& folder);

// Open the files of a bank folder; throw AppError when a file is missing or does not open. A bank
// opened for reading only is left exactly as it is (it may lie in a folder nobody writes).
enum class Access
{
    ReadWrite,
    ReadOnly
};
std::unique_ptr<Database> openQuestionBank(const QString& folder, Access access = Access::ReadWrite);
std::unique_ptr<Database> openPaperLists(const QString& folder, Access access = Access::ReadWrite);

// The rows of one table in file order, each value as the engine holds it: a null QVariant for
// NULL, QString for text, QByteArray for a blob.
struct TableData
{
    QString name;
    QStringList columns;
    std::vector<QVariantList> rows;

    int columnIndex(const QString& column) const { return int(columns.indexOf(column)); }
    // The value of a column in a row; an unknown column throws.
    const QVariant& cell(int row, const QString& column) const;
    QString text(int row, const QString& column) const;
    QByteArray bytes(int row, const QString& column) const;
};

// The tables of a bank: what a build writes and what export and check read. Question rows keep
// the order of the file.
struct BankTables
{
    TableData memo;                   // tb_memo; the program reads its first row
    TableData paperLists;             // memo_temp of titao.dat; the program reads its first row
    std::vector<TableData> questions; // dds, duo, sf, jsfx, anli, ws
    TableData journal;                // dtxx
    TableData paperCounts;            // paper_counts: questions of each kind in a full paper

    TableData& questionTable(const QString& table);
    const TableData& questionTable(const QString& table) const;
    int questionCount() const;
};

// Reads the tables of the bank folder (kstk.dat and titao.dat), opened for reading only.
BankTables readBank(const QString& folder);

// Reads a whole table, in rowid order.
TableData readTable(Database& db, const QString& table);

// The subject whose paper list a column of memo_temp holds.
QString paperListSubject(const QString& column);

} // namespace tarnex::bank
