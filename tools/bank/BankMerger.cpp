#include "BankMerger.h"

#include "BankFiles.h"
#include "data/BankSchema.h"
#include "data/Database.h"
#include "data/NaturalOrder.h"
#include "platform/AppError.h"
#include "platform/TextUtil.h"

#include <QDir>
#include <QSet>

#include <algorithm>
#include <map>
#include <set>

namespace tarnex::bank {
namespace {

using PaperKey = std::pair<QString, QString>;

QString numberKey(const QString& tihao)
{
    return trimmedText(tihao).toCaseFolded();
}

QString quotedName(QString name)
{
    name.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + name + u'"';
}

QString schemaVersion(Database& db)
{
    if (!db.tableExists(QStringLiteral("bank_meta")))
        return {};
    return db.queryText(QStringLiteral("SELECT value FROM bank_meta WHERE key = 'schema_version'"));
}

QString firstRowText(const TableData& table, const QString& column)
{
    if (table.rows.empty() || table.columnIndex(column) < 0)
        return {};
    return table.text(0, column);
}

struct PendingRow
{
    QString table;
    QStringList columns;
    QVariantList values;
};

QString insertStatement(const PendingRow& row)
{
    QStringList names;
    QStringList marks;
    for (const QString& column : row.columns) {
        names.append(quotedName(column));
        marks.append(QStringLiteral("?"));
    }
    return QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
        .arg(quotedName(row.table), names.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")));
}

} // namespace

int MergeResult::questionCount() const
{
    int count = 0;
    for (const Paper& paper : papers)
        count += paper.questions;
    return count;
}

int MergeResult::freshPaperCount() const
{
    int count = 0;
    for (const Paper& paper : papers)
        count += paper.fresh ? 1 : 0;
    return count;
}

QString mergedListText(const QString& list, const QString& more, int* added)
{
    QSet<QString> present;
    for (const QString& entry : splitListLines(list))
        present.insert(trimmedText(entry));
    QStringList missing;
    for (const QString& entry : splitListLines(more)) {
        const QString name = trimmedText(entry);
        if (name.isEmpty() || present.contains(name))
            continue;
        present.insert(name);
        missing.append(entry);
    }
    if (added != nullptr)
        *added = int(missing.size());
    if (missing.isEmpty())
        return list;
    QString text = list;
    if (!text.isEmpty() && !text.endsWith(u'\n') && !text.endsWith(u'\r'))
        text += QStringLiteral("\r\n");
    return text + missing.join(QStringLiteral("\r\n"));
}

MergeResult mergeBank(const QString& target, const QString& source, bool apply)
{
    const Access targetAccess = apply ? Access::ReadWrite : Access::ReadOnly;
    auto targetBank = openQuestionBank(target, targetAccess);
    auto sourceBank = openQuestionBank(source, Access::ReadOnly);
    const QString targetVersion = schemaVersion(*targetBank);
    const QString sourceVersion = schemaVersion(*sourceBank);
    if (targetVersion != sourceVersion)
        throw AppError(QStringLiteral("%1 has bank format %2 and %3 has %4: they cannot be merged")
                           .arg(QDir::toNativeSeparators(questionBankPath(target)), targetVersion,
                                QDir::toNativeSeparators(questionBankPath(source)), sourceVersion));

    // The numbers each paper of the target holds, over all six kinds.
    std::map<PaperKey, std::set<QString>> held;
    for (const QString& table : BankSchema::questionTables()) {
        Statement statement(*targetBank, QStringLiteral("SELECT kemu, tao, tihao FROM %1").arg(table));
        while (statement.step())
            held[{statement.value(0).toString(), statement.value(1).toString()}].insert(
                numberKey(statement.value(2).toString()));
    }

    MergeResult result;
    auto paperEntry = [&result](const PaperKey& key, bool fresh) -> MergeResult::Paper& {
        for (MergeResult::Paper& paper : result.papers) {
            if (paper.kemu == key.first && paper.tao == key.second)
                return paper;
        }
        result.papers.append({key.first, key.second, 0, fresh});
        return result.papers.last();
    };

    std::vector<PendingRow> rows;
    for (const QString& table : BankSchema::questionTables()) {
        const TableData from = readTable(*sourceBank, table);
        const TableData into = readTable(*targetBank, table);
        const QStringList& answers = BankSchema::answerColumns(table);
        for (int r = 0; r < int(from.rows.size()); ++r) {
            const PaperKey key{from.text(r, QStringLiteral("kemu")), from.text(r, QStringLiteral("tao"))};
            const auto found = held.find(key);
            const bool fresh = found == held.end();
            std::set<QString>& numbers = fresh ? held[key] : found->second;
            if (!numbers.insert(numberKey(from.text(r, QStringLiteral("tihao")))).second)
                continue;
            PendingRow row{table, into.columns, {}};
            for (const QString& column : into.columns) {
                if (answers.contains(column))
                    row.values.append(QString());
                else if (from.columnIndex(column) >= 0)
                    row.values.append(from.cell(r, column));
                else
                    row.values.append(QVariant());
            }
            rows.push_back(std::move(row));
            // The first question of a paper new to the target marks the paper as new.
            ++paperEntry(key, fresh).questions;
        }
    }

    // Subjects in the program's order, papers by name.
    auto subjectRank = [](const QString& kemu) {
        const auto& subjects = BankSchema::subjects();
        for (qsizetype i = 0; i < subjects.size(); ++i) {
            if (subjects.at(i).subject == kemu)
                return i;
        }
        return subjects.size();
    };
    std::stable_sort(result.papers.begin(), result.papers.end(),
                     [&subjectRank](const MergeResult::Paper& a, const MergeResult::Paper& b) {
                         const qsizetype rankA = subjectRank(a.kemu);
                         const qsizetype rankB = subjectRank(b.kemu);
                         if (rankA != rankB)
                             return rankA < rankB;
                         if (a.kemu != b.kemu)
                             return a.kemu < b.kemu;
                         return compareNatural(a.tao, b.tao) < 0;
                     });

    // The list the main window shows at start-up takes the new papers of the first subject too.
    const TableData targetMemo = readTable(*targetBank, QStringLiteral("tb_memo"));
    const TableData sourceMemo = readTable(*sourceBank, QStringLiteral("tb_memo"));
    int memoAdded = 0;
    const QString memo1 = mergedListText(firstRowText(targetMemo, QStringLiteral("memo1")),
                                         firstRowText(sourceMemo, QStringLiteral("memo1")), &memoAdded);
    const bool memoChanged =
        memoAdded > 0 && !targetMemo.rows.empty() && targetMemo.columnIndex(QStringLiteral("memo1")) >= 0;
    if (memoChanged)
        result.listEntries += memoAdded;

    auto targetLists = openPaperLists(target, targetAccess);
    auto sourceLists = openPaperLists(source, Access::ReadOnly);
    const TableData intoLists = readTable(*targetLists, QStringLiteral("memo_temp"));
    const TableData fromLists = readTable(*sourceLists, QStringLiteral("memo_temp"));
    std::vector<std::pair<QString, QString>> listUpdates;
    for (const QString& column : fromLists.columns) {
        const bool known = intoLists.columnIndex(column) >= 0;
        if (!known)
            result.listColumns.append(column);
        int added = 0;
        const QString merged =
            mergedListText(firstRowText(intoLists, column), firstRowText(fromLists, column), &added);
        result.listEntries += added;
        if (added > 0)
            listUpdates.emplace_back(column, merged);
    }

    if (!apply || result.isEmpty())
        return result;

    {
        Database::Transaction transaction(*targetBank);
        for (const PendingRow& row : rows)
            targetBank->execute(insertStatement(row), row.values);
        if (memoChanged)
            targetBank->execute(
                QStringLiteral("UPDATE tb_memo SET memo1 = ? WHERE rowid = (SELECT min(rowid) FROM tb_memo)"),
                {memo1});
        transaction.commit();
    }
    {
        Database::Transaction transaction(*targetLists);
        for (const QString& column : result.listColumns)
            targetLists->execute(
                QStringLiteral("ALTER TABLE memo_temp ADD COLUMN %1 TEXT").arg(quotedName(column)));
        if (intoLists.rows.empty() && !listUpdates.empty())
            targetLists->execute(QStringLiteral("INSERT INTO memo_temp DEFAULT VALUES"));
        for (const auto& [column, text] : listUpdates)
            targetLists->execute(
                QStringLiteral("UPDATE memo_temp SET %1 = ? WHERE rowid = (SELECT min(rowid) FROM memo_temp)")
                    .arg(quotedName(column)),
                {text});
        transaction.commit();
    }
    return result;
}

} // namespace tarnex::bank
