#include "BankTestSupport.h"

#include "Command.h"
#include "data/Database.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include <gtest/gtest.h>
#include <sqlite3.h>

namespace tarnex::bank::test {

void writeFile(const QString& path, const QByteArray& content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        throw std::runtime_error(("cannot write " + path).toStdString());
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

CommandResult runBank(const QStringList& arguments, const QString& input)
{
    CommandResult result;
    QString inputText = input;
    QTextStream out(&result.out);
    QTextStream err(&result.err);
    QTextStream in(&inputText);
    CommandIo io{out, err, &in};
    result.code = runCommandLine(arguments, io);
    out.flush();
    err.flush();
    return result;
}

QStringList dumpDatabase(const QString& path, const QByteArray& password)
{
    auto db = Database::open(path, password);
    QStringList tables;
    {
        Statement statement(
            *db, QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name"));
        while (statement.step())
            tables.append(statement.value(0).toString());
    }
    QStringList lines;
    for (const QString& table : std::as_const(tables)) {
        Statement statement(*db, QStringLiteral("SELECT * FROM \"%1\" ORDER BY rowid").arg(table));
        int row = 0;
        while (statement.step()) {
            for (int c = 0; c < statement.columnCount(); ++c) {
                const int type = sqlite3_column_type(statement.get(), c);
                const auto* data = static_cast<const char*>(sqlite3_column_blob(statement.get(), c));
                const QByteArray bytes(data, sqlite3_column_bytes(statement.get(), c));
                lines.append(QStringLiteral("%1|%2|%3|%4|%5")
                                 .arg(table)
                                 .arg(row)
                                 .arg(statement.columnName(c))
                                 .arg(type)
                                 .arg(QString::fromLatin1(bytes.toHex())));
            }
            ++row;
        }
        lines.append(QStringLiteral("%1 rows: %2").arg(table).arg(row));
    }
    return lines;
}

QString firstValue(const QString& path, const QByteArray& password, const QString& table,
                   const QString& column)
{
    auto db = Database::open(path, password);
    return db->queryText(
        QStringLiteral("SELECT \"%1\" FROM \"%2\" ORDER BY rowid LIMIT 1").arg(column, table));
}

} // namespace tarnex::bank::test
