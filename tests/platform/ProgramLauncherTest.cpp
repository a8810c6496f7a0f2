// Drive C of the Wine prefix and starting the accounting package through wine. The wine on PATH is
// a recording script; no Windows program is ever started.
#include "platform/ProgramLauncher.h"
#include "platform/WinePrefix.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <unistd.h>

using namespace tarnex;

namespace {

// Sets an environment variable for the life of the object and puts the old value back.
class ScopedEnv
{
public:
    ScopedEnv(const char* name, const QByteArray& value)
        : m_name(name), m_had(qEnvironmentVariableIsSet(name)), m_old(qgetenv(name))
    {
        qputenv(name, value);
    }
    ~ScopedEnv()
    {
        if (m_had)
            qputenv(m_name, m_old);
        else
            qunsetenv(m_name);
    }

private:
    const char* m_name;
    bool m_had;
    QByteArray m_old;
};

void writeExecutable(const QString& path, const QByteArray& text)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
    file.close();
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

QString waitForFile(const QString& path)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 10000) {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly)) {
            const QByteArray text = file.readAll();
            if (text.endsWith("end\n"))
                return QString::fromUtf8(text);
        }
        QThread::msleep(10);
    }
    return {};
}

class LauncherTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_bin = QDir(m_dir.path()).filePath(u"bin"_qs);
        m_prefix = QDir(m_dir.path()).filePath(u"prefix"_qs);
        m_record = QDir(m_dir.path()).filePath(u"record.txt"_qs);
        ASSERT_TRUE(QDir().mkpath(m_bin));
        ASSERT_TRUE(QDir().mkpath(m_prefix + u"/drive_c/UFSMART/Portal"_qs));
        QFile exe(m_prefix + u"/drive_c/UFSMART/Portal/Portal.exe"_qs);
        ASSERT_TRUE(exe.open(QIODevice::WriteOnly));
        m_path = std::make_unique<ScopedEnv>("PATH", QFile::encodeName(m_bin) + ":/usr/bin:/bin");
        m_wineprefix = std::make_unique<ScopedEnv>("WINEPREFIX", QFile::encodeName(m_prefix));
    }

    void installRecordingWine()
    {
        writeExecutable(m_bin + u"/wine"_qs,
                        "#!/bin/sh\n"
                        "{ echo \"args=$#\"; for a in \"$@\"; do echo \"arg=$a\"; done;\n"
                        "  echo \"prefix=$WINEPREFIX\"; echo \"parent=$PPID\"; echo end; } > '" +
                            QFile::encodeName(m_record) + "'\n");
    }

    QTemporaryDir m_dir;
    QString m_bin, m_prefix, m_record;
    std::unique_ptr<ScopedEnv> m_path, m_wineprefix;
};

} // namespace

TEST(WinePrefix, DriveCIsInTheWinePrefixOrInDotWineAtHome)
{
    {
        ScopedEnv prefix("WINEPREFIX", "/srv/prefixes/exam/");
        EXPECT_EQ(WinePrefix::driveC(), u"/srv/prefixes/exam/drive_c");
        EXPECT_EQ(WinePrefix::hostPath(u"C:\\UFSMART\\Admin\\ZT901\\2012"_qs),
                  u"/srv/prefixes/exam/drive_c/UFSMART/Admin/ZT901/2012");
        EXPECT_EQ(WinePrefix::hostPath(u"c:\\考生文件夹"_qs), u"/srv/prefixes/exam/drive_c/考生文件夹");
        EXPECT_EQ(WinePrefix::hostPath(u"D:\\UFSMART"_qs), QString());
        EXPECT_EQ(WinePrefix::hostPath(u"UFSMART\\Admin"_qs), QString());
    }
    ScopedEnv none("WINEPREFIX", "");
    EXPECT_EQ(WinePrefix::driveC(), QDir::home().filePath(u".wine/drive_c"_qs));
}

TEST_F(LauncherTest, StartsTheProgramDetachedThroughWineWithoutArguments)
{
    installRecordingWine();
    PackageLauncher launcher;
    EXPECT_TRUE(launcher.start(u"C:\\UFSMART\\Portal\\Portal.exe"_qs));
    const QString record = waitForFile(m_record);
    ASSERT_FALSE(record.isEmpty()) << "wine was not started";
    const QStringList lines = record.split(u'\n', Qt::SkipEmptyParts);
    EXPECT_EQ(lines.at(0), u"args=1");
    EXPECT_EQ(lines.at(1), u"arg=C:\\UFSMART\\Portal\\Portal.exe");
    EXPECT_EQ(lines.at(2), u"prefix="_qs + m_prefix);
    // Detached: wine is no child of this process.
    EXPECT_NE(lines.at(3), QStringLiteral("parent=%1").arg(getpid()));
}

TEST_F(LauncherTest, AMissingProgramOrWineOrAFailedStartStartsNothing)
{
    installRecordingWine();
    PackageLauncher launcher;
    // The package is not installed: Admin.exe is missing.
    EXPECT_FALSE(launcher.start(u"C:\\UFSMART\\Admin\\Admin.exe"_qs));

    // A wine that cannot be executed.
    writeExecutable(m_bin + u"/wine"_qs, "#!/nonexistent/interpreter\n");
    EXPECT_FALSE(launcher.start(u"C:\\UFSMART\\Portal\\Portal.exe"_qs));

    // No wine on PATH at all.
    QFile::remove(m_bin + u"/wine"_qs);
    ScopedEnv path("PATH", QFile::encodeName(m_bin));
    EXPECT_FALSE(launcher.start(u"C:\\UFSMART\\Portal\\Portal.exe"_qs));
    EXPECT_FALSE(QFile::exists(m_record));
}
