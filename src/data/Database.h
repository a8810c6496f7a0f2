#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>

#include <memory>

struct sqlite3;
struct sqlite3_stmt;

namespace tarnex {

// One SQLCipher connection. Every statement outside an explicit transaction commits at once and
// is synced to the file before the call returns; a second program on the same file waits for
// its turn instead of failing. Errors are thrown as AppError.
class Database
{
public:
    // The password of the question bank kstk.dat (passphrase of PRAGMA key, default settings).
    static constexpr const char* BankPassword = "5820417";

    enum class OpenMode
    {
        ExistingOnly,
        CreateIfMissing,
        // Reading only: nothing of the file, its journal mode included, is changed, so a bank in
        // a folder that must stay untouched (an installed program's) can be read.
        ReadOnly
    };

    // Opens the file; with a non-empty password the file must be encrypted with it, without one
    // it must be plain. Throws AppError when the file is missing, the password is wrong or the
    // file is not a database. An existing file that is empty, or that lacks one of the required
    // tables, is refused before anything is written to it (no log, no journal mode).
    static std::unique_ptr<Database> open(const QString& path, const QByteArray& password = {},
                                          OpenMode mode = OpenMode::ExistingOnly,
                                          const QStringList& requiredTables = {});
    ~Database();

    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    const QString& path() const { return m_path; }
    sqlite3* handle() const { return m_db; }

    // Runs one statement with bound parameters (QString, QByteArray, integers, null QVariant).
    void execute(const QString& sql, const QVariantList& params = {});
    // Runs a statement and returns the first column of its first row as text ("" for none).
    QString queryText(const QString& sql, const QVariantList& params = {});
    bool tableExists(const QString& table);

    // How long a statement waits for another program's lock before it fails.
    void setBusyTimeout(int milliseconds);

    // A transaction that rolls back unless committed: the rows it changes become durable together.
    class Transaction
    {
    public:
        explicit Transaction(Database& db);
        ~Transaction();
        void commit();
        Transaction(const Transaction&) = delete;
        Transaction& operator=(const Transaction&) = delete;

    private:
        Database& m_db;
        bool m_open = true;
    };

    // Internal helpers shared with DataSet.
    sqlite3_stmt* prepare(const QString& sql, const QVariantList& params);
    [[noreturn]] void fail(const QString& what) const;
    [[noreturn]] void fail(const QString& what, int rc) const;

private:
    Database(sqlite3* db, QString path);

    sqlite3* m_db = nullptr;
    QString m_path;
};

// A prepared statement that is finalized however the scope is left.
class Statement
{
public:
    Statement(Database& db, const QString& sql, const QVariantList& params = {});
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    // Steps to the next row; false at the end. Throws on error.
    bool step();
    int columnCount() const;
    QString columnName(int column) const;
    QVariant value(int column) const; // QString for text, QByteArray for blobs, null for NULL
    sqlite3_stmt* get() const { return m_stmt; }

private:
    Database& m_db;
    sqlite3_stmt* m_stmt = nullptr;
};

} // namespace tarnex
