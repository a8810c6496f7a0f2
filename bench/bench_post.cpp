// How long one answer takes to become durable: edit the question's row, set the answer, post
// (committed and synced), against the floor of one raw write of the row's size plus fsync in
// the same folder. Run from the folder to measure (the default is the current directory, so run
// it on the disk the program lives on, not on a tmpfs).
#include "data/BankSchema.h"
#include "data/DataSet.h"

#include "RawWrite.h"
#include "data/Database.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace tarnex;

namespace {

void postAnswer(benchmark::State& state)
{
    QTemporaryDir dir(bench::benchFolder() + u"/bench-XXXXXX"_qs);
    auto db = Database::open(QDir(dir.path()).filePath(u"kstk.dat"_qs), Database::BankPassword,
                             Database::OpenMode::CreateIfMissing);
    BankSchema::createQuestionBank(*db);
    const QByteArray rtf = bench::rtfOfSize(4000);
    for (int i = 1; i <= 300; ++i) {
        db->execute(
            u"INSERT INTO dds (kemu, tao, tihao, tou, wei, ping, da, xuan) VALUES (?, ?, ?, ?, ?, ?, 'a', '')"_qs,
            {u"会计基础"_qs, u"试题一"_qs, QString::number(i), rtf, rtf.left(600), rtf.left(1200)});
    }
    DataSet paper(*db);
    paper.open(u"select * from dds where kemu=? and tao=? order by tihao"_qs, {u"会计基础"_qs, u"试题一"_qs});
    const QString letters = u"abcd"_qs;
    int n = 0;
    for (auto _ : state) {
        paper.locate(u"tihao"_qs, QString::number(n % 300 + 1));
        paper.edit();
        paper.setText(u"xuan"_qs, QString(letters.at(n % 4)));
        paper.post();
        ++n;
    }
}

} // namespace

// The raw write covers one question row: stem, options and analysis of the typical sizes.
BENCHMARK(bench::rawWriteFsync)->Arg(bench::TypicalRowBytes)->Unit(benchmark::kMicrosecond)->MinTime(2.0);
BENCHMARK(postAnswer)->Unit(benchmark::kMicrosecond)->MinTime(2.0);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
