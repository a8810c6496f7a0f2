#include "RecordingServer.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <odbcinst.h>

#include <stdexcept>

namespace tarnex::test {
namespace {

QTemporaryDir& folder()
{
    static QTemporaryDir dir;
    static const bool configured = [] {
        if (!dir.isValid())
            throw std::runtime_error("cannot create the ODBC configuration folder");
        qputenv("ODBCSYSINI", QFile::encodeName(dir.path()));
        qputenv("ODBCINI", QFile::encodeName(dir.filePath(QStringLiteral("user-odbc.ini"))));
        qputenv("TARNEX_ODBC_RECORDER_DIR", QFile::encodeName(dir.path()));
        return true;
    }();
    Q_UNUSED(configured);
    return dir;
}

void writeFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(content) != content.size())
        throw std::runtime_error(("cannot write " + path).toStdString());
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList entries(const QString& kind)
{
    QStringList list;
    const QString prefix = kind + u'\t';
    const QStringList lines = QString::fromUtf8(readFile(folder().filePath(QStringLiteral("statements.log"))))
                                  .split(u'\n', Qt::SkipEmptyParts);
    for (const QString& line : lines) {
        if (line.startsWith(prefix))
            list.append(line.mid(prefix.size()));
    }
    return list;
}

} // namespace

RecordingServer::RecordingServer(DataSource source, const QString& extraDsnLines)
{
    const QDir dir(folder().path());
    const QByteArray driver = QFile::encodeName(QStringLiteral(TARNEX_ODBC_RECORDER_PATH));
    writeFile(dir.filePath(QStringLiteral("odbcinst.ini")),
              "[VelquarnRecorder]\nDriver=" + driver + "\n\n[FreeTDS]\nDriver=" + driver + "\n");
    QByteArray dsn;
    if (source == DataSource::Configured)
        dsn = "[Velquarn]\nDriver=VelquarnRecorder\n" + extraDsnLines.toUtf8() + "\n";
    writeFile(dir.filePath(QStringLiteral("user-odbc.ini")), dsn);
    writeFile(dir.filePath(QStringLiteral("odbc.ini")), {});
    writeFile(dir.filePath(QStringLiteral("statements.log")), {});
    writeFile(dir.filePath(QStringLiteral("fail.txt")), {});
    // The driver manager keeps what it read of the configuration for a while; any write through
    // it drops that copy, so this test's configuration is the one read.
    const QByteArray scratch = QFile::encodeName(dir.filePath(QStringLiteral("scratch.ini")));
    SQLWritePrivateProfileString("scratch", "written", "1", scratch.constData());
}

RecordingServer::~RecordingServer()
{
    const QDir dir(folder().path());
    QFile::remove(dir.filePath(QStringLiteral("fail.txt")));
    QFile::remove(dir.filePath(QStringLiteral("statements.log")));
}

void RecordingServer::addFailure(const QString& line)
{
    const QString path = folder().filePath(QStringLiteral("fail.txt"));
    writeFile(path, readFile(path) + line.toUtf8() + '\n');
}

void RecordingServer::refuseConnections()
{
    addFailure(QStringLiteral("connect"));
}

void RecordingServer::failStatement(const QString& text)
{
    addFailure(text);
}

void RecordingServer::failStatementLate(const QString& text)
{
    addFailure(QStringLiteral("late\t") + text);
}

void RecordingServer::failEveryStatement()
{
    addFailure(QStringLiteral("*"));
}

QStringList RecordingServer::statements() const
{
    return entries(QStringLiteral("exec"));
}

QStringList RecordingServer::connections() const
{
    return entries(QStringLiteral("connect"));
}

QStringList RecordingServer::log() const
{
    return QString::fromUtf8(readFile(folder().filePath(QStringLiteral("statements.log"))))
        .split(u'\n', Qt::SkipEmptyParts);
}

QString RecordingServer::configFolder()
{
    return folder().path();
}

} // namespace tarnex::test
