// A bank that grows: "确定" of the ID prompt to the first question of one paper (会计基础 / 试题一,
// the delivered paper of 60 objective questions and three others), the same paper in a bank of 2
// papers and in one of 300, both built by tarnex-bank from copies of the delivered papers
// (data/bank), every copy renamed.
//  - openPaper/2, openPaper/300: the banks as built, with the (kemu, tao) indexes;
//  - openPaperWithoutIndexes/300: the indexes dropped after the program opened the bank, to show
//    what they save (the next start adds them again).
// Run from the folder to measure (or set TARNEX_BENCH_DIR); the default is the current directory.
#include "Unit6.h"
#include "Unit_main.h"
#include "ui_Unit6.h"
#include "ui_Unit_main.h"

#include "Command.h"
#include "data/BankSchema.h"
#include "data/Database.h"
#include "platform/AppPaths.h"

#include "WidgetBench.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <map>

using namespace tarnex;

namespace {

const QString Subject = u"会计基础"_qs;
const QString Paper = u"试题一"_qs;
const QString PaperFile = u"jichu-1.txt"_qs;

QByteArray readAll(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(path));
    return file.readAll();
}

void writeAll(const QString& path, const QByteArray& data)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size())
        qFatal("cannot write %s", qPrintable(path));
}

struct DemoPaper
{
    QString fileName;
    QString subject;
    QByteArray text;
};

// The paper files of the delivered sources, with the subject each names.
std::vector<DemoPaper> demoPapers()
{
    static const QRegularExpression kemu(QStringLiteral("^kemu: (.*)$"), QRegularExpression::MultilineOption);
    std::vector<DemoPaper> papers;
    const QDir dir(QStringLiteral(TARNEX_BANK_SOURCES));
    for (const QString& name : dir.entryList({u"*.txt"_qs}, QDir::Files, QDir::Name)) {
        const QByteArray text = readAll(dir.filePath(name));
        const QRegularExpressionMatch match = kemu.match(QString::fromUtf8(text));
        if (match.hasMatch())
            papers.push_back({name, match.captured(1).trimmed(), text});
    }
    return papers;
}

// A bank of the measured paper and papers - 1 renamed copies of the demo papers, taken in turn.
QString buildBank(const QString& folder, int papers)
{
    static const QRegularExpression tao(QStringLiteral("^tao: .*$"), QRegularExpression::MultilineOption);
    const QString sources = QDir(folder).filePath(u"src"_qs);
    const QString bank = QDir(folder).filePath(u"bank"_qs);
    QDir().mkpath(sources);
    const QDir from(QStringLiteral(TARNEX_BANK_SOURCES));
    writeAll(QDir(sources).filePath(u"memo.txt"_qs), readAll(from.filePath(u"memo.txt"_qs)));

    const std::vector<DemoPaper> demos = demoPapers();
    std::map<QString, QStringList> lists;
    for (const DemoPaper& demo : demos) {
        if (demo.fileName == PaperFile) {
            writeAll(QDir(sources).filePath(demo.fileName), demo.text);
            lists[demo.subject].append(Paper);
        }
    }
    for (int copy = 1; copy < papers; ++copy) {
        const DemoPaper& demo = demos.at(size_t(copy - 1) % demos.size());
        const QString name = QStringLiteral("练习%1").arg(copy, 3, 10, QLatin1Char('0'));
        QString text = QString::fromUtf8(demo.text);
        text.replace(tao, u"tao: "_qs + name);
        writeAll(QDir(sources).filePath(QStringLiteral("copy-%1.txt").arg(copy, 3, 10, QLatin1Char('0'))),
                 text.toUtf8());
        lists[demo.subject].append(name);
    }
    QByteArray papersSource = "[papers]\n";
    for (const auto& [subject, names] : lists) {
        papersSource += BankSchema::paperListColumnOf(subject).toUtf8() + ":\n";
        for (const QString& name : names)
            papersSource += "  " + name.toUtf8() + '\n';
    }
    writeAll(QDir(sources).filePath(u"papers.txt"_qs), papersSource);

    QString out;
    QString err;
    QTextStream outStream(&out);
    QTextStream errStream(&err);
    bank::CommandIo io{outStream, errStream, nullptr};
    if (bank::runCommandLine({u"build"_qs, sources, bank}, io) != bank::ExitOk)
        qFatal("tarnex-bank build failed: %s", qPrintable(err));
    outStream.flush();
    fprintf(stderr, "%s: %d papers, %.1f MB\n", qPrintable(out.trimmed()), papers,
            double(QFileInfo(QDir(bank).filePath(u"kstk.dat"_qs)).size()) / 1e6);
    return bank;
}

void openPaper(benchmark::State& state, const QString& bank, bool withoutIndexes)
{
    AppPaths::setProgramDirForTesting(bank);
    {
        TForm_main main;
        main.show();
        main.ui->kemu->setText(Subject);
        main.ui->RzComboBox2->clear();
        main.ui->RzComboBox2->addItem(Paper);
        main.ui->RzComboBox2->setCurrentIndex(0);
        if (withoutIndexes) {
            for (const QString& table : BankSchema::questionTables())
                main.ADOConnection1().execute(QStringLiteral("DROP INDEX IF EXISTS %1_kemu_tao").arg(table));
        }
        int questions = 0;
        for (auto _ : state) {
            main.showExamScreen(u"370102199001011234"_qs);
            QCoreApplication::processEvents();
            state.PauseTiming();
            if (Form6 == nullptr || Form6->ui->Label10->text() != u"单选题 第1题")
                state.SkipWithError("the first question was not shown");
            else
                questions = int(Form6->tihaolist.size());
            delete Form6;
            main.show();
            state.ResumeTiming();
        }
        state.counters["questions"] = questions;
        state.counters["papers"] = double(state.range(0));
    }
    AppPaths::setProgramDirForTesting({});
}

// On a shared machine the fastest of several repetitions shows the work itself best.
double fastest(const std::vector<double>& times)
{
    return *std::min_element(times.begin(), times.end());
}

} // namespace

int main(int argc, char** argv)
{
    bench::preferOffscreen();
    QApplication app(argc, argv);
    QTemporaryDir folder(bench::benchFolder() + u"/bench-paperbank-XXXXXX"_qs);
    if (!folder.isValid())
        qFatal("cannot make a folder in %s", qPrintable(bench::benchFolder()));
    const QString small = buildBank(QDir(folder.path()).filePath(u"2"_qs), 2);
    const QString large = buildBank(QDir(folder.path()).filePath(u"300"_qs), 300);

    benchmark::RegisterBenchmark("openPaper",
                                 [&](benchmark::State& state) { openPaper(state, small, false); })
        ->Arg(2)
        ->Unit(benchmark::kMillisecond)
        ->ComputeStatistics("min", fastest);
    benchmark::RegisterBenchmark("openPaper",
                                 [&](benchmark::State& state) { openPaper(state, large, false); })
        ->Arg(300)
        ->Unit(benchmark::kMillisecond)
        ->ComputeStatistics("min", fastest);
    benchmark::RegisterBenchmark("openPaperWithoutIndexes",
                                 [&](benchmark::State& state) { openPaper(state, large, true); })
        ->Arg(300)
        ->Unit(benchmark::kMillisecond)
        ->ComputeStatistics("min", fastest);
    return bench::runOffline(argc, argv);
}
