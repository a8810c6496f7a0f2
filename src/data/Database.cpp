#include "Database.h"

#include "NaturalOrder.h"
#include "platform/AppError.h"

#include <QFileInfo>

#include <sqlite3.h>

namespace tarnex {
namespace {

constexpr int DefaultBusyTimeoutMs = 30000;

QString sqlQuoted(const QByteArray& value)
{
    QString text = QString::fromUtf8(value);
    text.replace(QStringLiteral("'"), QStringLiteral("''"));
    return u'\'' + text + u'\'';
}

int compareTihao(void*, int lengthA, const void* a, int lengthB, const void* b)
{
    return compareNaturalUtf8(static_cast<const char*>(a), lengthA, static_cast<const char*>(b), lengthB);
}

} // namespace

std::unique_ptr<Database> Database::open(const QString& path, const QByteArray& password, OpenMode mode,
                                         const QStringList& requiredTables)
{
    const QString shown = QFileInfo(path).fileName();
    if (mode != OpenMode::CreateIfMissing && !QFileInfo(path).isFile())
        throw AppError(QStringLiteral("找不到数据库文件“%1”。").arg(path));
    // SQLite takes an empty file for a new database and would turn it into one on the first write.
    if (mode == OpenMode::ExistingOnly && QFileInfo(path).size() == 0)
        throw AppError(QStringLiteral("数据库文件“%1”是空文件（0 字节），不是本程序的数据文件。").arg(path));

    int flags = mode == OpenMode::ReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
    if (mode == OpenMode::CreateIfMissing)
        flags |= SQLITE_OPEN_CREATE;
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &raw, flags, nullptr);
    std::unique_ptr<Database> db(new Database(raw, path));
    if (rc != SQLITE_OK)
        db->fail(QStringLiteral("无法打开数据库“%1”").arg(shown), rc);

    db->setBusyTimeout(DefaultBusyTimeoutMs);
    sqlite3_extended_result_codes(raw, 1);
    if (!password.isEmpty())
        db->execute(QStringLiteral("PRAGMA key = %1").arg(sqlQuoted(password)));

    // The key is only checked when the first page is read: a wrong password, a plain file opened
    // with a password, an encrypted file without one, or junk all fail here.
    try {
        db->queryText(QStringLiteral("SELECT count(*) FROM sqlite_master"));
    } catch (const AppError& error) {
        throw AppError(
            QStringLiteral("无法打开数据库“%1”：%2").arg(shown, QString::fromUtf8(sqlite3_errmsg(raw))));
    }

    QStringList missing;
    for (const QString& table : requiredTables) {
        if (!db->tableExists(table))
            missing.append(table);
    }
    if (!missing.isEmpty())
        throw AppError(QStringLiteral("数据库文件“%1”不是本程序的数据文件：缺少表 %2。")
                           .arg(path, missing.join(QStringLiteral("、"))));

    if (mode != OpenMode::ReadOnly &&
        db->queryText(QStringLiteral("PRAGMA journal_mode")).compare(u"wal", Qt::CaseInsensitive) != 0)
        db->queryText(QStringLiteral("PRAGMA journal_mode = WAL"));
    // With WAL, FULL syncs the log on every commit: a posted answer survives a crash or power cut.
    db->execute(QStringLiteral("PRAGMA synchronous = FULL"));
    // The library is built to zero every freed page. Rewriting an answer frees and rewrites the
    // question's overflow pages, so zeroing would double what each post writes and syncs; the
    // pages are encrypted anyway.
    db->execute(QStringLiteral("PRAGMA secure_delete = OFF"));
    // A whole paper's pages stay decrypted in memory, so moving between questions reads nothing
    // twice; and the log is folded into the file every 8,000 pages instead of every 1,000, which
    // spreads the checkpoint's two extra syncs over more answers.
    db->execute(QStringLiteral("PRAGMA cache_size = -16384"));
    db->queryText(QStringLiteral("PRAGMA wal_autocheckpoint = 8000"));
    sqlite3_create_collation_v2(raw, "TIHAO", SQLITE_UTF8, nullptr, compareTihao, nullptr);
    return db;
}

Database::Database(sqlite3* db, QString path) : m_db(db), m_path(std::move(path)) {}

Database::~Database()
{
    if (m_db)
        sqlite3_close_v2(m_db);
}

