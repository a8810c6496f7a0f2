#include "BankFixture.h"

#include "data/BankSchema.h"
#include "data/DataSet.h"
#include "data/Database.h"

#include <QDir>

namespace tarnex::test {

void writeQuestionBank(const QString& folder, const QMap<QString, QString>& memo, const QByteArray& password)
{
    auto db = Database::open(QDir(folder).filePath(QStringLiteral("kstk.dat")), password,
                             Database::OpenMode::CreateIfMissing);
    BankSchema::createQuestionBank(*db);
    DataSet table(*db);
    table.open(QStringLiteral("select * from tb_memo"));
    table.first();
    table.edit();
    for (auto it = memo.cbegin(); it != memo.cend(); ++it)
        table.setText(it.key(), it.value());
    table.post();
}

void writePaperLists(const QString& folder, const QString& basics, const QString& regulations)
{
    auto db = Database::open(QDir(folder).filePath(QStringLiteral("titao.dat")), {},
                             Database::OpenMode::CreateIfMissing);
    BankSchema::createPaperLists(*db);
    DataSet table(*db);
    table.open(QStringLiteral("select * from memo_temp"));
    table.first();
    table.edit();
    table.setText(QStringLiteral("memojc"), basics);
    table.setText(QStringLiteral("memofg"), regulations);
    table.post();
}

void writeComputerAccountingPapers(const QString& folder, const QString& papers)
{
    auto db = Database::open(QDir(folder).filePath(QStringLiteral("titao.dat")));
    {
        DataSet probe(*db);
        probe.open(QStringLiteral("select * from memo_temp"));
        if (!probe.hasColumn(QStringLiteral("memodsh")))
            db->execute(QStringLiteral("alter table memo_temp add column memodsh TEXT"));
    }
    db->execute(QStringLiteral("update memo_temp set memodsh=?"), {papers});
}

void removeComputerAccountingPapers(const QString& folder)
{
    auto db = Database::open(QDir(folder).filePath(QStringLiteral("titao.dat")));
    DataSet probe(*db);
    probe.open(QStringLiteral("select * from memo_temp"));
    if (probe.hasColumn(QStringLiteral("memodsh")))
        db->execute(QStringLiteral("alter table memo_temp drop column memodsh"));
}

QString readMemoColumn(const QString& folder, const QString& column)
{
    auto db = Database::open(QDir(folder).filePath(QStringLiteral("kstk.dat")), Database::BankPassword);
    DataSet table(*db);
    table.open(QStringLiteral("select * from tb_memo"));
    table.first();
    return table.text(column);
}

} // namespace tarnex::test
