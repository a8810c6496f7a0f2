#include "platform/DesktopShortcut.h"
#include "platform/AppPaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tarnex {
namespace {

class DesktopShortcutTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_home.isValid());
        m_desktop = QDir(m_home.path()).filePath(QStringLiteral("Desktop"));
        ASSERT_TRUE(QDir().mkpath(m_desktop));
        setDesktopFolderForTesting(m_desktop);
    }
    void TearDown() override { setDesktopFolderForTesting(QString()); }

    QString entryPath() const { return QDir(m_desktop).filePath(QStringLiteral("Velquarn.desktop")); }

    static QByteArray read(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir m_home;
    QString m_desktop;
};

TEST(DesktopFolder, IsTheUsersDesktopUnlessATestSetsIt)
{
    setDesktopFolderForTesting(QString());
    EXPECT_EQ(desktopFolder(), QStandardPaths::writableLocation(QStandardPaths::DesktopLocation));
    setDesktopFolderForTesting(QStringLiteral("/some/where"));
    EXPECT_EQ(desktopFolder(), QStringLiteral("/some/where"));
    setDesktopFolderForTesting(QString());
}

TEST_F(DesktopShortcutTest, WritesAnExecutableEntryForTheRunningProgram)
{
    const QString path = placeDesktopShortcut();
    EXPECT_EQ(path, entryPath());
    ASSERT_TRUE(QFileInfo::exists(path));

    const QStringList lines = QString::fromUtf8(read(path)).split(u'\n');
    const QString executable = AppPaths::executablePath();
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_EQ(lines.first(), QStringLiteral("[Desktop Entry]"));
    EXPECT_TRUE(lines.contains(QStringLiteral("Type=Application")));
    EXPECT_TRUE(lines.contains(QStringLiteral("Name=Velquarn")));
    EXPECT_TRUE(lines.contains(QStringLiteral("Terminal=false")));
    EXPECT_TRUE(lines.contains(QStringLiteral("Exec=\"") + executable + u'"')) << read(path).constData();
    EXPECT_TRUE(lines.contains(QStringLiteral("Path=") + QFileInfo(executable).absolutePath()));

    const QFileDevice::Permissions mode = QFile::permissions(path);
    EXPECT_TRUE(mode.testFlags(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));
    EXPECT_TRUE(mode.testFlags(QFileDevice::ReadGroup | QFileDevice::ExeGroup));
    EXPECT_TRUE(mode.testFlags(QFileDevice::ReadOther | QFileDevice::ExeOther));
    EXPECT_FALSE(mode & (QFileDevice::WriteGroup | QFileDevice::WriteOther));

    const QStringList leftovers = QDir(m_desktop).entryList(QDir::Files | QDir::Hidden);
    EXPECT_EQ(leftovers, QStringList({QStringLiteral("Velquarn.desktop")})) << "no temporary file stays";
}

TEST_F(DesktopShortcutTest, AnExistingEntryIsLeftUntouchedEvenIfItPointsElsewhere)
{
    const QByteArray other = "[Desktop Entry]\nType=Application\nName=Velquarn\nExec=/opt/old/tarnex\n";
    {
        QFile file(entryPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(other);
    }
    QFile::setPermissions(entryPath(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);

    EXPECT_EQ(placeDesktopShortcut(), entryPath());
    EXPECT_EQ(read(entryPath()), other);
    EXPECT_EQ(QFile::permissions(entryPath()) & 0x7000, QFileDevice::ReadOwner | QFileDevice::WriteOwner);

    // A second start leaves its own entry alone as well.
    EXPECT_EQ(placeDesktopShortcut(), entryPath());
    EXPECT_EQ(read(entryPath()), other);
}

TEST_F(DesktopShortcutTest, ADanglingLinkOfThatNameCountsAsExisting)
{
    ASSERT_TRUE(QFile::link(QDir(m_home.path()).filePath(QStringLiteral("gone")), entryPath()));
    placeDesktopShortcut();
    EXPECT_TRUE(QFileInfo(entryPath()).isSymLink());
    EXPECT_FALSE(QFileInfo::exists(QDir(m_home.path()).filePath(QStringLiteral("gone"))));
}

TEST_F(DesktopShortcutTest, AMissingDesktopIsNotCreated)
{
    const QString missing = QDir(m_home.path()).filePath(QStringLiteral("NoDesktop"));
    setDesktopFolderForTesting(missing);
    const QString path = placeDesktopShortcut();
    EXPECT_EQ(path, QDir(missing).filePath(QStringLiteral("Velquarn.desktop")));
    EXPECT_FALSE(QFileInfo::exists(missing));
}

TEST_F(DesktopShortcutTest, FailuresToWriteAreIgnored)
{
    // A desktop "folder" that is a file: nothing can be written into it, not even by root.
    const QString notAFolder = QDir(m_home.path()).filePath(QStringLiteral("plain-file"));
    {
        QFile file(notAFolder);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    setDesktopFolderForTesting(notAFolder);
    QString path;
    EXPECT_NO_THROW(path = placeDesktopShortcut());
    EXPECT_EQ(path, QDir(notAFolder).filePath(QStringLiteral("Velquarn.desktop")));
    EXPECT_FALSE(QFileInfo::exists(path));

    setDesktopFolderForTesting(QString());
}

TEST(DesktopEntryText, QuotesTheExecutableAsTheFormatWants)
{
    const QString executable = QStringLiteral("/home/张 三/a\"b$c`d\\e%f/tarnex");
    const QStringList lines = QString::fromUtf8(desktopEntryText(executable)).split(u'\n');
    // Inside quotes '"', '$', '`' and '\' get a backslash; then the string escapes double every
    // backslash; '%' is doubled as it starts a field code.
    EXPECT_TRUE(
        lines.contains(QStringLiteral("Exec=\"/home/张 三/a\\\\\"b\\\\$c\\\\`d\\\\\\\\e%%f/tarnex\"")))
        << lines.join(u'|').toStdString();
    EXPECT_TRUE(lines.contains(QStringLiteral("Path=/home/张 三/a\"b$c`d\\\\e%f")));
}

TEST(DesktopEntryText, PlainPathsStayReadable)
{
    const QByteArray text = desktopEntryText(QStringLiteral("/opt/velquarn/tarnex"));
    EXPECT_EQ(QString::fromUtf8(text),
              QStringLiteral("[Desktop Entry]\nType=Application\nVersion=1.0\nName=Velquarn\n"
                             "Exec=\"/opt/velquarn/tarnex\"\nPath=/opt/velquarn\nTerminal=false\n"
                             "Actions=author;\n\n[Desktop Action author]\nName=编辑试题\n"
                             "Exec=\"/opt/velquarn/tarnex\" --author\n"));
}

} // namespace
} // namespace tarnex
