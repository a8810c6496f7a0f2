#include "data/DataSet.h"
#include "data/BankSchema.h"
#include "data/Database.h"
#include "platform/AppError.h"
#include "support/TestFolder.h"

#include <gtest/gtest.h>

using namespace tarnex;
using tarnex::test::TestFolder;

namespace {

class DataSetTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_path = m_folder.file(u"kstk.dat"_qs);
        m_db = Database::open(m_path, Database::BankPassword, Database::OpenMode::CreateIfMissing);
        BankSchema::createQuestionBank(*m_db);
        const char* rows[][4] = {
            {"会计基础", "试题一", "1", "a"},
            {"会计基础", "试题一", "2", nullptr},
            {"会计基础", "试题'三", "1", "c"},
            {"会计基础", "试题'三' or '1'='1", "1", "d"},
            {"财经法规与会计职业道德", "试题一", "1", "b"},
        };
        for (const auto& row : rows) {
            m_db->execute(u"INSERT INTO dds (kemu, tao, tihao, xuan, da) VALUES (?, ?, ?, ?, 'a')"_qs,
                          {QString::fromUtf8(row[0]), QString::fromUtf8(row[1]), QString::fromUtf8(row[2]),
                           row[3] ? QVariant(QString::fromUtf8(row[3])) : QVariant()});
        }
    }

    QString fileValue(const QString& sql, const QVariantList& params = {})
    {
        // A fresh connection reads what is in the file, not what a data set remembers.
        return Database::open(m_path, Database::BankPassword)->queryText(sql, params);
    }

    void openPaper(DataSet& set, const QString& subject, const QString& paper)
    {
        set.open(u"select * from dds where kemu=? and tao=? order by tihao"_qs, {subject, paper});
    }

    TestFolder m_folder;
    QString m_path;
    std::unique_ptr<Database> m_db;
};

} // namespace

TEST_F(DataSetTest, BoundValuesSelectExactlyTheirPaper)
{
    DataSet set(*m_db);
    openPaper(set, u"会计基础"_qs, u"试题'三"_qs);
    ASSERT_EQ(set.recordCount(), 1);
    EXPECT_EQ(set.text(u"xuan"_qs), u"c"_qs);

    openPaper(set, u"会计基础"_qs, u"试题'三' or '1'='1"_qs);
    ASSERT_EQ(set.recordCount(), 1);
    EXPECT_EQ(set.text(u"xuan"_qs), u"d"_qs);

    openPaper(set, u"会计基础"_qs, u"试题一"_qs);
    EXPECT_EQ(set.recordCount(), 2);
}

TEST_F(DataSetTest, NullReadsAsEmptyText)
{
    DataSet set(*m_db);
    openPaper(set, u"会计基础"_qs, u"试题一"_qs);
    ASSERT_TRUE(set.locate(u"tihao"_qs, u"2"_qs));
    EXPECT_TRUE(set.isNull(u"xuan"_qs));
    EXPECT_EQ(set.text(u"xuan"_qs), QString());
    EXPECT_TRUE(set.text(u"xuan"_qs).isEmpty());
    EXPECT_EQ(set.text(u"tou"_qs), QString());
    EXPECT_TRUE(set.bytes(u"tou"_qs).isEmpty());
}

TEST_F(DataSetTest, ColumnsAndLocateIgnoreCase)
{
    m_db->execute(u"INSERT INTO duo (kemu, tao, tihao) VALUES ('k', 't', 'Q7'), ('k', 't', 'q8')"_qs);
    DataSet set(*m_db);
    set.open(u"select * from duo where kemu=? and tao=? order by tihao"_qs, {u"k"_qs, u"t"_qs});
    EXPECT_TRUE(set.locate(u"TIHAO"_qs, u"q7"_qs));
    EXPECT_EQ(set.text(u"TiHao"_qs), u"Q7"_qs);
    EXPECT_TRUE(set.locate(u"tihao"_qs, u"Q8"_qs));
    EXPECT_EQ(set.text(u"tihao"_qs), u"q8"_qs);
    const int before = set.position();
    EXPECT_FALSE(set.locate(u"tihao"_qs, u"Q"_qs)) << "locate matches whole values only";
    EXPECT_EQ(set.position(), before) << "a failed locate keeps the current row";
    EXPECT_THROW(set.text(u"nope"_qs), AppError);
}

