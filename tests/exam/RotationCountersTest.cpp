#include "exam/RotationCounters.h"
#include "exam/Feedback.h"

#include "platform/AppError.h"
#include "platform/IniFile.h"
#include "support/TestFolder.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <limits>

namespace tarnex {
namespace {

QByteArray readAll(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

void writeAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

TEST(RotationCountersTest, AdvanceRaisesOneCounterAndWrapsAllFromFour)
{
    const RotationCounters start{1, 2, 3};
    EXPECT_EQ(start.advanced(RotationCounters::SanBand), (RotationCounters{2, 2, 3}));
    EXPECT_EQ(start.advanced(RotationCounters::LiuBand), (RotationCounters{1, 3, 3}));
    EXPECT_EQ(start.advanced(RotationCounters::JiuBand), (RotationCounters{1, 2, 1}));
    EXPECT_EQ(start.advanced(0), start);
    EXPECT_EQ(start.advanced(4), start);

    // 3 -> 1 in the advanced band; any counter of 4 or more goes back to 1 whichever band moves.
    EXPECT_EQ((RotationCounters{3, 9, 4}).advanced(RotationCounters::SanBand), (RotationCounters{1, 1, 1}));
    EXPECT_EQ((RotationCounters{5, 2, 2}).advanced(7), (RotationCounters{1, 2, 2}));
}

TEST(RotationCountersTest, ValuesBelowOneClimbByOne)
{
    EXPECT_EQ((RotationCounters{0, -5, 1}).advanced(RotationCounters::SanBand), (RotationCounters{1, -5, 1}));
    EXPECT_EQ((RotationCounters{0, -5, 1}).advanced(RotationCounters::LiuBand), (RotationCounters{0, -4, 1}));
    const int lowest = std::numeric_limits<int>::min();
    EXPECT_EQ((RotationCounters{lowest, 1, 1}).advanced(RotationCounters::SanBand).san, lowest + 1);
}

TEST(RotationCountersTest, LargestValueWrapsToOneInsteadOfOverflowing)
{
    const int highest = std::numeric_limits<int>::max();
    EXPECT_EQ((RotationCounters{highest, highest, 1}).advanced(RotationCounters::SanBand),
              (RotationCounters{1, 1, 1}));
}

TEST(RotationCountersTest, MissingFileSectionOrKeyReadsAsOne)
{
    test::TestFolder folder;
    EXPECT_EQ(RotationCounters::load(), (RotationCounters{1, 1, 1}));
    EXPECT_FALSE(QFile::exists(folder.file(QStringLiteral("ci.ini")))); // reading creates nothing

    writeAll(folder.file(QStringLiteral("ci.ini")), "[other]\r\nsan=3\r\n");
    EXPECT_EQ(RotationCounters::load(), (RotationCounters{1, 1, 1}));

    writeAll(folder.file(QStringLiteral("ci.ini")), "[CI]\r\nLIU = 3\r\njiu=\r\n");
    EXPECT_EQ(RotationCounters::load(), (RotationCounters{1, 3, 1}));

    writeAll(folder.file(QStringLiteral("ci.ini")), "[ci]\r\nsan=0\r\nliu=-7\r\njiu=12\r\n");
    EXPECT_EQ(RotationCounters::load(), (RotationCounters{0, -7, 12}));
}

TEST(RotationCountersTest, SaveCreatesTheFileWithTheThreeKeysInOrder)
{
    test::TestFolder folder;
    RotationCounters{2, 3, 1}.save();
    EXPECT_EQ(readAll(folder.file(QStringLiteral("ci.ini"))),
              QByteArray("[ci]\r\nsan=2\r\nliu=3\r\njiu=1\r\n"));
}

TEST(RotationCountersTest, SaveKeepsOtherSectionsKeysAndLines)
{
    test::TestFolder folder;
    const QByteArray before = "; counters\r\n[window]\r\nleft=10\r\n\r\n[ci]\r\nliu=2\r\nnote=kept\r\n"
                              "\r\n[tail]\r\nx=y\r\n";
    writeAll(folder.file(QStringLiteral("ci.ini")), before);
    RotationCounters counters = RotationCounters::load();
    EXPECT_EQ(counters, (RotationCounters{1, 2, 1}));
    counters.advanced(RotationCounters::LiuBand).save();
    EXPECT_EQ(readAll(folder.file(QStringLiteral("ci.ini"))),
              QByteArray("; counters\r\n[window]\r\nleft=10\r\n\r\n[ci]\r\nliu=3\r\nnote=kept\r\nsan=1\r\n"
                         "jiu=1\r\n\r\n[tail]\r\nx=y\r\n"));
}

TEST(RotationCountersTest, RotationSurvivesRestartsAcrossThreeHandIns)
{
    test::TestFolder folder;
    const QString subject = QStringLiteral("财经法规");
    QStringList phrases;
    // Each hand-in is a new program run: the counters come from the file, go back into it.
    for (int run = 0; run < 4; ++run) {
        const RotationCounters loaded = RotationCounters::load();
        const HandInFeedback feedback = composeHandInFeedback(subject, 10, loaded);
        phrases.append(feedback.message.section(QStringLiteral("\n\r"), 2));
        ASSERT_TRUE(feedback.rotates());
        feedback.counters.save();
    }
    EXPECT_EQ(phrases, QStringList({lowestBandPhrase(1), lowestBandPhrase(2), lowestBandPhrase(3),
                                    lowestBandPhrase(1)}));
    EXPECT_EQ(RotationCounters::load(), (RotationCounters{2, 1, 1}));

    // A run in the next band moves only liu.
    const HandInFeedback second = composeHandInFeedback(subject, 20, RotationCounters::load());
    EXPECT_EQ(second.message.section(QStringLiteral("\n\r"), 2), secondBandPhrase(1));
    second.counters.save();
    EXPECT_EQ(RotationCounters::load(), (RotationCounters{2, 2, 1}));
}

TEST(RotationCountersTest, UnwritableFileThrowsTheExactMessageAndKeepsTheFile)
{
    test::TestFolder folder;
    const QString path = folder.file(QStringLiteral("ci.ini"));
    writeAll(path, "[ci]\r\nsan=1\r\n");
    QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadUser);

    const HandInFeedback feedback =
        composeHandInFeedback(QStringLiteral("会计基础"), 0, RotationCounters::load());
    // The score is composed before anything is written, so a failing save cannot hide it.
    EXPECT_EQ(feedback.message, scoreMessage(0, lowestBandPhrase(1)));
    try {
        feedback.counters.save();
        FAIL() << "save into a read-only file succeeded";
    } catch (const AppError& error) {
        EXPECT_EQ(error.message(), QStringLiteral("Unable to write to ") + QDir::toNativeSeparators(path));
    }
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
    EXPECT_EQ(readAll(path), QByteArray("[ci]\r\nsan=1\r\n"));
    EXPECT_EQ(feedback.counters.san, 2); // the new value stays in memory
}

TEST(RotationCountersTest, ReadOnlyFolderThrowsTheExactMessage)
{
    test::TestFolder folder;
    const QString path = folder.file(QStringLiteral("ci.ini"));
    QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::ExeOwner);
    struct Restore
    {
        QString dir;
        ~Restore() { QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner); }
    } restore{folder.path()};

    QFile probe(folder.file(QStringLiteral("probe")));
    if (probe.open(QIODevice::WriteOnly)) {
        probe.remove();
        GTEST_SKIP() << "this user writes into read-only folders (root)";
    }
    try {
        RotationCounters{2, 1, 1}.save(path);
        FAIL() << "save into a read-only folder succeeded";
    } catch (const AppError& error) {
        EXPECT_EQ(error.message(), QStringLiteral("Unable to write to ") + QDir::toNativeSeparators(path));
    }
}

TEST(RotationCountersTest, MissingFolderThrowsTheExactMessage)
{
    test::TestFolder folder;
    // A folder that cannot come into being: its parent is a plain file. Fails even for root.
    writeAll(folder.file(QStringLiteral("plain")), "x");
    const QString path = folder.file(QStringLiteral("plain/ci.ini"));
    try {
        RotationCounters{2, 1, 1}.save(path);
        FAIL() << "save below a plain file succeeded";
    } catch (const AppError& error) {
        EXPECT_EQ(error.message(), QStringLiteral("Unable to write to ") + QDir::toNativeSeparators(path));
    }
}

} // namespace
} // namespace tarnex
