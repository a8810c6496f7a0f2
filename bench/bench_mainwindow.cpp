// Start-up cost of the main window offline: opening both database files, filling the lists and
// the information lines, building every control and painting the first frame, against a bare
// Qt window with one label shown the same way.
#include "Unit_main.h"

#include "data/BankSchema.h"
#include "data/DataSet.h"
#include "data/Database.h"
#include "data/StoredText.h"
#include "platform/AppPaths.h"
#include "platform/Dialogs.h"
#include "platform/NetworkProbe.h"

#include "WidgetBench.h"

#include <QApplication>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>

#include <benchmark/benchmark.h>

namespace {

void writeBank(const QString& dir)
{
    using namespace tarnex;
    auto bank = Database::open(dir + QStringLiteral("/kstk.dat"), Database::BankPassword,
                               Database::OpenMode::CreateIfMissing);
    BankSchema::createQuestionBank(*bank);
    DataSet memo(*bank);
    memo.open(QStringLiteral("select * from tb_memo"));
    memo.edit();
    memo.setText(QStringLiteral("行一"), EncodeStoredText(QStringLiteral("咨询电话：0531-1234567")));
    memo.setText(QStringLiteral("行二"),
                 EncodeStoredText(QStringLiteral("联系邮箱：service@velquarn.example")));
    memo.setText(QStringLiteral("行三"), EncodeStoredText(QStringLiteral("地址：模拟考试服务中心")));
    memo.setText(QStringLiteral("微博地址"), EncodeStoredText(QStringLiteral("http://weibo.example/kj")));
    memo.setText(QStringLiteral("edit1"), QStringLiteral("会计从业资格考试模拟系统"));
    memo.setText(QStringLiteral("edit2"), QStringLiteral("2013 新题"));
    memo.setText(QStringLiteral("edit3"), QStringLiteral("模拟考试"));
    memo.setText(QStringLiteral("memo1"), QStringLiteral("试题一\r\n试题二\r\n试题三\r\n试题四\r\n试题五"));
    memo.post();

    auto lists = Database::open(dir + QStringLiteral("/titao.dat"), {}, Database::OpenMode::CreateIfMissing);
    BankSchema::createPaperLists(*lists);
    DataSet papers(*lists);
    papers.open(QStringLiteral("select * from memo_temp"));
    papers.edit();
    papers.setText(QStringLiteral("memojc"),
                   QStringLiteral("试题一\r\n试题二\r\n试题三\r\n试题四\r\n试题五"));
    papers.setText(QStringLiteral("memofg"), QStringLiteral("试题一\r\n试题二\r\n试题三"));
    papers.post();
}

void BM_BareWindowWithLabel(benchmark::State& state)
{
    for (auto _ : state) {
        QWidget window;
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(new QLabel(QStringLiteral("会计从业资格考试"), &window));
        window.resize(1003, 667);
        window.setWindowState(Qt::WindowMaximized);
        tarnex::bench::showAndPaint(window);
        benchmark::DoNotOptimize(window.winId());
    }
}
BENCHMARK(BM_BareWindowWithLabel)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_MainWindowOffline(benchmark::State& state)
{
    for (auto _ : state) {
        TForm_main window;
        tarnex::bench::showAndPaint(window);
        benchmark::DoNotOptimize(window.winId());
        if (!tarnex::Dialogs::takeShown().isEmpty())
            state.SkipWithError("start-up showed an error box");
    }
}
BENCHMARK(BM_MainWindowOffline)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The window without its files: every control built and painted, nothing read (the first open
// fails at once). The difference to BM_MainWindowOffline is the data layer's share.
void BM_MainWindowWithoutFiles(benchmark::State& state)
{
    QTemporaryDir empty;
    const QString programDir = tarnex::AppPaths::programDir();
    tarnex::AppPaths::setProgramDirForTesting(empty.path());
    for (auto _ : state) {
        TForm_main window;
        tarnex::bench::showAndPaint(window);
        benchmark::DoNotOptimize(window.winId());
    }
    tarnex::Dialogs::takeShown();
    tarnex::AppPaths::setProgramDirForTesting(programDir);
}
BENCHMARK(BM_MainWindowWithoutFiles)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The share of start-up that belongs to the data layer: the bank's key derivation and both reads.
void BM_OpenBothFiles(benchmark::State& state)
{
    using namespace tarnex;
    for (auto _ : state) {
        auto bank = Database::open(AppPaths::programFile(QStringLiteral("kstk.dat")), Database::BankPassword);
        DataSet memo(*bank);
        memo.open(QStringLiteral("select * from tb_memo"));
        auto lists = Database::open(AppPaths::programFile(QStringLiteral("titao.dat")));
        DataSet papers(*lists);
        papers.open(QStringLiteral("select * from memo_temp"));
        benchmark::DoNotOptimize(memo.text(QStringLiteral("edit1")));
    }
}
BENCHMARK(BM_OpenBothFiles)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

int main(int argc, char** argv)
{
    tarnex::bench::preferOffscreen();
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);

    QTemporaryDir folder;
    if (!folder.isValid())
        return 1;
    writeBank(folder.path());
    tarnex::AppPaths::setProgramDirForTesting(folder.path());
    tarnex::bench::OfflineProbe probe;
    tarnex::NetworkProbe::setInstanceForTesting(&probe);
    tarnex::Dialogs::setTestMode(true);

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    tarnex::NetworkProbe::setInstanceForTesting(nullptr);
    return 0;
}
