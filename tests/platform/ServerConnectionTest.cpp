// The server connection through the real ODBC driver manager, with the recording driver behind it.
#include "platform/ServerConnection.h"

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
    // Statements go out in UTF-16: a program folder with Chinese in its path reaches the server.
    const QString restore =
        u"restore database UFSub from disk='/home/考生/zhangtao/ufdata/UFB.bak' with replace"_qs;
    connection.execute(restore);
    EXPECT_EQ(server.statements(), QStringList{restore});
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
