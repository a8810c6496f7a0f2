#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>

#include <vector>

namespace tarnex {

class Database;

// A scrollable, updatable snapshot of a statement's rows, in the manner of an ADO static cursor:
// open a select, move with first/next/eof, read columns as text (NULL reads as "") or bytes,
// locate a row, then edit or append, set columns and post. Each post and delete is written to the
// file at once (inside a Database::Transaction it becomes durable with the transaction).
//
// A select of the form "select * from TABLE ..." gives rows that can be changed; any other
// statement gives a read-only snapshot. Values always travel as bound parameters.
class DataSet
{
public:
    enum class State
    {
        Inactive,
        Browse,
        Edit,
        Insert
    };

    explicit DataSet(Database& db);

    void open(const QString& sql, const QVariantList& params = {});
    void close();
    bool isOpen() const { return m_state != State::Inactive; }
    State state() const { return m_state; }
    Database& database() const { return m_db; }
    const QString& tableName() const { return m_table; }

    int recordCount() const { return int(m_rows.size()); }
    bool isEmpty() const { return m_rows.empty(); }
    // The current row, 0-based; recordCount() when past the end.
    int position() const { return m_current; }
    void setPosition(int row);
    void first();
    void next();
    void prior();
    void last();
    bool eof() const;
    bool bof() const;

    QStringList columns() const { return m_columns; }
    bool hasColumn(const QString& column) const { return columnIndex(column) >= 0; }

    // Reads a column of the current row (of the edit buffer while editing). The column name is
    // matched case-insensitively; an unknown column throws.
    QString text(const QString& column) const;
    QByteArray bytes(const QString& column) const;
    // The value as the file holds it: QString for TEXT, QByteArray for a BLOB, null for NULL.
    QVariant value(const QString& column) const;
    bool isNull(const QString& column) const;

    // Makes the first row whose column equals the value, ignoring case, the current row.
    bool locate(const QString& column, const QString& value);

    void edit();
    void append();
    void setText(const QString& column, const QString& value);
    void setBytes(const QString& column, const QByteArray& value);
    void setNull(const QString& column);
    // Writes the edit or the new row. When the write fails the edit is cancelled and the error
    // is thrown on.
    void post();
    void cancel();
    // Deletes the current row from the file and the snapshot; the next row becomes current.
    void remove();

private:
    struct Row
    {
        qint64 rowId = 0;
        std::vector<QVariant> values;
    };

    int columnIndex(const QString& column) const;
    int requireColumn(const QString& column) const;
    const QVariant& currentValue(int index) const;
    void requireRow(const char* operation) const;
    void requireUpdatable(const char* operation) const;
    void setValue(const QString& column, QVariant value);
    void writePending();

    Database& m_db;
    State m_state = State::Inactive;
    QString m_table; // empty for read-only snapshots
    QStringList m_columns;
    std::vector<Row> m_rows;
    int m_current = 0;
    Row m_buffer;
    std::vector<bool> m_changed;
};

} // namespace tarnex
