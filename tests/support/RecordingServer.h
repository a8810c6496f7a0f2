#pragma once

#include <QString>
#include <QStringList>

namespace tarnex::test {

// The recording ODBC driver (support/odbc/RecordingDriver.cpp) behind the real driver manager:
// registered in a temporary odbcinst.ini, both as "VelquarnRecorder" and as "FreeTDS", so the
// program's connection reaches it with the data source "Velquarn" configured or without it. The
// driver manager reads its configuration folders once per process, so every object of this class
// in a process shares one folder; creating one empties the log and the failures.
class RecordingServer
{
public:
    enum class DataSource
    {
        Configured, // odbc.ini has "Velquarn" on the recording driver
        Missing     // no data source: the program falls back to the driver "FreeTDS"
    };

    explicit RecordingServer(DataSource source = DataSource::Configured, const QString& extraDsnLines = {});
    ~RecordingServer();

    // The connection fails, as without a server.
    void refuseConnections();
    // The statement with exactly this text fails when it is sent.
    void failStatement(const QString& text);
    // The statement is accepted but fails in its second result.
    void failStatementLate(const QString& text);
    void failEveryStatement();

    // What the driver was sent, in order.
    QStringList statements() const;
    QStringList connections() const;
    // Every line of the log ("connect\t...", "exec\t...", "disconnect").
    QStringList log() const;

    // The folder with odbcinst.ini and odbc.ini.
    static QString configFolder();

private:
    void addFailure(const QString& line);
};

} // namespace tarnex::test
