#include "data/Database.h"
#include "data/BankSchema.h"
#include "data/DataSet.h"
#include "platform/AppError.h"
#include "support/TestFolder.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>

using namespace tarnex;
using tarnex::test::TestFolder;

namespace {

std::unique_ptr<Database> createBank(const QString& path)
{
    auto db = Database::open(path, Database::BankPassword, Database::OpenMode::CreateIfMissing);
    BankSchema::createQuestionBank(*db);
    return db;
}

QString openError(const QString& path, const QByteArray& password)
{
    try {
        Database::open(path, password);
    } catch (const AppError& error) {
        return error.message();
    }
    return {};
}

} // namespace

TEST(Database, OpensOnlyWithItsPassword)
{
    TestFolder folder;
    const QString bank = folder.file(u"kstk.dat"_qs);
    createBank(bank)->execute(u"UPDATE tb_memo SET edit1 = ?"_qs, {u"标题"_qs});

    EXPECT_EQ(Database::open(bank, Database::BankPassword)->queryText(u"SELECT edit1 FROM tb_memo"_qs),
              u"标题"_qs);

    const QString wrong = openError(bank, "1234567");
    EXPECT_TRUE(wrong.contains(u"kstk.dat"_qs)) << wrong.toStdString();
    EXPECT_TRUE(wrong.contains(u"not a database"_qs)) << wrong.toStdString();
    EXPECT_FALSE(openError(bank, QByteArray()).isEmpty());

    // The file on disk carries no readable SQLite header.
    QFile file(bank);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_FALSE(file.read(16).startsWith("SQLite format 3"));
}

TEST(Database, PlainFileRefusesAPassword)
{
    TestFolder folder;
    const QString lists = folder.file(u"titao.dat"_qs);
    {
        auto db = Database::open(lists, {}, Database::OpenMode::CreateIfMissing);
        BankSchema::createPaperLists(*db);
    }
    QFile file(lists);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.read(16).startsWith("SQLite format 3"));
    file.close();
    EXPECT_NO_THROW(Database::open(lists));
    EXPECT_FALSE(openError(lists, Database::BankPassword).isEmpty());
}

TEST(Database, MissingAndJunkFilesAreReported)
{
    TestFolder folder;
    const QString missing = openError(folder.file(u"kstk.dat"_qs), Database::BankPassword);
    EXPECT_TRUE(missing.contains(u"kstk.dat"_qs)) << missing.toStdString();
    EXPECT_FALSE(QFile::exists(folder.file(u"kstk.dat"_qs))) << "opening must not create the file";

    QFile junk(folder.file(u"junk.dat"_qs));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(4096, 'x'));
    junk.close();
    EXPECT_FALSE(openError(junk.fileName(), Database::BankPassword).isEmpty());
    EXPECT_FALSE(openError(junk.fileName(), {}).isEmpty());
}

TEST(Database, StockShellOpensTheBankWithItsKey)
{
    const QString shell = QStandardPaths::findExecutable(u"sqlcipher"_qs);
    if (shell.isEmpty())
        GTEST_SKIP() << "sqlcipher shell not installed";
    TestFolder folder;
    const QString bank = folder.file(u"kstk.dat"_qs);
    createBank(bank)->execute(u"INSERT INTO dds (tihao) VALUES ('7')"_qs);

    auto runShell = [&](const QByteArray& script) {
        QProcess process;
        process.start(shell, {bank});
        process.write(script);
        process.closeWriteChannel();
        process.waitForFinished(30000);
        return process.readAllStandardOutput() + process.readAllStandardError();
    };
    EXPECT_EQ(runShell("PRAGMA key='5820417';\nSELECT tihao FROM dds;\n").trimmed(), QByteArray("7"));
    // The (kemu, tao) indexes need nothing the shell lacks: rows are added and found through them.
    EXPECT_EQ(runShell("PRAGMA key='5820417';\nINSERT INTO dds (kemu, tao, tihao) VALUES ('k', 't', '8');\n"
                       "SELECT tihao FROM dds INDEXED BY dds_kemu_tao WHERE kemu = 'k' AND tao = 't';\n")
                  .trimmed(),
              QByteArray("8"));
    EXPECT_TRUE(runShell("SELECT tihao FROM dds;\n").contains("not a database"));
}

