// Hand-in in the rules layer for a paper of 300 objective questions: scoring every row, listing
// the marked ones and composing the message with its phrase, once from rows in memory and once
// walking the open snapshots of dds, duo and sf the way the exam screen's queries hold them.
#include "data/BankSchema.h"
#include "data/DataSet.h"
#include "data/Database.h"
#include "exam/Feedback.h"
#include "exam/Scoring.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <vector>

namespace {

constexpr int PaperSize = 300;

struct Row
{
    QString tihao;
    QString da;
    QString xuan;
};

// A third of the answers right, a third wrong, a third missing.
std::vector<Row> paperRows()
{
    const QString letters[] = {QStringLiteral("a"), QStringLiteral("bd"), QStringLiteral("abc")};
    std::vector<Row> rows;
    for (int i = 0; i < PaperSize; ++i) {
        const QString da = letters[i % 3];
        const QString xuan = i % 3 == 0 ? da : (i % 3 == 1 ? QStringLiteral("c") : QString());
        rows.push_back({QString::number(i + 1), da, xuan});
    }
    return rows;
}

void BM_HandInRulesFromMemory(benchmark::State& state)
{
    const std::vector<Row> rows = paperRows();
    for (auto _ : state) {
        tarnex::ScoreTally tally;
        for (const Row& row : rows)
            tally.add(row.tihao, row.da, row.xuan);
        const tarnex::HandInFeedback feedback =
            tarnex::composeHandInFeedback(QStringLiteral("会计基础"), tally.count(), {});
        benchmark::DoNotOptimize(feedback.message.size());
        benchmark::DoNotOptimize(tally.markedQuestions().size());
    }
}
BENCHMARK(BM_HandInRulesFromMemory)->Unit(benchmark::kMicrosecond);

void BM_HandInRulesFromOpenQueries(benchmark::State& state)
{
    QTemporaryDir folder;
    auto bank =
        tarnex::Database::open(folder.filePath(QStringLiteral("kstk.dat")), tarnex::Database::BankPassword,
                               tarnex::Database::OpenMode::CreateIfMissing);
    tarnex::BankSchema::createQuestionBank(*bank);
    const QStringList tables{QStringLiteral("dds"), QStringLiteral("duo"), QStringLiteral("sf")};
    const std::vector<Row> rows = paperRows();
    {
        tarnex::Database::Transaction transaction(*bank);
        for (size_t i = 0; i < rows.size(); ++i) {
            bank->execute(QStringLiteral("insert into %1 (kemu, tao, tihao, da, xuan) values (?, ?, ?, ?, ?)")
                              .arg(tables.at(qsizetype(i % 3))),
                          {QStringLiteral("会计基础"), QStringLiteral("试题一"), rows[i].tihao, rows[i].da,
                           rows[i].xuan});
        }
        transaction.commit();
    }
    std::vector<std::unique_ptr<tarnex::DataSet>> queries;
    for (const QString& table : tables) {
        queries.push_back(std::make_unique<tarnex::DataSet>(*bank));
        queries.back()->open(
            QStringLiteral("select * from %1 where kemu=? and tao=? order by tihao").arg(table),
            {QStringLiteral("会计基础"), QStringLiteral("试题一")});
    }

    for (auto _ : state) {
        tarnex::ScoreTally tally;
        for (const auto& query : queries) {
            for (query->first(); !query->eof(); query->next())
                tally.add(query->text(QStringLiteral("tihao")), query->text(QStringLiteral("da")),
                          query->text(QStringLiteral("xuan")));
        }
        const tarnex::HandInFeedback feedback =
            tarnex::composeHandInFeedback(QStringLiteral("会计基础"), tally.count(), {});
        if (tally.count() != PaperSize / 3)
            state.SkipWithError("wrong count");
        benchmark::DoNotOptimize(feedback.message.size());
    }
}
BENCHMARK(BM_HandInRulesFromOpenQueries)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
