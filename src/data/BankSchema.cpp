#include "BankSchema.h"

#include "Database.h"
#include "platform/AppError.h"

#include <QHash>
#include <QList>

namespace tarnex::BankSchema {
namespace {

QString columnList(const QStringList& columns)
{
    QStringList parts;
    for (const QString& column : columns) {
        if (column == u"tihao")
            parts.append(QStringLiteral("\"tihao\" TEXT COLLATE TIHAO"));
        else
            parts.append(QStringLiteral("\"%1\" TEXT").arg(column));
    }
    return parts.join(QStringLiteral(", "));
}

QString indexName(const QString& table)
{
    return table + QStringLiteral("_kemu_tao");
}

QStringList numbered(const QString& prefix)
{
    QStringList list;
    for (int i = 1; i <= 5; ++i)
        list.append(prefix + QString::number(i));
    return list;
}

} // namespace

const QStringList& questionTables()
{
    static const QStringList tables = {u"dds"_qs, u"duo"_qs, u"sf"_qs, u"jsfx"_qs, u"anli"_qs, u"ws"_qs};
    return tables;
}

const QStringList& questionColumns(const QString& table)
{
    static const QStringList common = {u"kemu"_qs, u"tao"_qs, u"tihao"_qs, u"tou"_qs};
    static const QHash<QString, QStringList> columns = {
        {u"dds"_qs, common + QStringList{u"wei"_qs, u"ping"_qs, u"da"_qs, u"xuan"_qs}},
        {u"duo"_qs, common + QStringList{u"wei"_qs, u"ping"_qs, u"da"_qs, u"xuan"_qs}},
        {u"sf"_qs, common + QStringList{u"ping"_qs, u"da"_qs, u"xuan"_qs}},
        {u"jsfx"_qs, common + QStringList{u"ping"_qs} + numbered(u"da"_qs) + numbered(u"myc"_qs) +
                         numbered(u"myt"_qs) + QStringList{u"leixing"_qs}},
        {u"anli"_qs,
         common + QStringList{u"ping"_qs} + numbered(u"da"_qs) + numbered(u"myc"_qs) + numbered(u"myt"_qs)},
        {u"ws"_qs, common + QStringList{u"ping"_qs}},
    };
    const auto it = columns.constFind(table);
    if (it == columns.constEnd())
        throw AppError(QStringLiteral("没有题目表“%1”。").arg(table));
    return *it;
}

const QStringList& answerColumns(const QString& table)
{
    static const QStringList none;
    static const QStringList choice = {u"xuan"_qs};
    static const QStringList subQuestions = numbered(u"myt"_qs) + numbered(u"myc"_qs);
    if (table == u"dds" || table == u"duo" || table == u"sf")
        return choice;
    if (table == u"jsfx" || table == u"anli")
        return subQuestions;
    questionColumns(table); // throws for an unknown table
    return none;
}

const QStringList& storedTextMemoColumns()
{
    static const QStringList columns = {u"行一"_qs,     u"行二"_qs,     u"行三"_qs,
                                        u"微博地址"_qs, u"版本说明"_qs, u"咨询辅导"_qs};
    return columns;
}

const QStringList& memoColumns()
{
    static const QStringList columns =
        storedTextMemoColumns() + QStringList{u"edit1"_qs, u"edit2"_qs, u"edit3"_qs, u"memo1"_qs, u"edit4"_qs,
                                              u"edit5"_qs, u"edit6"_qs, u"edit7"_qs, u"edit8"_qs};
    return columns;
}

const QStringList& paperListColumns()
{
    static const QStringList columns = {u"memojc"_qs, u"memofg"_qs};
    return columns;
}

const QList<SubjectPapers>& subjects()
{
    static const QList<SubjectPapers> list = {
        {u"会计基础"_qs, u"memojc"_qs},
        {u"财经法规与会计职业道德"_qs, u"memofg"_qs},
        {u"初级会计电算化"_qs, u"memodsh"_qs},
    };
    return list;
}

QString paperListColumnOf(const QString& subject)
{
    for (const SubjectPapers& entry : subjects()) {
        if (entry.subject == subject)
            return entry.column;
    }
    return {};
}

QString subjectOfPaperListColumn(const QString& column)
{
    for (const SubjectPapers& entry : subjects()) {
        if (entry.column == column)
            return entry.subject;
    }
    return {};
}

const QStringList& journalLineColumns()
{
    static const QStringList columns = {u"combobox"_qs, u"edit2"_qs, u"edit3"_qs, u"ntemp"_qs};
    return columns;
}

QString paperCountsTable()
{
    return QStringLiteral("paper_counts");
}

const QStringList& paperCountsColumns()
{
    static const QStringList columns = QStringList{u"kemu"_qs} + questionTables();
    return columns;
}

void createQuestionBank(Database& db)
{
    Database::Transaction transaction(db);
    db.execute(QStringLiteral("CREATE TABLE bank_meta (\"key\" TEXT PRIMARY KEY, \"value\" TEXT)"));
    db.execute(QStringLiteral("INSERT INTO bank_meta VALUES ('schema_version', ?)"),
               {QString::number(Version)});
    db.execute(QStringLiteral("CREATE TABLE tb_memo (%1)").arg(columnList(memoColumns())));
    db.execute(QStringLiteral("INSERT INTO tb_memo DEFAULT VALUES"));
    for (const QString& table : questionTables())
        db.execute(QStringLiteral("CREATE TABLE %1 (%2)").arg(table, columnList(questionColumns(table))));
    db.execute(QStringLiteral("CREATE TABLE dtxx (%1)").arg(columnList(journalLineColumns())));
    QStringList counts = {QStringLiteral("\"kemu\" TEXT")};
    for (const QString& table : questionTables())
        counts.append(QStringLiteral("\"%1\" INTEGER").arg(table));
    db.execute(
        QStringLiteral("CREATE TABLE %1 (%2)").arg(paperCountsTable(), counts.join(QStringLiteral(", "))));
    createQuestionIndexes(db);
    transaction.commit();
}

void createPaperLists(Database& db, const QStringList& columns)
{
    Database::Transaction transaction(db);
    db.execute(QStringLiteral("CREATE TABLE memo_temp (%1)").arg(columnList(columns)));
    db.execute(QStringLiteral("INSERT INTO memo_temp DEFAULT VALUES"));
    transaction.commit();
}

void createQuestionIndexes(Database& db)
{
    for (const QString& table : questionTables())
        db.execute(
            QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON %2 (kemu, tao)").arg(indexName(table), table));
}

void ensureQuestionIndexes(Database& db)
{
    QStringList names;
    for (const QString& table : questionTables())
        names.append(u'\'' + indexName(table) + u'\'');
    const QString present = db.queryText(
        QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'index' AND name IN (%1)")
            .arg(names.join(u',')));
    if (present.toInt() == questionTables().size())
        return;
    Database::Transaction transaction(db);
    createQuestionIndexes(db);
    transaction.commit();
}

std::unique_ptr<Database> openQuestionBankFile(const QString& path)
{
    auto db = Database::open(path, QByteArray(Database::BankPassword), Database::OpenMode::ExistingOnly,
                             QStringList{QStringLiteral("tb_memo")} + questionTables());
    try {
        ensureQuestionIndexes(*db);
    } catch (const AppError&) {
        // Without the indexes every paper is found by reading the whole bank: slower, not wrong.
    }
    return db;
}

} // namespace tarnex::BankSchema
