#include "ServerConnection.h"

#include "AppError.h"

#include <QStringList>

// clang-format off
#ifdef Q_OS_WIN
#include <windows.h>
#endif
#include <sql.h>
#include <sqlext.h>
#include <sqlucode.h>
#include <odbcinst.h>
// clang-format on

namespace tarnex {
namespace {

// A failed log-on must not hold the candidate up for long; statements run without a time-out.
constexpr SQLULEN LoginTimeoutSeconds = 15;

SQLWCHAR* wide(const QString& text)
{
    static_assert(sizeof(SQLWCHAR) == sizeof(char16_t));
    return const_cast<SQLWCHAR*>(reinterpret_cast<const SQLWCHAR*>(text.utf16()));
}

bool succeeded(SQLRETURN rc)
{
    return rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO;
}

// Every diagnostic record of a handle as "[state] message", one per line.
QString diagnostics(SQLSMALLINT type, SQLHANDLE handle)
{
    QStringList lines;
    for (SQLSMALLINT record = 1;; ++record) {
        SQLWCHAR state[6] = {};
        SQLINTEGER native = 0;
        SQLWCHAR message[1024] = {};
        SQLSMALLINT length = 0;
        const SQLRETURN rc = SQLGetDiagRecW(type, handle, record, state, &native, message,
                                            SQLSMALLINT(std::size(message)), &length);
        if (!succeeded(rc))
            break;
        lines.append(
            QStringLiteral("[%1] %2").arg(QString::fromUtf16(reinterpret_cast<const char16_t*>(state)),
                                          QString::fromUtf16(reinterpret_cast<const char16_t*>(message))));
    }
    return lines.join(u'\n');
}

AppError failure(const QString& what, SQLSMALLINT type, SQLHANDLE handle)
{
    const QString details = handle != SQL_NULL_HANDLE ? diagnostics(type, handle) : QString();
    return AppError(details.isEmpty() ? what : what + u'\n' + details);
}

// A value for a connection string, in braces when it holds a separator or a brace.
QString attributeValue(const QString& value)
{
    if (!value.contains(u';') && !value.contains(u'{') && !value.contains(u'}') && value.trimmed() == value)
        return value;
    QString escaped = value;
    escaped.replace(QStringLiteral("}"), QStringLiteral("}}"));
    return u'{' + escaped + u'}';
}

QString profileString(const QString& section, const char* key)
{
    char buffer[1024] = {};
    const QByteArray name = section.toUtf8();
    const int length =
        SQLGetPrivateProfileString(name.constData(), key, "", buffer, int(sizeof(buffer)), "odbc.ini");
    return length > 0 ? QString::fromUtf8(buffer, qMin(length, int(sizeof(buffer)) - 1)) : QString();
}

} // namespace

struct ServerConnection::Handles
{
    SQLHENV env = SQL_NULL_HENV;
    SQLHDBC dbc = SQL_NULL_HDBC;
    bool connected = false;

    ~Handles()
    {
        disconnect();
        if (env != SQL_NULL_HENV)
            SQLFreeHandle(SQL_HANDLE_ENV, env);
    }

    void allocateEnvironment()
    {
        if (env != SQL_NULL_HENV)
            return;
        if (!succeeded(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env))) {
            env = SQL_NULL_HENV;
            throw AppError(QStringLiteral("ODBC 驱动程序管理器不可用。"));
        }
        SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    }

    void disconnect()
    {
        if (dbc == SQL_NULL_HDBC)
            return;
        if (connected)
            SQLDisconnect(dbc);
        SQLFreeHandle(SQL_HANDLE_DBC, dbc);
        dbc = SQL_NULL_HDBC;
        connected = false;
    }
};

ServerConnection::ServerConnection() : m_handles(std::make_unique<Handles>()) {}

ServerConnection::~ServerConnection() = default;

QString ServerConnection::dataSourceName()
{
    return QStringLiteral("Velquarn");
}

QString ServerConnection::defaultConnectionString()
{
    return QStringLiteral(
        "Driver={FreeTDS};Server=127.0.0.1;Port=1433;Database=master;Trusted_Connection=Yes;");
}

QString ServerConnection::connectionString()
{
    // A data source is configured when its section names a driver, in the user's or the system's
    // odbc.ini (ODBCINI and ODBCSYSINI move them).
    const QString dsn = dataSourceName();
    if (profileString(dsn, "Driver").isEmpty())
        return defaultConnectionString();
    QString text = QStringLiteral("DSN=%1;").arg(dsn);
    const QString user = profileString(dsn, "UID");
    if (!user.isEmpty()) {
        text += QStringLiteral("UID=%1;PWD=%2;")
                    .arg(attributeValue(user), attributeValue(profileString(dsn, "PWD")));
    }
    return text;
}

void ServerConnection::open()
{
    if (isOpen())
        return;
    Handles& h = *m_handles;
    h.disconnect();
    h.allocateEnvironment();
    if (!succeeded(SQLAllocHandle(SQL_HANDLE_DBC, h.env, &h.dbc))) {
        h.dbc = SQL_NULL_HDBC;
        throw failure(QStringLiteral("不能连接服务器。"), SQL_HANDLE_ENV, h.env);
    }
    SQLSetConnectAttrW(h.dbc, SQL_ATTR_LOGIN_TIMEOUT, reinterpret_cast<SQLPOINTER>(LoginTimeoutSeconds), 0);
    const QString text = connectionString();
    SQLSMALLINT outLength = 0;
    const SQLRETURN rc =
        SQLDriverConnectW(h.dbc, nullptr, wide(text), SQL_NTS, nullptr, 0, &outLength, SQL_DRIVER_NOPROMPT);
    if (!succeeded(rc)) {
        const AppError error = failure(QStringLiteral("不能连接服务器。"), SQL_HANDLE_DBC, h.dbc);
        h.disconnect();
        throw error;
    }
    h.connected = true;
}

bool ServerConnection::isOpen() const
{
    const Handles& h = *m_handles;
    if (!h.connected)
        return false;
    SQLUINTEGER dead = SQL_CD_FALSE;
    const SQLRETURN rc = SQLGetConnectAttrW(h.dbc, SQL_ATTR_CONNECTION_DEAD, &dead, 0, nullptr);
    return !succeeded(rc) || dead != SQL_CD_TRUE;
}

void ServerConnection::close()
{
    m_handles->disconnect();
}

void ServerConnection::execute(const QString& statement)
{
    Handles& h = *m_handles;
    if (!h.connected)
        throw AppError(QStringLiteral("未连接服务器。"));
    SQLHSTMT stmt = SQL_NULL_HSTMT;
    if (!succeeded(SQLAllocHandle(SQL_HANDLE_STMT, h.dbc, &stmt)))
        throw failure(QStringLiteral("不能执行语句：%1").arg(statement), SQL_HANDLE_DBC, h.dbc);
    struct StatementGuard
    {
        SQLHSTMT handle;
        ~StatementGuard() { SQLFreeHandle(SQL_HANDLE_STMT, handle); }
    } guard{stmt};

    // A restore reports its progress as messages and may fail in a later result, so every
    // result is fetched before the statement counts as done.
    SQLRETURN rc = SQLExecDirectW(stmt, wide(statement), SQL_NTS);
    while (succeeded(rc))
        rc = SQLMoreResults(stmt);
    if (rc != SQL_NO_DATA)
        throw failure(QStringLiteral("语句失败：%1").arg(statement), SQL_HANDLE_STMT, stmt);
}

} // namespace tarnex