void Database::setBusyTimeout(int milliseconds)
{
    sqlite3_busy_timeout(m_db, milliseconds);
}

void Database::fail(const QString& what) const
{
    fail(what, sqlite3_errcode(m_db));
}

void Database::fail(const QString& what, int rc) const
{
    QString detail = m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QString();
    if (detail.isEmpty() || detail == u"not an error")
        detail = QString::fromUtf8(sqlite3_errstr(rc));
    throw AppError(QStringLiteral("%1：%2").arg(what, detail));
}

sqlite3_stmt* Database::prepare(const QString& sql, const QVariantList& params)
{
    sqlite3_stmt* stmt = nullptr;
    const QByteArray text = sql.toUtf8();
    if (sqlite3_prepare_v2(m_db, text.constData(), int(text.size()), &stmt, nullptr) != SQLITE_OK)
        fail(QStringLiteral("语句无法执行“%1”").arg(sql));
    if (sqlite3_bind_parameter_count(stmt) != params.size()) {
        sqlite3_finalize(stmt);
        throw AppError(QStringLiteral("语句“%1”需要 %2 个参数，给出 %3 个")
                           .arg(sql)
                           .arg(sqlite3_bind_parameter_count(stmt))
                           .arg(params.size()));
    }
    for (int i = 0; i < params.size(); ++i) {
        const QVariant& value = params.at(i);
        int rc = SQLITE_OK;
        if (value.isNull() || !value.isValid()) {
            rc = sqlite3_bind_null(stmt, i + 1);
        } else if (value.typeId() == QMetaType::QByteArray) {
            const QByteArray bytes = value.toByteArray();
            rc = sqlite3_bind_blob(stmt, i + 1, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT);
        } else if (value.typeId() == QMetaType::Int || value.typeId() == QMetaType::LongLong) {
            rc = sqlite3_bind_int64(stmt, i + 1, value.toLongLong());
        } else {
            const QByteArray utf8 = value.toString().toUtf8();
            rc = sqlite3_bind_text(stmt, i + 1, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
        }
        if (rc != SQLITE_OK) {
            sqlite3_finalize(stmt);
            fail(QStringLiteral("参数无法绑定"), rc);
        }
    }
    return stmt;
}

void Database::execute(const QString& sql, const QVariantList& params)
{
    Statement statement(*this, sql, params);
    while (statement.step()) {
    }
}

QString Database::queryText(const QString& sql, const QVariantList& params)
{
    Statement statement(*this, sql, params);
    if (!statement.step())
        return {};
    return statement.value(0).toString();
}

bool Database::tableExists(const QString& table)
{
    return !queryText(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND name = ?"),
                      {table})
                .isEmpty();
}

Database::Transaction::Transaction(Database& db) : m_db(db)
{
    m_db.execute(QStringLiteral("BEGIN IMMEDIATE"));
}

Database::Transaction::~Transaction()
{
    if (m_open)
        sqlite3_exec(m_db.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void Database::Transaction::commit()
{
    m_db.execute(QStringLiteral("COMMIT"));
    m_open = false;
}

Statement::Statement(Database& db, const QString& sql, const QVariantList& params)
    : m_db(db), m_stmt(db.prepare(sql, params))
{
}

Statement::~Statement()
{
    sqlite3_finalize(m_stmt);
}

bool Statement::step()
{
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    const QString sql = QString::fromUtf8(sqlite3_sql(m_stmt));
    m_db.fail(QStringLiteral("语句执行失败“%1”").arg(sql), rc);
}

int Statement::columnCount() const
{
    return sqlite3_column_count(m_stmt);
}

QString Statement::columnName(int column) const
{
    return QString::fromUtf8(sqlite3_column_name(m_stmt, column));
}

QVariant Statement::value(int column) const
{
    switch (sqlite3_column_type(m_stmt, column)) {
    case SQLITE_NULL:
        return {};
    case SQLITE_BLOB: {
        const auto* data = static_cast<const char*>(sqlite3_column_blob(m_stmt, column));
        return QByteArray(data, sqlite3_column_bytes(m_stmt, column));
    }
    default: {
        const auto* data = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, column));
        return QString::fromUtf8(data, sqlite3_column_bytes(m_stmt, column));
    }
    }
}

} // namespace tarnex
