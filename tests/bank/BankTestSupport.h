#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace tarnex::bank::test {

// Writes a file (and its folders) or fails the test.
void writeFile(const QString& path, const QByteArray& content);
QByteArray readFile(const QString& path);

struct CommandResult
{
    int code = -1;
    QString out;
    QString err;
};

// Runs a tarnex-bank command line in this process, with the given standard input.
CommandResult runBank(const QStringList& arguments, const QString& input = {});

// Every row and column of every table of a database file, one line per value with its storage
// type and bytes in hex, in table and row order: two files with equal dumps hold the same data.
QStringList dumpDatabase(const QString& path, const QByteArray& password);

// The value of a column in the first row of a table.
QString firstValue(const QString& path, const QByteArray& password, const QString& table,
                   const QString& column);

} // namespace tarnex::bank::test
