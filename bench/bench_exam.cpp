// The exam screen's two waits a candidate feels:
//  - openPaper/N: from "确定" of the ID prompt to the first question shown, for a paper of N
//    questions (the answers emptied, the index and navigation list built, the screen maximized);
//  - answerClick: one click on a multiple-choice box until the row is durable in the file and the
//    node is marked, against rawWriteFsync, one write of the row's size plus fsync in the same
//    folder.
// Run from the folder to measure (or set TARNEX_BENCH_DIR); the default is the current directory.
#include "Unit6.h"
#include "Unit_main.h"
#include "ui_Unit6.h"
#include "ui_Unit_main.h"

#include "data/BankSchema.h"
#include "data/DataSet.h"
#include "data/Database.h"
#include "platform/AppPaths.h"
#include "platform/Dialogs.h"
#include "platform/NetworkProbe.h"

#include "RawWrite.h"
#include "WidgetBench.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <benchmark/benchmark.h>

using namespace tarnex;
using tarnex::bench::benchFolder;
using tarnex::bench::rtfOfSize;

namespace {

// A program folder whose paper 试题一 has N questions spread over the six kinds as a real paper
// is (40% single choice, 20% multiple choice, 20% true/false, 8% calculation, 8% case, 4%
// practical), every answer column filled as a previous candidate left it.
class ProgramFolder
{
public:
    explicit ProgramFolder(int questions) : m_dir(benchFolder() + u"/bench-exam-XXXXXX"_qs)
    {
        AppPaths::setProgramDirForTesting(m_dir.path());
        auto bank = Database::open(QDir(m_dir.path()).filePath(u"kstk.dat"_qs), Database::BankPassword,
                                   Database::OpenMode::CreateIfMissing);
        BankSchema::createQuestionBank(*bank);
        bank->execute(u"update tb_memo set memo1=?"_qs, {u"试题一"_qs});
        const QString stem = QString::fromLatin1(rtfOfSize(4000));
        const QString options = QString::fromLatin1(rtfOfSize(600));
        const QString analysis = QString::fromLatin1(rtfOfSize(1200));
        const std::pair<QString, int> shares[] = {{u"dds"_qs, 40}, {u"duo"_qs, 20}, {u"sf"_qs, 20},
                                                  {u"jsfx"_qs, 8}, {u"anli"_qs, 8}, {u"ws"_qs, 4}};
        Database::Transaction transaction(*bank);
        int number = 1;
        for (const auto& [table, percent] : shares) {
            const int count = std::max(1, questions * percent / 100);
            for (int i = 0; i < count; ++i, ++number) {
                const QString tihao = QString::number(number);
                if (table == u"dds" || table == u"duo")
                    bank->execute(
                        QStringLiteral("insert into %1 (kemu, tao, tihao, tou, wei, ping, da, xuan) "
                                       "values ('会计基础', '试题一', ?, ?, ?, ?, 'ab', 'ab')")
                            .arg(table),
                        {tihao, stem, options, analysis});
                else if (table == u"sf")
                    bank->execute(u"insert into sf (kemu, tao, tihao, tou, ping, da, xuan) "
                                  "values ('会计基础', '试题一', ?, ?, ?, 'a', 'b')"_qs,
                                  {tihao, stem, analysis});
                else if (table == u"ws")
                    bank->execute(
                        u"insert into ws (kemu, tao, tihao, tou, ping) values ('会计基础', '试题一', ?, ?, ?)"_qs,
                        {tihao, stem, analysis});
                else
                    bank->execute(
                        QStringLiteral("insert into %1 (kemu, tao, tihao, tou, ping, da1, myc1, myt1) "
                                       "values ('会计基础', '试题一', ?, ?, ?, 'a', 'b', '借：现金 1')")
                            .arg(table),
                        {tihao, stem, analysis});
            }
        }
        transaction.commit();
        auto lists = Database::open(QDir(m_dir.path()).filePath(u"titao.dat"_qs), {},
                                    Database::OpenMode::CreateIfMissing);
        BankSchema::createPaperLists(*lists);
    }
    ~ProgramFolder() { AppPaths::setProgramDirForTesting({}); }
    QString path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
};

void openPaper(benchmark::State& state)
{
    const int questions = int(state.range(0));
    ProgramFolder folder(questions);
    TForm_main main;
    main.show();
    for (auto _ : state) {
        main.showExamScreen(u"370102199001011234"_qs);
        QCoreApplication::processEvents();
        state.PauseTiming();
        if (Form6 == nullptr || Form6->ui->Label10->text() != u"单选题 第1题")
            state.SkipWithError("the first question was not shown");
        delete Form6;
        main.show();
        state.ResumeTiming();
    }
    state.SetComplexityN(questions);
    state.counters["questions"] = questions;
}

void answerClick(benchmark::State& state)
{
    ProgramFolder folder(300);
    TForm_main main;
    main.showExamScreen(u"370102199001011234"_qs);
    TForm6* exam = Form6;
    QTreeWidget* tree = exam->ui->RzTreeView1;
    QTreeWidgetItem* question = exam->node_duo->child(0);
    tree->setCurrentItem(question);
    exam->RzTreeView1Click();
    QCheckBox* box = exam->ui->du_b;
    const QPoint inside(6, box->height() / 2);
    for (auto _ : state) {
        TForm6::setNodeImage(question, TForm6::ImageUnanswered);
        QTest::mouseClick(box, Qt::LeftButton, {}, inside);
        if (TForm6::nodeImage(question) != TForm6::ImageAnswered)
            state.SkipWithError("the node was not marked");
    }
    delete exam;
}

} // namespace

BENCHMARK(openPaper)->Arg(60)->Arg(300)->Arg(1500)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
// The raw write covers one question row: stem, options and analysis of the typical sizes.
BENCHMARK(bench::rawWriteFsync)->Arg(bench::TypicalRowBytes)->Unit(benchmark::kMicrosecond)->MinTime(1.0);
BENCHMARK(answerClick)->Unit(benchmark::kMicrosecond)->MinTime(1.0);

int main(int argc, char** argv)
{
    bench::preferOffscreen();
    QApplication app(argc, argv);
    return bench::runOffline(argc, argv);
}