TEST(Database, QuestionIndexesAreAddedToABankThatLacksThem)
{
    TestFolder folder;
    const QString bank = folder.file(u"kstk.dat"_qs);
    auto indexes = [](Database& db) {
        return db.queryText(u"SELECT group_concat(name, ' ') FROM (SELECT name FROM sqlite_master "
                            "WHERE type = 'index' AND sql IS NOT NULL ORDER BY name)"_qs);
    };
    auto plan = [](Database& db) {
        QStringList steps;
        Statement statement(db, u"EXPLAIN QUERY PLAN SELECT * FROM anli WHERE kemu = ? AND tao = ?"_qs,
                            {u"会计基础"_qs, u"试题一"_qs});
        while (statement.step())
            steps.append(statement.value(3).toString());
        return steps.join(u' ');
    };
    const QString all = u"anli_kemu_tao dds_kemu_tao duo_kemu_tao jsfx_kemu_tao sf_kemu_tao ws_kemu_tao"_qs;
    {
        auto db = createBank(bank);
        EXPECT_EQ(indexes(*db), all);
        // A bank built before the indexes, with one left over from an interrupted attempt.
        for (const QString& table : BankSchema::questionTables()) {
            if (table != u"ws")
                db->execute(QStringLiteral("DROP INDEX %1_kemu_tao").arg(table));
        }
        db->execute(u"INSERT INTO anli (kemu, tao, tihao) VALUES ('会计基础', '试题一', '1')"_qs);
        EXPECT_EQ(indexes(*db), u"ws_kemu_tao"_qs);
        EXPECT_FALSE(plan(*db).contains(u"anli_kemu_tao"_qs)) << plan(*db).toStdString();
    }
    {
        auto db = BankSchema::openQuestionBankFile(bank);
        EXPECT_EQ(indexes(*db), all);
        EXPECT_TRUE(plan(*db).contains(u"USING INDEX anli_kemu_tao"_qs)) << plan(*db).toStdString();
        EXPECT_EQ(db->queryText(u"SELECT tihao FROM anli WHERE kemu = '会计基础'"_qs), u"1"_qs);
    }
    // Present, they are left alone: opening changes nothing in the file.
    const QByteArray before = [&] {
        QFile file(bank);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();
    BankSchema::openQuestionBankFile(bank).reset();
    QFile after(bank);
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), before);
}

TEST(Database, BankThatCannotTakeTheIndexesStillOpens)
{
    TestFolder folder;
    const QString bank = folder.file(u"kstk.dat"_qs);
    {
        auto db = createBank(bank);
        for (const QString& table : BankSchema::questionTables())
            db->execute(QStringLiteral("DROP INDEX %1_kemu_tao").arg(table));
        // The name of the last index is taken by a table another tool left.
        db->execute(u"CREATE TABLE ws_kemu_tao (x TEXT)"_qs);
        db->execute(u"INSERT INTO dds (kemu, tao, tihao) VALUES ('k', 't', '3')"_qs);
    }
    std::unique_ptr<Database> db;
    ASSERT_NO_THROW(db = BankSchema::openQuestionBankFile(bank));
    EXPECT_EQ(db->queryText(u"SELECT tihao FROM dds WHERE kemu = 'k'"_qs), u"3"_qs);
    // Nothing half-done: the indexes of the other tables were not kept either.
    EXPECT_EQ(
        db->queryText(u"SELECT count(*) FROM sqlite_master WHERE type = 'index' AND sql IS NOT NULL"_qs),
        u"0"_qs);
}

TEST(Database, TihaoOrdersByNumberAndKeepsItsSpelling)
{
    TestFolder folder;
    auto db = createBank(folder.file(u"kstk.dat"_qs));
    for (const char* number : {"10", "2", "007", "1", "9", "100", "3a", "3"})
        db->execute(u"INSERT INTO dds (kemu, tao, tihao) VALUES ('k', 't', ?)"_qs,
                    {QString::fromLatin1(number)});

    DataSet rows(*db);
    rows.open(u"select * from dds where kemu = ? and tao = ? order by tihao"_qs, {u"k"_qs, u"t"_qs});
    QStringList order;
    for (rows.first(); !rows.eof(); rows.next())
        order.append(rows.text(u"tihao"_qs));
    EXPECT_EQ(order,
              (QStringList{u"1"_qs, u"2"_qs, u"3"_qs, u"3a"_qs, u"007"_qs, u"9"_qs, u"10"_qs, u"100"_qs}));
}

TEST(Database, TransactionIsAllOrNothing)
{
    TestFolder folder;
    const QString path = folder.file(u"kstk.dat"_qs);
    auto db = createBank(path);
    db->execute(u"INSERT INTO sf (tihao, xuan) VALUES ('1', 'a'), ('2', 'b')"_qs);
    try {
        Database::Transaction transaction(*db);
        db->execute(u"UPDATE sf SET xuan = '' WHERE tihao = '1'"_qs);
        db->execute(u"UPDATE no_such_table SET x = 1"_qs);
        transaction.commit();
        FAIL() << "the broken statement must throw";
    } catch (const AppError&) {
    }
    auto reopened = Database::open(path, Database::BankPassword);
    EXPECT_EQ(reopened->queryText(u"SELECT xuan FROM sf WHERE tihao = '1'"_qs), u"a"_qs);
}

TEST(Database, SecondConnectionWaitsForTheFirst)
{
    TestFolder folder;
    const QString path = folder.file(u"kstk.dat"_qs);
    auto first = createBank(path);
    auto second = Database::open(path, Database::BankPassword);
    first->execute(u"INSERT INTO dtxx (ntemp) VALUES ('a')"_qs);

    std::atomic<bool> secondDone = false;
    QString secondError;
    {
        Database::Transaction hold(*first);
        first->execute(u"INSERT INTO dtxx (ntemp) VALUES ('b')"_qs);
        std::thread writer([&] {
            try {
                second->execute(u"INSERT INTO dtxx (ntemp) VALUES ('c')"_qs);
            } catch (const AppError& error) {
                secondError = error.message();
            }
            secondDone = true;
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        EXPECT_FALSE(secondDone) << "the second writer must wait while the first holds the lock";
        hold.commit();
        writer.join();
    }
    EXPECT_TRUE(secondError.isEmpty()) << secondError.toStdString();
    EXPECT_EQ(
        first->queryText(u"SELECT group_concat(ntemp, '') FROM (SELECT ntemp FROM dtxx ORDER BY rowid)"_qs),
        u"abc"_qs);
}
