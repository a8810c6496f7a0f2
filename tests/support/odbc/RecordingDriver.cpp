// A small ODBC driver for the tests: it accepts a connection, records the connection string and
// every statement it is sent, and fails the ones a test lists. The tests load it through the real
// driver manager (unixODBC), registered in a temporary odbcinst.ini.
//
// It works in the folder named by TARNEX_ODBC_RECORDER_DIR:
//   statements.log  appended: "connect<TAB>connection string", "exec<TAB>statement",
//                   "disconnect"; one line each, UTF-8
//   fail.txt        read at every call; a line "connect" refuses connections, "*" fails every
//                   statement, "late<TAB>statement" fails it in its second result, any other line
//                   fails the statement with exactly that text
#include <sql.h>
#include <sqlext.h>
#include <sqlucode.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

struct Env
{
    int kind = SQL_HANDLE_ENV;
};
struct Dbc
{
    int kind = SQL_HANDLE_DBC;
    bool connected = false;
    std::string error;
};
struct Stmt
{
    int kind = SQL_HANDLE_STMT;
    Dbc* dbc = nullptr;
    std::string error;
    bool lateFailure = false;
};

std::string folder()
{
    const char* dir = std::getenv("TARNEX_ODBC_RECORDER_DIR");
    return dir ? dir : "";
}

void record(const std::string& line)
{
    const std::string dir = folder();
    if (dir.empty())
        return;
    std::ofstream log(dir + "/statements.log", std::ios::app | std::ios::binary);
    log << line << '\n';
}

std::vector<std::string> failures()
{
    std::vector<std::string> lines;
    const std::string dir = folder();
    if (dir.empty())
        return lines;
    std::ifstream in(dir + "/fail.txt", std::ios::binary);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

bool listed(const std::string& entry)
{
    for (const std::string& line : failures()) {
        if (line == entry)
            return true;
    }
    return false;
}

std::string narrow(const SQLCHAR* text, SQLINTEGER length)
{
    if (text == nullptr)
        return {};
    const char* chars = reinterpret_cast<const char*>(text);
    return length == SQL_NTS ? std::string(chars) : std::string(chars, std::size_t(length));
}

// UTF-16 as the driver manager hands it over, to UTF-8 for the log.
std::string utf8(const SQLWCHAR* text, SQLINTEGER length)
{
    std::string out;
    if (text == nullptr)
        return out;
    std::size_t count = 0;
    if (length == SQL_NTS) {
        while (text[count] != 0)
            ++count;
    } else {
        count = std::size_t(length);
    }
    for (std::size_t i = 0; i < count; ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < count && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        }
        if (c < 0x80) {
            out += char(c);
        } else if (c < 0x800) {
            out += char(0xC0 | (c >> 6));
            out += char(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += char(0xE0 | (c >> 12));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        } else {
            out += char(0xF0 | (c >> 18));
            out += char(0x80 | ((c >> 12) & 0x3F));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        }
    }
    return out;
}

SQLRETURN connect(Dbc* dbc, const std::string& connection)
{
    record("connect\t" + connection);
    if (listed("connect")) {
        dbc->error = "Unable to connect: server is unavailable or does not exist";
        return SQL_ERROR;
    }
    dbc->connected = true;
    dbc->error.clear();
    return SQL_SUCCESS;
}

SQLRETURN execute(Stmt* stmt, const std::string& text)
{
    record("exec\t" + text);
    stmt->error.clear();
    stmt->lateFailure = false;
    for (const std::string& line : failures()) {
        if (line == "*" || line == text) {
            stmt->error = "Statement refused: " + text;
            return SQL_ERROR;
        }
        if (line == "late\t" + text)
            stmt->lateFailure = true;
    }
    return SQL_SUCCESS;
}

const std::string* errorOf(SQLSMALLINT type, SQLHANDLE handle)
{
    if (handle == nullptr)
        return nullptr;
    if (type == SQL_HANDLE_DBC)
        return &static_cast<Dbc*>(handle)->error;
    if (type == SQL_HANDLE_STMT)
        return &static_cast<Stmt*>(handle)->error;
    return nullptr;
}

template <typename Char>
void copyOut(const std::string& text, Char* buffer, SQLSMALLINT size, SQLSMALLINT* length)
{
    if (length != nullptr)
        *length = SQLSMALLINT(text.size());
    if (buffer == nullptr || size <= 0)
        return;
    const std::size_t n = std::min(text.size(), std::size_t(size - 1));
    for (std::size_t i = 0; i < n; ++i)
        buffer[i] = Char(static_cast<unsigned char>(text[i]));
    buffer[n] = 0;
}

} // namespace

