// The server connection through the real ODBC driver manager, with the recording driver behind it.
#include "platform/ServerConnection.h"
#include "platform/AppError.h"

#include "support/RecordingServer.h"

#include <gtest/gtest.h>

using namespace tarnex;
using tarnex::test::RecordingServer;

TEST(ServerConnection, UsesTheDataSourceWhenOneIsConfigured)
{
    RecordingServer server;
    EXPECT_EQ(ServerConnection::connectionString(), u"DSN=Velquarn;");
    ServerConnection connection;
    EXPECT_FALSE(connection.isOpen());
    connection.open();
    EXPECT_TRUE(connection.isOpen());
    connection.open(); // already open: no second log-on
    EXPECT_EQ(server.connections(), QStringList{u"DSN=Velquarn;"_qs});
    connection.close();
    EXPECT_FALSE(connection.isOpen());
    EXPECT_EQ(server.log().last(), u"disconnect");
}

// Drivers do not take the log-on from the data source's section; the program hands it over.
TEST(ServerConnection, PassesTheDataSourcesLogOnToTheDriver)
{
    RecordingServer server(RecordingServer::DataSource::Configured, u"UID=exam\nPWD=se;cr}et\n"_qs);
    ServerConnection connection;
    connection.open();
    EXPECT_EQ(server.connections(), QStringList{u"DSN=Velquarn;UID=exam;PWD={se;cr}}et};"_qs});
}

TEST(ServerConnection, FallsBackToFreeTdsOnTheLocalDefaultInstance)
{
    RecordingServer server(RecordingServer::DataSource::Missing);
    ServerConnection connection;
    connection.open();
    EXPECT_EQ(server.connections(),
              QStringList{
                  u"Driver={FreeTDS};Server=127.0.0.1;Port=1433;Database=master;Trusted_Connection=Yes;"_qs});
}

TEST(ServerConnection, NoServerThrowsAndAnotherTryConnectsLater)
{
    RecordingServer server;
    server.refuseConnections();
    ServerConnection connection;
    try {
        connection.open();
        FAIL() << "the connection opened";
    } catch (const AppError& error) {
        EXPECT_TRUE(error.message().contains(u"server is unavailable")) << error.what();
    }
    EXPECT_FALSE(connection.isOpen());
    EXPECT_THROW(connection.execute(u"Create database UFSub"_qs), AppError);
    EXPECT_TRUE(server.statements().isEmpty());

    RecordingServer reachable;
    connection.open();
    EXPECT_TRUE(connection.isOpen());
}

TEST(ServerConnection, AStatementFailsWhenItOrOneOfItsLaterResultsFails)
{
    RecordingServer server;
    server.failStatement(u"Drop database UFSub"_qs);
    server.failStatementLate(u"restore database UFSub from disk='/x/UFB.bak' with replace"_qs);
    ServerConnection connection;
    connection.open();
    EXPECT_THROW(connection.execute(u"Drop database UFSub"_qs), AppError);
    EXPECT_NO_THROW(connection.execute(u"Create database UFSub"_qs));
    EXPECT_THROW(connection.execute(u"restore database UFSub from disk='/x/UFB.bak' with replace"_qs),
                 AppError);
    // The connection survives a failed statement.
    EXPECT_TRUE(connection.isOpen());
    const QString path =
        u"restore database UFSystem from disk='/home/考生/zhangtao/ufdata/UFS.bak' with replace"_qs;
    EXPECT_NO_THROW(connection.execute(path));
    EXPECT_EQ(server.statements(),
              (QStringList{u"Drop database UFSub"_qs, u"Create database UFSub"_qs,
                           u"restore database UFSub from disk='/x/UFB.bak' with replace"_qs, path}));
}
