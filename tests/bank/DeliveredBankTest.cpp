// The bank delivered with the program, built from data/bank: every subject has full-paper counts
// and every listed paper holds them, every objective key is well formed, and sitting each paper
// with the keys as answers, or with none, gives the extreme scores and bands.
#include "BankChecker.h"
#include "BankFiles.h"
#include "BankTestSupport.h"
#include "data/BankSchema.h"
#include "data/Database.h"
#include "exam/Feedback.h"
#include "exam/Scoring.h"
#include "platform/TextUtil.h"
#include "support/TestFolder.h"

#include <gtest/gtest.h>

#include <map>

using namespace tarnex;
using namespace tarnex::bank;
using namespace tarnex::bank::test;

namespace {

struct ObjectiveRow
{
    QString tihao;
    QString da;
};

std::vector<ObjectiveRow> objectiveRows(Database& db, const QString& kemu, const QString& tao)
{
    std::vector<ObjectiveRow> rows;
    for (const QString& table : {u"dds"_qs, u"duo"_qs, u"sf"_qs}) {
        Statement statement(db,
                            QStringLiteral("SELECT tihao, da FROM %1 WHERE kemu = ? AND tao = ?").arg(table),
                            {kemu, tao});
        while (statement.step())
            rows.push_back({statement.value(0).toString(), statement.value(1).toString()});
    }
    return rows;
}

bool keyIsWellFormed(const QString& table, const QString& da)
{
    if (table == u"dds")
        return isSingleChoiceAnswer(da);
    if (table == u"duo")
        return isMultipleChoiceAnswer(da);
    return isTrueFalseAnswer(da);
}

} // namespace

TEST(DeliveredBank, FullPapersHoldTheirCountsAndScoreFromZeroToSixty)
{
    tarnex::test::TestFolder folder;
    const QString out = folder.file(u"bank"_qs);
    const CommandResult build =
        runBank({u"build"_qs, tarnex::test::TestFolder::sourceDir() + u"/data/bank"_qs, out});
    ASSERT_EQ(build.code, 0) << build.err.toStdString();
    EXPECT_TRUE(build.err.isEmpty()) << build.err.toStdString();
    const QStringList findings = checkBank(readBank(out));
    EXPECT_TRUE(findings.isEmpty()) << findings.join(u'\n').toStdString();

    auto db = openQuestionBank(out);
    for (const QString& table : {u"dds"_qs, u"duo"_qs, u"sf"_qs}) {
        Statement statement(*db, QStringLiteral("SELECT kemu, tao, tihao, da FROM %1").arg(table));
        while (statement.step())
            EXPECT_TRUE(keyIsWellFormed(table, statement.value(3).toString()))
                << table.toStdString() << ' ' << statement.value(0).toString().toStdString() << " / "
                << statement.value(1).toString().toStdString() << " #"
                << statement.value(2).toString().toStdString() << ": \""
                << statement.value(3).toString().toStdString() << '"';
    }

    std::map<QString, std::map<QString, int>> fullPaper;
    {
        Statement statement(*db, QStringLiteral("SELECT * FROM paper_counts"));
        while (statement.step()) {
            for (int c = 1; c < statement.columnCount(); ++c)
                fullPaper[statement.value(0).toString()][statement.columnName(c)] =
                    statement.value(c).toInt();
        }
    }

    auto lists = openPaperLists(out);
    int papersSat = 0;
    for (const BankSchema::SubjectPapers& subject : BankSchema::subjects()) {
        const QStringList papers =
            splitListLines(lists->queryText(QStringLiteral("SELECT %1 FROM memo_temp").arg(subject.column)));
        EXPECT_FALSE(papers.isEmpty()) << subject.subject.toStdString();
        const auto counts = fullPaper.find(subject.subject);
        if (counts == fullPaper.end()) {
            ADD_FAILURE() << "no full-paper counts for " << subject.subject.toStdString();
            continue;
        }
        for (const QString& tao : papers) {
            SCOPED_TRACE((subject.subject + u" / "_qs + tao).toStdString());
            for (const QString& table : BankSchema::questionTables()) {
                const int have =
                    db->queryText(
                          QStringLiteral("SELECT count(*) FROM %1 WHERE kemu = ? AND tao = ?").arg(table),
                          {subject.subject, tao})
                        .toInt();
                EXPECT_EQ(have, counts->second.at(table)) << table.toStdString();
            }

            const std::vector<ObjectiveRow> rows = objectiveRows(*db, subject.subject, tao);
            ScoreTally right;
            ScoreTally blank;
            for (const ObjectiveRow& row : rows) {
                right.add(row.tihao, row.da, row.da);
                blank.add(row.tihao, row.da, QString());
            }
            EXPECT_EQ(right.count(), 60);
            EXPECT_TRUE(right.markedQuestions().isEmpty());
            EXPECT_EQ(blank.count(), 0);
            EXPECT_EQ(blank.markedQuestions().size(), 60);

            const bool practical = subject.subject == u"初级会计电算化";
            const HandInFeedback top = composeHandInFeedback(subject.subject, right.count(), {});
            EXPECT_TRUE(top.message.startsWith(u"单选、多选、是非题，答对数：60 题\n\r"_qs));
            EXPECT_TRUE(top.message.endsWith(practical ? u"其它题型 答对数：未统计\n\r"_qs
                                                       : u"\n\r正确率100% 亲 你真的很棒 ^_^ ！"_qs))
                << top.message.toStdString();
            const HandInFeedback bottom = composeHandInFeedback(subject.subject, blank.count(), {});
            EXPECT_TRUE(bottom.message.startsWith(u"单选、多选、是非题，答对数：0 题\n\r"_qs));
            EXPECT_TRUE(bottom.message.endsWith(practical ? u"\n\r亲还得努力！"_qs
                                                          : u"\n\r正确率不足30% 亲 你还得努力！"_qs))
                << bottom.message.toStdString();
            ++papersSat;
        }
    }
    EXPECT_GE(papersSat, 5); // two papers of each of the first two subjects, one of the third
}
