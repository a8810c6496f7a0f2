#include "platform/IniFile.h"
#include "platform/AppError.h"
#include "platform/CodePage.h"

#include "support/TestFolder.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <unistd.h>

namespace tarnex {
namespace {

QByteArray readBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

const QString ci = QStringLiteral("ci");

TEST(IniFileRead, MissingFileSectionOrKeyGivesTheDefault)
{
    test::TestFolder folder;
    IniFile missing(folder.file(QStringLiteral("ci.ini")));
    EXPECT_EQ(missing.readInt(ci, QStringLiteral("san"), 1), 1);
    EXPECT_EQ(missing.readString(ci, QStringLiteral("san"), QStringLiteral("d")), QStringLiteral("d"));
    EXPECT_TRUE(missing.toBytes().isEmpty());
    EXPECT_FALSE(QFile::exists(folder.file(QStringLiteral("ci.ini")))) << "reading creates nothing";

    const IniFile ini = IniFile::fromBytes("[other]\r\nsan=3\r\n[ci]\r\nliu=2\r\n");
    EXPECT_EQ(ini.readInt(ci, QStringLiteral("san"), 1), 1) << "key of another section";
    EXPECT_EQ(ini.readInt(ci, QStringLiteral("liu"), 1), 2);
    EXPECT_EQ(ini.readInt(QStringLiteral("nope"), QStringLiteral("liu"), 7), 7);
}

TEST(IniFileRead, NamesCompareCaseInsensitivelyAndTrimmed)
{
    const IniFile ini = IniFile::fromBytes("[ CI ]\r\n  SAN = 2 \r\nLiu=3\r\n");
    EXPECT_EQ(ini.readInt(QStringLiteral("ci"), QStringLiteral("san"), 1), 2);
    EXPECT_EQ(ini.readInt(QStringLiteral("Ci"), QStringLiteral("LIU"), 1), 3);
    EXPECT_EQ(ini.readString(QStringLiteral("ci"), QStringLiteral("san")), QStringLiteral("2"));
}

TEST(IniFileRead, CommentsStrayLinesAndKeysOutsideSectionsHoldNoKey)
{
    const IniFile ini = IniFile::fromBytes("san=9\n; [ci]\n[ci]\n;san=8\nsan\n# note\n[ci2]\nsan=7\n");
    EXPECT_EQ(ini.readInt(ci, QStringLiteral("san"), 1), 1);
    EXPECT_EQ(ini.readInt(QStringLiteral("ci2"), QStringLiteral("san"), 1), 7);
}

TEST(IniFileRead, FirstSectionAndFirstKeyOfANameWin)
{
    const IniFile ini = IniFile::fromBytes("[ci]\nsan=2\nsan=3\n[ci]\nsan=4\nliu=5\n");
    EXPECT_EQ(ini.readInt(ci, QStringLiteral("san"), 1), 2);
    EXPECT_EQ(ini.readInt(ci, QStringLiteral("liu"), 1), 1) << "a later section of the same name is not read";
}

TEST(IniFileRead, ValuesLoseOnePairOfQuotes)
{
    const IniFile ini = IniFile::fromBytes("[s]\na=\"x y\"\nb='z'\nc=\"u'\nd=\"\"\ne=\"\n");
    EXPECT_EQ(ini.readString(QStringLiteral("s"), QStringLiteral("a")), QStringLiteral("x y"));
    EXPECT_EQ(ini.readString(QStringLiteral("s"), QStringLiteral("b")), QStringLiteral("z"));
    EXPECT_EQ(ini.readString(QStringLiteral("s"), QStringLiteral("c")), QStringLiteral("\"u'"));
    EXPECT_EQ(ini.readString(QStringLiteral("s"), QStringLiteral("d"), QStringLiteral("x")), QString());
    EXPECT_EQ(ini.readString(QStringLiteral("s"), QStringLiteral("e")), QStringLiteral("\""));
}

TEST(IniFileRead, IntegersFollowThePrivateProfileRules)
{
    const IniFile ini =
        IniFile::fromBytes("[ci]\na=42abc\nb=-3\nc=+7\nd=abc\ne=\nf=4294967297\ng= 0012\nh=0x10\n"
                           "i=\"5\"\nj=2147483648\nk=-\n");
    auto read = [&](const char* key) { return ini.readInt(ci, QString::fromLatin1(key), 99); };
    EXPECT_EQ(read("a"), 42);
    EXPECT_EQ(read("b"), -3);
    EXPECT_EQ(read("c"), 7);
    EXPECT_EQ(read("d"), 0) << "no digits";
    EXPECT_EQ(read("e"), 99) << "empty value";
    EXPECT_EQ(read("f"), 1) << "wraps at 32 bits";
    EXPECT_EQ(read("g"), 12);
    EXPECT_EQ(read("h"), 0);
    EXPECT_EQ(read("i"), 5);
    EXPECT_EQ(read("j"), -2147483647 - 1);
    EXPECT_EQ(read("k"), 0);
    EXPECT_EQ(read("missing"), 99);
    EXPECT_EQ(IniFile::parseInt(QStringLiteral("\t 8")), 8);
}

TEST(IniFileRead, CodePage936Names)
{
    // "乚" is 81 5D in code page 936: its second byte is ']', which must not end the section name.
    QByteArray bytes = "[" + CodePage::encode(QStringLiteral("乚科目")) + "]\r\n" +
                       CodePage::encode(QStringLiteral("名称=会计基础")) + "\r\n";
    const IniFile ini = IniFile::fromBytes(bytes);
    EXPECT_EQ(ini.readString(QStringLiteral("乚科目"), QStringLiteral("名称")), QStringLiteral("会计基础"));
}

TEST(IniFileWrite, ReplacingAValueKeepsEverythingElseByteForByte)
{
    const QByteArray before = "; counters of the feedback phrases\r\n"
                              "[other]\r\nsan=5\r\n\r\n"
                              "[CI]\r\n  SAN = 1  \r\nliu=2\n"
                              "junk line\r\n"
                              "[last]\rkey=\xFF\xFEraw\r";
    IniFile ini = IniFile::fromBytes(before);
    ini.writeInt(ci, QStringLiteral("san"), 3);
    ini.writeInt(ci, QStringLiteral("liu"), -1);
    EXPECT_EQ(ini.toBytes(), QByteArray("; counters of the feedback phrases\r\n"
                                        "[other]\r\nsan=5\r\n\r\n"
                                        "[CI]\r\nSAN=3\r\nliu=-1\n"
                                        "junk line\r\n"
                                        "[last]\rkey=\xFF\xFEraw\r"));
    EXPECT_EQ(ini.readInt(QStringLiteral("other"), QStringLiteral("san"), 0), 5);
}

TEST(IniFileWrite, ANewKeyGoesAtTheEndOfItsSectionBeforeTheBlankLines)
{
    IniFile ini = IniFile::fromBytes("[ci]\r\nsan=1\r\n; note\r\n\r\n[next]\r\na=b\r\n");
    ini.writeInt(ci, QStringLiteral("jiu"), 2);
    EXPECT_EQ(ini.toBytes(), QByteArray("[ci]\r\nsan=1\r\n; note\r\njiu=2\r\n\r\n[next]\r\na=b\r\n"));

    IniFile last = IniFile::fromBytes("[ci]\nsan=1");
    last.writeInt(ci, QStringLiteral("liu"), 2);
    EXPECT_EQ(last.toBytes(), QByteArray("[ci]\nsan=1\nliu=2\n")) << "the file's own line break";

    IniFile emptySection = IniFile::fromBytes("[ci]\r\n[x]\r\n");
    emptySection.writeInt(ci, QStringLiteral("san"), 1);
    EXPECT_EQ(emptySection.toBytes(), QByteArray("[ci]\r\nsan=1\r\n[x]\r\n"));
}

TEST(IniFileWrite, ANewSectionGoesAtTheEnd)
{
    IniFile empty = IniFile::fromBytes(QByteArray());
    empty.writeInt(ci, QStringLiteral("san"), 2);
    empty.writeInt(ci, QStringLiteral("liu"), 1);
    empty.writeInt(ci, QStringLiteral("jiu"), 3);
    EXPECT_EQ(empty.toBytes(), QByteArray("[ci]\r\nsan=2\r\nliu=1\r\njiu=3\r\n"));

    IniFile noBreak = IniFile::fromBytes("[a]\nx=1");
    noBreak.writeString(QStringLiteral(" ci "), QStringLiteral(" san "), QStringLiteral("2"));
    EXPECT_EQ(noBreak.toBytes(), QByteArray("[a]\nx=1\n\n[ci]\nsan=2\n"));

    IniFile blankEnd = IniFile::fromBytes("[a]\r\nx=1\r\n\r\n");
    blankEnd.writeInt(ci, QStringLiteral("san"), 2);
    EXPECT_EQ(blankEnd.toBytes(), QByteArray("[a]\r\nx=1\r\n\r\n[ci]\r\nsan=2\r\n"));
}

TEST(IniFileWrite, ValuesAreWrittenInTheCodePageOnOneLine)
{
    IniFile ini = IniFile::fromBytes(QByteArray());
    ini.writeString(QStringLiteral("科目"), QStringLiteral("名称"), QStringLiteral("会计\r\n基础"));
    EXPECT_EQ(ini.toBytes(), "[" + CodePage::encode(QStringLiteral("科目")) + "]\r\n" +
                                 CodePage::encode(QStringLiteral("名称=会计  基础")) + "\r\n");
    EXPECT_EQ(ini.readString(QStringLiteral("科目"), QStringLiteral("名称")), QStringLiteral("会计  基础"));
}

TEST(IniFileSave, WritesAndReadsBack)
{
    test::TestFolder folder;
    const QString path = folder.file(QStringLiteral("ci.ini"));
    writeBytes(path, "; keep me\r\n[ci]\r\nsan=1\r\nliu=1\r\njiu=1\r\n");
    IniFile ini(path);
    ini.writeInt(ci, QStringLiteral("san"), 2);
    ini.save();
    EXPECT_EQ(readBytes(path), QByteArray("; keep me\r\n[ci]\r\nsan=2\r\nliu=1\r\njiu=1\r\n"));
    EXPECT_EQ(IniFile(path).readInt(ci, QStringLiteral("san"), 1), 2);

    const QString fresh = folder.file(QStringLiteral("new.ini"));
    IniFile created(fresh);
    created.writeInt(ci, QStringLiteral("san"), 3);
    created.save();
    EXPECT_EQ(readBytes(fresh), QByteArray("[ci]\r\nsan=3\r\n"));
}

TEST(IniFileSave, AnUnwritableLocationReportsTheError)
{
    test::TestFolder folder;
    const QString plainFile = folder.file(QStringLiteral("not-a-folder"));
    writeBytes(plainFile, "x");
    const QString path = QDir(plainFile).filePath(QStringLiteral("ci.ini"));
    IniFile ini(path);
    ini.writeInt(ci, QStringLiteral("san"), 2);
    try {
        ini.save();
        FAIL() << "no error";
    } catch (const AppError& error) {
        EXPECT_EQ(error.message(), QStringLiteral("Unable to write to ") + path);
    }

    IniFile missingFolder(folder.file(QStringLiteral("no/such/ci.ini")));
    missingFolder.writeInt(ci, QStringLiteral("san"), 2);
    EXPECT_THROW(missingFolder.save(), AppError);
}

TEST(IniFileSave, AReadOnlyFileIsNotReplaced)
{
    test::TestFolder folder;
    const QString path = folder.file(QStringLiteral("ci.ini"));
    writeBytes(path, "[ci]\r\nsan=1\r\n");
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadUser));
    IniFile ini(path);
    ini.writeInt(ci, QStringLiteral("san"), 2);
    EXPECT_THROW(ini.save(), AppError);
    EXPECT_EQ(readBytes(path), QByteArray("[ci]\r\nsan=1\r\n"));
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

TEST(IniFileSave, AReadOnlyFolderReportsTheError)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders";
    test::TestFolder folder;
    const QString locked = folder.file(QStringLiteral("locked"));
    ASSERT_TRUE(QDir().mkdir(locked));
    ASSERT_TRUE(QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    IniFile ini(QDir(locked).filePath(QStringLiteral("ci.ini")));
    ini.writeInt(ci, QStringLiteral("san"), 2);
    EXPECT_THROW(ini.save(), AppError);
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

// What the INI fuzz target checks: any bytes parse, give themselves back, and survive a write in
// every line that the write does not touch.
TEST(IniFileParse, AnyBytesRoundTripAndSurviveAWrite)
{
    QRandomGenerator random(20120401);
    const char alphabet[] = "[]=;\r\n \tcisanCIS\"'\x81\x5D\xFF\xD6\xD0";
    for (int round = 0; round < 2000; ++round) {
        QByteArray bytes;
        const int size = int(random.bounded(60));
        for (int i = 0; i < size; ++i)
            bytes += alphabet[random.bounded(int(sizeof alphabet - 1))];
        IniFile ini = IniFile::fromBytes(bytes);
        ASSERT_EQ(ini.toBytes(), bytes);
        ini.readInt(ci, QStringLiteral("san"), 1);

        ini.writeInt(ci, QStringLiteral("san"), 4);
        ASSERT_EQ(ini.readInt(ci, QStringLiteral("san"), 1), 4) << bytes.toHex().constData();
        const IniFile reread = IniFile::fromBytes(ini.toBytes());
        ASSERT_EQ(reread.readInt(ci, QStringLiteral("san"), 1), 4) << bytes.toHex().constData();
    }
}

} // namespace
} // namespace tarnex
