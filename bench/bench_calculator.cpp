// Opening the journal-entry calculator: the subject tree loaded from the delivered chart of
// accounts, dtxx emptied of the lines of an earlier opening and reopened, the window shown and
// its first frame painted; then closed and destroyed. Against a bare dialog shown the same way.
#include "Unit7.h"
#include "ui_Unit7.h"

#include "data/BankSchema.h"
#include "data/DataSet.h"
#include "data/Database.h"
#include "platform/AppPaths.h"
#include "platform/Dialogs.h"

#include "WidgetBench.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>

#include <benchmark/benchmark.h>

namespace {

tarnex::Database* bank = nullptr;

// The lines a candidate left in dtxx at the previous opening.
void leaveLines(int count)
{
    tarnex::Database::Transaction transaction(*bank);
    for (int i = 0; i < count; ++i)
        bank->execute(QStringLiteral("insert into dtxx (combobox, edit2, edit3, ntemp) values (?, ?, ?, ?)"),
                      {QStringLiteral("借"), QStringLiteral("库存现金"), QString::number(i),
                       QStringLiteral("借，库存现金,") + QString::number(i)});
    transaction.commit();
}

void BM_BareDialog(benchmark::State& state)
{
    for (auto _ : state) {
        QDialog dialog;
        auto* layout = new QVBoxLayout(&dialog);
        layout->addWidget(new QLabel(QStringLiteral("会计分录计算"), &dialog));
        dialog.setFixedSize(593, 329);
        tarnex::bench::showAndPaint(dialog);
        dialog.close();
    }
}
BENCHMARK(BM_BareDialog)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_CalculatorOpenToShown(benchmark::State& state)
{
    QPlainTextEdit memo;
    for (auto _ : state) {
        state.PauseTiming();
        leaveLines(5);
        state.ResumeTiming();
        TForm7 calculator(*bank, &memo, 1);
        tarnex::bench::showAndPaint(calculator);
        if (calculator.ADOQuery_dds().recordCount() != 0 ||
            calculator.ui->RzTreeView1->topLevelItemCount() != 6)
            state.SkipWithError("calculator did not open on the full chart with an empty list");
        calculator.close();
    }
    if (!tarnex::Dialogs::takeShown().isEmpty())
        state.SkipWithError("opening showed a message");
}
BENCHMARK(BM_CalculatorOpenToShown)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

int main(int argc, char** argv)
{
    tarnex::bench::preferOffscreen();
    QApplication app(argc, argv);

    QTemporaryDir folder;
    if (!folder.isValid())
        return 1;
    if (!QFile::copy(QStringLiteral(TARNEX_KJKM_SOURCE), folder.filePath(QStringLiteral("kjkm.dat"))))
        qFatal("cannot copy the chart of accounts %s", TARNEX_KJKM_SOURCE);
    auto database =
        tarnex::Database::open(folder.filePath(QStringLiteral("kstk.dat")), tarnex::Database::BankPassword,
                               tarnex::Database::OpenMode::CreateIfMissing);
    tarnex::BankSchema::createQuestionBank(*database);
    bank = database.get();
    tarnex::AppPaths::setProgramDirForTesting(folder.path());
    tarnex::Dialogs::setTestMode(true);

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    bank = nullptr;
    return 0;
}
