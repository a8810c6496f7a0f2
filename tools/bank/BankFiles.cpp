#include "BankFiles.h"

#include "data/BankSchema.h"
#include "data/Database.h"
#include "platform/AppError.h"

#include <QDir>

namespace tarnex::bank {

QString questionBankPath(const QString& folder)
{
    return QDir(folder).filePath(QString::fromLatin1(QuestionBankFile));
}

QString paperListPath(const QString& folder)
{
    return QDir(folder).filePath(QString::fromLatin1(PaperListFile));
}

namespace {
Database::OpenMode openMode(Access access)
{
    return access == Access::ReadOnly ? Database::OpenMode::ReadOnly : Database::OpenMode::ExistingOnly;
}
} // namespace

std::unique_ptr<Database> openQuestionBank(const QString& folder, Access access)
{
    return Database::open(questionBankPath(folder), QByteArray(Database::BankPassword), openMode(access));
}

std::unique_ptr<Database> openPaperLists(const QString& folder, Access access)
{
    return Database::open(paperListPath(folder), {}, openMode(access));
}

const QVariant& TableData::cell(int row, const QString& column) const
{
    const int index = columnIndex(column);
    if (index < 0)
        throw AppError(QStringLiteral("table %1 has no column %2").arg(name, column));
    return rows.at(size_t(row)).at(index);
}

QString TableData::text(int row, const QString& column) const
{
    const QVariant& value = cell(row, column);
    if (value.isNull())
        return {};
    if (value.typeId() == QMetaType::QByteArray)
        return QString::fromUtf8(value.toByteArray());
    return value.toString();
}

QByteArray TableData::bytes(int row, const QString& column) const
{
    const QVariant& value = cell(row, column);
    if (value.isNull())
        return {};
    if (value.typeId() == QMetaType::QByteArray)
        return value.toByteArray();
    return value.toString().toUtf8();
}

TableData readTable(Database& db, const QString& table)
{
    if (!db.tableExists(table))
        throw AppError(QStringLiteral("%1 has no table %2").arg(QDir::toNativeSeparators(db.path()), table));
    TableData data;
    data.name = table;
    QString quoted = table;
    quoted.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    Statement statement(db, QStringLiteral("SELECT * FROM \"%1\" ORDER BY rowid").arg(quoted));
    for (int c = 0; c < statement.columnCount(); ++c)
        data.columns.append(statement.columnName(c));
    while (statement.step()) {
        QVariantList row;
        row.reserve(data.columns.size());
        for (int c = 0; c < statement.columnCount(); ++c)
            row.append(statement.value(c));
        data.rows.push_back(std::move(row));
    }
    return data;
}

TableData& BankTables::questionTable(const QString& table)
{
    for (TableData& data : questions) {
        if (data.name == table)
            return data;
    }
    throw AppError(QStringLiteral("no question table %1").arg(table));
}

const TableData& BankTables::questionTable(const QString& table) const
{
    return const_cast<BankTables*>(this)->questionTable(table);
}

int BankTables::questionCount() const
{
    int count = 0;
    for (const TableData& table : questions)
        count += int(table.rows.size());
    return count;
}

BankTables readBank(const QString& folder)
{
    BankTables bank;
    {
        auto db = openQuestionBank(folder, Access::ReadOnly);
        bank.memo = readTable(*db, QStringLiteral("tb_memo"));
        for (const QString& table : BankSchema::questionTables())
            bank.questions.push_back(readTable(*db, table));
        if (db->tableExists(QStringLiteral("dtxx")))
            bank.journal = readTable(*db, QStringLiteral("dtxx"));
        // A bank built before the counts were kept has none.
        if (db->tableExists(BankSchema::paperCountsTable())) {
            bank.paperCounts = readTable(*db, BankSchema::paperCountsTable());
        } else {
            bank.paperCounts.name = BankSchema::paperCountsTable();
            bank.paperCounts.columns = BankSchema::paperCountsColumns();
        }
    }
    auto lists = openPaperLists(folder, Access::ReadOnly);
    bank.paperLists = readTable(*lists, QStringLiteral("memo_temp"));
    return bank;
}

QString paperListSubject(const QString& column)
{
    return BankSchema::subjectOfPaperListColumn(column);
}

} // namespace tarnex::bank