TEST_F(DataSetTest, PostIsInTheFileWhenItReturns)
{
    DataSet set(*m_db);
    openPaper(set, u"会计基础"_qs, u"试题一"_qs);
    ASSERT_TRUE(set.locate(u"tihao"_qs, u"2"_qs));
    set.edit();
    set.setText(u"xuan"_qs, u"b"_qs);
    EXPECT_EQ(set.text(u"xuan"_qs), u"b"_qs) << "reads see the edit buffer";
    set.post();
    EXPECT_EQ(
        fileValue(u"SELECT xuan FROM dds WHERE tao = '试题一' AND tihao = '2' AND kemu = '会计基础'"_qs),
        u"b"_qs);

    // Setting an empty text stores "", not NULL.
    set.edit();
    set.setText(u"xuan"_qs, QString());
    set.post();
    EXPECT_EQ(
        fileValue(
            u"SELECT typeof(xuan) FROM dds WHERE tao = '试题一' AND tihao = '2' AND kemu = '会计基础'"_qs),
        u"text"_qs);

    // Only the edited row changes.
    EXPECT_EQ(
        fileValue(u"SELECT xuan FROM dds WHERE tao = '试题一' AND tihao = '1' AND kemu = '会计基础'"_qs),
        u"a"_qs);
}

TEST_F(DataSetTest, MovingAwayPostsAPendingEdit)
{
    DataSet set(*m_db);
    openPaper(set, u"会计基础"_qs, u"试题一"_qs);
    set.first();
    set.edit();
    set.setText(u"xuan"_qs, u"d"_qs);
    set.next();
    EXPECT_EQ(set.state(), DataSet::State::Browse);
    EXPECT_EQ(
        fileValue(u"SELECT xuan FROM dds WHERE tao = '试题一' AND tihao = '1' AND kemu = '会计基础'"_qs),
        u"d"_qs);
}

TEST_F(DataSetTest, AppendRemoveAndBytes)
{
    DataSet set(*m_db);
    openPaper(set, u"会计基础"_qs, u"试题一"_qs);
    const QByteArray rtf("{\\rtf1\\ansi\\ansicpg936 \\'d6\\'d0}");
    set.append();
    set.setText(u"kemu"_qs, u"会计基础"_qs);
    set.setText(u"tao"_qs, u"试题一"_qs);
    set.setText(u"tihao"_qs, u"007"_qs);
    set.setBytes(u"tou"_qs, rtf);
    set.post();
    EXPECT_EQ(set.recordCount(), 3);
    EXPECT_EQ(set.text(u"tihao"_qs), u"007"_qs);

    DataSet again(*m_db);
    openPaper(again, u"会计基础"_qs, u"试题一"_qs);
    ASSERT_TRUE(again.locate(u"tihao"_qs, u"007"_qs));
    EXPECT_EQ(again.bytes(u"tou"_qs), rtf);
    EXPECT_EQ(again.position(), 2) << "007 sorts after 2";

    again.remove();
    EXPECT_EQ(again.recordCount(), 2);
    EXPECT_EQ(fileValue(u"SELECT count(*) FROM dds WHERE tihao = '007'"_qs), u"0"_qs);
    again.first();
    again.remove();
    EXPECT_EQ(again.text(u"tihao"_qs), u"2"_qs) << "the next row becomes current";
}

TEST_F(DataSetTest, ReadOnlySnapshotsRefuseChanges)
{
    DataSet set(*m_db);
    set.open(u"SELECT tihao, xuan FROM dds ORDER BY tihao"_qs);
    EXPECT_EQ(set.recordCount(), 5);
    EXPECT_THROW(set.edit(), AppError);
    EXPECT_THROW(set.append(), AppError);

    DataSet closed(*m_db);
    EXPECT_THROW(closed.text(u"xuan"_qs), AppError);
    EXPECT_THROW(closed.edit(), AppError);
}

TEST_F(DataSetTest, EditOfARowDeletedMeanwhileFails)
{
    DataSet set(*m_db);
    openPaper(set, u"会计基础"_qs, u"试题一"_qs);
    set.first();
    m_db->execute(u"DELETE FROM dds WHERE tao = '试题一' AND tihao = '1'"_qs);
    set.edit();
    set.setText(u"xuan"_qs, u"z"_qs);
    EXPECT_THROW(set.post(), AppError);
    // The failed edit is dropped: the data set browses again and shows what it read.
    EXPECT_EQ(set.state(), DataSet::State::Browse);
    EXPECT_EQ(set.text(u"xuan"_qs), u"a"_qs);
    EXPECT_NO_THROW(set.next());
}

TEST_F(DataSetTest, EmptyResultIsAtEof)
{
    DataSet set(*m_db);
    openPaper(set, u"会计基础"_qs, u"试题九十九"_qs);
    EXPECT_TRUE(set.eof());
    EXPECT_TRUE(set.isEmpty());
    EXPECT_EQ(set.text(u"xuan"_qs), QString());
    EXPECT_THROW(set.edit(), AppError);
    set.next();
    EXPECT_TRUE(set.eof());
}