extern "C" {

SQLRETURN SQL_API SQLAllocHandle(SQLSMALLINT type, SQLHANDLE input, SQLHANDLE* output)
{
    switch (type) {
    case SQL_HANDLE_ENV:
        *output = new Env;
        return SQL_SUCCESS;
    case SQL_HANDLE_DBC:
        *output = new Dbc;
        return SQL_SUCCESS;
    case SQL_HANDLE_STMT: {
        auto* stmt = new Stmt;
        stmt->dbc = static_cast<Dbc*>(input);
        *output = stmt;
        return SQL_SUCCESS;
    }
    default:
        return SQL_ERROR;
    }
}

SQLRETURN SQL_API SQLFreeHandle(SQLSMALLINT type, SQLHANDLE handle)
{
    switch (type) {
    case SQL_HANDLE_ENV:
        delete static_cast<Env*>(handle);
        return SQL_SUCCESS;
    case SQL_HANDLE_DBC:
        delete static_cast<Dbc*>(handle);
        return SQL_SUCCESS;
    case SQL_HANDLE_STMT:
        delete static_cast<Stmt*>(handle);
        return SQL_SUCCESS;
    default:
        return SQL_ERROR;
    }
}

SQLRETURN SQL_API SQLSetEnvAttr(SQLHENV, SQLINTEGER, SQLPOINTER, SQLINTEGER)
{
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLGetEnvAttr(SQLHENV, SQLINTEGER attribute, SQLPOINTER value, SQLINTEGER, SQLINTEGER*)
{
    if (attribute == SQL_ATTR_ODBC_VERSION && value != nullptr)
        *static_cast<SQLINTEGER*>(value) = SQL_OV_ODBC3;
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLSetConnectAttr(SQLHDBC, SQLINTEGER, SQLPOINTER, SQLINTEGER)
{
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLSetConnectAttrW(SQLHDBC, SQLINTEGER, SQLPOINTER, SQLINTEGER)
{
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLGetConnectAttr(SQLHDBC, SQLINTEGER attribute, SQLPOINTER value, SQLINTEGER, SQLINTEGER*)
{
    if (attribute == SQL_ATTR_CONNECTION_DEAD && value != nullptr)
        *static_cast<SQLUINTEGER*>(value) = SQL_CD_FALSE;
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLGetConnectAttrW(SQLHDBC dbc, SQLINTEGER attribute, SQLPOINTER value, SQLINTEGER size,
                                     SQLINTEGER* length)
{
    return SQLGetConnectAttr(dbc, attribute, value, size, length);
}

SQLRETURN SQL_API SQLDriverConnect(SQLHDBC dbc, SQLHWND, SQLCHAR* in, SQLSMALLINT inLength, SQLCHAR* out,
                                   SQLSMALLINT outSize, SQLSMALLINT* outLength, SQLUSMALLINT)
{
    const std::string text = narrow(in, inLength);
    copyOut(text, out, outSize, outLength);
    return connect(static_cast<Dbc*>(dbc), text);
}

SQLRETURN SQL_API SQLDriverConnectW(SQLHDBC dbc, SQLHWND, SQLWCHAR* in, SQLSMALLINT inLength, SQLWCHAR* out,
                                    SQLSMALLINT outSize, SQLSMALLINT* outLength, SQLUSMALLINT)
{
    const std::string text = utf8(in, inLength);
    if (outLength != nullptr)
        *outLength = 0;
    if (out != nullptr && outSize > 0)
        out[0] = 0;
    return connect(static_cast<Dbc*>(dbc), text);
}

SQLRETURN SQL_API SQLConnect(SQLHDBC dbc, SQLCHAR* dsn, SQLSMALLINT dsnLength, SQLCHAR*, SQLSMALLINT,
                             SQLCHAR*, SQLSMALLINT)
{
    return connect(static_cast<Dbc*>(dbc), "DSN=" + narrow(dsn, dsnLength));
}

SQLRETURN SQL_API SQLDisconnect(SQLHDBC dbc)
{
    record("disconnect");
    static_cast<Dbc*>(dbc)->connected = false;
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLExecDirect(SQLHSTMT stmt, SQLCHAR* text, SQLINTEGER length)
{
    return execute(static_cast<Stmt*>(stmt), narrow(text, length));
}

SQLRETURN SQL_API SQLExecDirectW(SQLHSTMT stmt, SQLWCHAR* text, SQLINTEGER length)
{
    return execute(static_cast<Stmt*>(stmt), utf8(text, length));
}

SQLRETURN SQL_API SQLMoreResults(SQLHSTMT handle)
{
    auto* stmt = static_cast<Stmt*>(handle);
    if (stmt->lateFailure) {
        stmt->lateFailure = false;
        stmt->error = "Statement failed in a later result";
        return SQL_ERROR;
    }
    return SQL_NO_DATA;
}

SQLRETURN SQL_API SQLNumResultCols(SQLHSTMT, SQLSMALLINT* count)
{
    if (count != nullptr)
        *count = 0;
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLRowCount(SQLHSTMT, SQLLEN* count)
{
    if (count != nullptr)
        *count = 0;
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLFreeStmt(SQLHSTMT, SQLUSMALLINT)
{
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLCloseCursor(SQLHSTMT)
{
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLEndTran(SQLSMALLINT, SQLHANDLE, SQLSMALLINT)
{
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLGetInfo(SQLHDBC, SQLUSMALLINT type, SQLPOINTER value, SQLSMALLINT size,
                             SQLSMALLINT* length)
{
    switch (type) {
    case SQL_DRIVER_ODBC_VER:
        copyOut(std::string("03.80"), static_cast<SQLCHAR*>(value), size, length);
        return SQL_SUCCESS;
    case SQL_CURSOR_COMMIT_BEHAVIOR:
    case SQL_CURSOR_ROLLBACK_BEHAVIOR:
        if (value != nullptr)
            *static_cast<SQLUSMALLINT*>(value) = SQL_CB_PRESERVE;
        return SQL_SUCCESS;
    default:
        if (value != nullptr && size >= SQLSMALLINT(sizeof(SQLUINTEGER)))
            *static_cast<SQLUINTEGER*>(value) = 0;
        if (length != nullptr)
            *length = 0;
        return SQL_SUCCESS;
    }
}

SQLRETURN SQL_API SQLGetInfoW(SQLHDBC dbc, SQLUSMALLINT type, SQLPOINTER value, SQLSMALLINT size,
                              SQLSMALLINT* length)
{
    if (type == SQL_DRIVER_ODBC_VER) {
        copyOut(std::string("03.80"), static_cast<SQLWCHAR*>(value), SQLSMALLINT(size / 2), length);
        if (length != nullptr)
            *length = SQLSMALLINT(*length * 2);
        return SQL_SUCCESS;
    }
    return SQLGetInfo(dbc, type, value, size, length);
}

SQLRETURN SQL_API SQLGetDiagRec(SQLSMALLINT type, SQLHANDLE handle, SQLSMALLINT record, SQLCHAR* state,
                                SQLINTEGER* native, SQLCHAR* message, SQLSMALLINT size, SQLSMALLINT* length)
{
    const std::string* error = errorOf(type, handle);
    if (record != 1 || error == nullptr || error->empty())
        return SQL_NO_DATA;
    copyOut(std::string(type == SQL_HANDLE_DBC ? "08001" : "42000"), state, 6, nullptr);
    if (native != nullptr)
        *native = 0;
    copyOut(*error, message, size, length);
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLGetDiagRecW(SQLSMALLINT type, SQLHANDLE handle, SQLSMALLINT record, SQLWCHAR* state,
                                 SQLINTEGER* native, SQLWCHAR* message, SQLSMALLINT size, SQLSMALLINT* length)
{
    const std::string* error = errorOf(type, handle);
    if (record != 1 || error == nullptr || error->empty())
        return SQL_NO_DATA;
    copyOut(std::string(type == SQL_HANDLE_DBC ? "08001" : "42000"), state, 6, nullptr);
    if (native != nullptr)
        *native = 0;
    copyOut(*error, message, size, length);
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLGetDiagField(SQLSMALLINT type, SQLHANDLE handle, SQLSMALLINT record, SQLSMALLINT field,
                                  SQLPOINTER value, SQLSMALLINT, SQLSMALLINT*)
{
    const std::string* error = errorOf(type, handle);
    if (field == SQL_DIAG_NUMBER && record == 0) {
        if (value != nullptr)
            *static_cast<SQLINTEGER*>(value) = (error != nullptr && !error->empty()) ? 1 : 0;
        return SQL_SUCCESS;
    }
    return SQL_NO_DATA;
}

} // extern "C"
