#pragma once

#include <QString>

#include <memory>

namespace tarnex {

// The connection to the database server on which the accounting package keeps its account sets,
// through the ODBC driver manager. It is opened on demand and then kept open; no login dialog is
// ever shown. Which server: the data source "Velquarn" when one is configured (user or system
// odbc.ini), otherwise the FreeTDS driver to the default instance on 127.0.0.1:1433, database
// master, logging on as the user running the program (integrated security).
class ServerConnection
{
public:
    ServerConnection();
    ~ServerConnection();
    ServerConnection(const ServerConnection&) = delete;
    ServerConnection& operator=(const ServerConnection&) = delete;

    static QString dataSourceName(); // "Velquarn"
    // The connection string when no data source "Velquarn" is configured.
    static QString defaultConnectionString();
    // The connection string used now. With the data source configured it names the data source
    // and adds the UID and PWD of its section, which ODBC drivers do not read from it themselves.
    static QString connectionString();

    // Opens the connection unless it is open; throws AppError with the driver's diagnostics when
    // the server cannot be reached or refuses the log-on.
    void open();
    // Open and not reported dead by the driver.
    bool isOpen() const;
    void close();

    // Runs one statement in autocommit mode, without a time-out, and goes through all its
    // results; throws AppError with the diagnostics when the statement or a later result fails.
    void execute(const QString& statement);

private:
    struct Handles;
    std::unique_ptr<Handles> m_handles;
};

} // namespace tarnex
