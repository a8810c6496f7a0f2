// An author's three operations on a single-choice question whose stem is stored as 10 KB of RTF,
// each durable when it returns, in a paper of 300 questions:
//  - addQuestion: "添加" from the filled page to the row in the file and the node in the index
//    (deleted again untimed, so the paper keeps its size);
//  - modifyQuestion: "修改" of that question (its number unchanged);
//  - deleteQuestion: "删除" of a question added before the timing resumed;
// against rawWriteFsync, one write of 10 KB plus fsync in the same folder; postRowOnly is the same
// row posted through the data set alone, the bank's own share of an add. The disk's latency
// drifts while others use it, so before each operation one such raw write is timed too, outside
// the measured time: the counters floor_us, op_us and x_floor give the two and their ratio.
// Run from the folder to measure (or set TARNEX_BENCH_DIR); the default is the current directory.
#include "Unit6.h"
#include "Unit_main.h"
#include "ui_Unit6.h"

#include "data/BankSchema.h"
#include "data/DataSet.h"
#include "data/Database.h"
#include "platform/AppPaths.h"
#include "richtext/RtfWriter.h"

#include "RawWrite.h"
#include "WidgetBench.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTreeWidget>

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <chrono>

using namespace tarnex;

namespace {

constexpr int StemBytes = 10 * 1024;

// A program folder whose paper 试题一 holds 300 single-choice questions of typical sizes.
class ProgramFolder
{
public:
    ProgramFolder() : m_dir(bench::benchFolder() + u"/bench-authoring-XXXXXX"_qs)
    {
        AppPaths::setProgramDirForTesting(m_dir.path());
        auto bank = Database::open(QDir(m_dir.path()).filePath(u"kstk.dat"_qs), Database::BankPassword,
                                   Database::OpenMode::CreateIfMissing);
        BankSchema::createQuestionBank(*bank);
        bank->execute(u"update tb_memo set memo1=?"_qs, {u"试题一"_qs});
        const QByteArray stem = bench::rtfOfSize(4000);
        Database::Transaction transaction(*bank);
        for (int i = 1; i <= 300; ++i) {
            bank->execute(u"insert into dds (kemu, tao, tihao, tou, wei, ping, da, xuan) "
                          "values ('会计基础', '试题一', ?, ?, ?, ?, 'a', '')"_qs,
                          {QString::number(i), stem, stem.left(600), stem.left(1200)});
        }
        transaction.commit();
        auto lists = Database::open(QDir(m_dir.path()).filePath(u"titao.dat"_qs), {},
                                    Database::OpenMode::CreateIfMissing);
        BankSchema::createPaperLists(*lists);
    }
    ~ProgramFolder() { AppPaths::setProgramDirForTesting({}); }

private:
    QTemporaryDir m_dir;
};

// A stem whose stored RTF is about StemBytes long: Chinese text takes eight bytes a character.
QString stemOfStoredSize()
{
    QString text;
    QTextDocument document;
    while (writeRtf(document).size() < StemBytes) {
        text += u"企业购入原材料一批，货款已付，材料已验收入库。"_qs;
        document.setPlainText(text);
    }
    return text;
}

// One raw write of StemBytes plus fsync in the benchmark folder, timed on its own.
class RawFloor
{
public:
    RawFloor() : m_dir(bench::benchFolder() + u"/bench-floor-XXXXXX"_qs), m_block(StemBytes, 'x')
    {
        m_fd = ::open(QDir(m_dir.path()).filePath(u"raw.bin"_qs).toLocal8Bit().constData(), O_CREAT | O_RDWR,
                      0600);
    }
    ~RawFloor() { ::close(m_fd); }

    double secondsOfOneWrite() const
    {
        const auto start = std::chrono::steady_clock::now();
        if (::pwrite(m_fd, m_block.constData(), size_t(m_block.size()), 0) != m_block.size() ||
            ::fsync(m_fd) != 0)
            return 0;
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }

private:
    QTemporaryDir m_dir;
    QByteArray m_block;
    int m_fd = -1;
};

// Times the operation and, beside it, the raw floor; reports both and their ratio.
class SideBySide
{
public:
    // Called while the benchmark's timing is paused.
    void timeFloor() { m_floor += m_raw.secondsOfOneWrite(); }

    template <typename Operation> void time(Operation operation)
    {
        const auto start = std::chrono::steady_clock::now();
        operation();
        m_operation += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        ++m_count;
    }

    void report(benchmark::State& state) const
    {
        if (m_count == 0 || m_floor <= 0)
            return;
        state.counters["floor_us"] = m_floor / m_count * 1e6;
        state.counters["op_us"] = m_operation / m_count * 1e6;
        state.counters["x_floor"] = m_operation / m_floor;
    }

private:
    RawFloor m_raw;
    double m_floor = 0;
    double m_operation = 0;
    int m_count = 0;
};

class AuthoringScreen
{
public:
    AuthoringScreen() : m_main(ProgramMode::Author)
    {
        m_main.showExamScreen(u"370102199001011234"_qs);
        exam = Form6;
        stem = stemOfStoredSize();
    }
    ~AuthoringScreen() { delete exam; }

    void fill(const QString& number)
    {
        exam->ui->RzPageControl1->setCurrentIndex(0);
        exam->ui->ed_dan_tou->setPlainText(stem);
        exam->ui->ed_dan_wei->setPlainText(u"A. 银行存款 B. 原材料 C. 应付账款 D. 实收资本"_qs);
        exam->ui->ed_dan_ping->setPlainText(u"原材料增加，银行存款减少。"_qs);
        exam->ui->ed_dan_tihao->setText(number);
        exam->ui->d_b->setChecked(true);
    }

    QTreeWidgetItem* lastSingleChoice() const
    {
        return exam->Node_dan->child(exam->Node_dan->childCount() - 1);
    }

    TForm6* exam = nullptr;
    QString stem;

private:
    ProgramFolder m_folder;
    TForm_main m_main;
};

void addQuestion(benchmark::State& state)
{
    AuthoringScreen screen;
    SideBySide measured;
    int number = 1000;
    bool added = false;
    for (auto _ : state) {
        state.PauseTiming();
        screen.fill(QString::number(++number));
        measured.timeFloor();
        state.ResumeTiming();
        measured.time([&] { screen.exam->Button1Click(); });
        state.PauseTiming();
        added = screen.lastSingleChoice()->text(0) == QString::number(number);
        // The paper keeps its size: the question goes again, untimed.
        screen.exam->Button2Click();
        state.ResumeTiming();
    }
    measured.report(state);
    if (!added)
        state.SkipWithError("the question was not added");
}

void modifyQuestion(benchmark::State& state)
{
    AuthoringScreen screen;
    screen.fill(u"1000"_qs);
    screen.exam->Button1Click();
    SideBySide measured;
    int n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        screen.exam->ui->ed_dan_tou->setPlainText(screen.stem + QString::number(++n));
        (n % 2 ? screen.exam->ui->d_a : screen.exam->ui->d_c)->setChecked(true);
        measured.timeFloor();
        state.ResumeTiming();
        measured.time([&] { screen.exam->Button3Click(); });
    }
    measured.report(state);
    if (screen.exam->ADOQuery_dds().text(u"da"_qs).isEmpty())
        state.SkipWithError("the question was not modified");
}

void deleteQuestion(benchmark::State& state)
{
    AuthoringScreen screen;
    SideBySide measured;
    int number = 1000;
    for (auto _ : state) {
        state.PauseTiming();
        screen.fill(QString::number(++number));
        screen.exam->Button1Click();
        measured.timeFloor();
        state.ResumeTiming();
        measured.time([&] { screen.exam->Button2Click(); });
    }
    measured.report(state);
    if (screen.lastSingleChoice()->text(0) != u"300")
        state.SkipWithError("the question was not deleted");
}

// The bank's own share of an add: the same row appended and posted through the data set alone,
// no window involved (removed again untimed).
void postRowOnly(benchmark::State& state)
{
    AuthoringScreen screen;
    screen.fill(u"1000"_qs);
    QTextDocument stem;
    stem.setPlainText(screen.stem);
    const QByteArray tou = writeRtf(stem);
    const QByteArray wei = writeRtf(*screen.exam->ui->ed_dan_wei->document());
    const QByteArray ping = writeRtf(*screen.exam->ui->ed_dan_ping->document());
    DataSet& set = screen.exam->ADOQuery_dds();
    SideBySide measured;
    for (auto _ : state) {
        state.PauseTiming();
        measured.timeFloor();
        state.ResumeTiming();
        measured.time([&] {
            set.append();
            set.setBytes(u"tou"_qs, tou);
            set.setBytes(u"wei"_qs, wei);
            set.setBytes(u"ping"_qs, ping);
            for (const auto& [column, value] :
                 {std::pair{u"tihao"_qs, u"1000"_qs}, std::pair{u"tao"_qs, u"试题一"_qs},
                  std::pair{u"kemu"_qs, u"会计基础"_qs}, std::pair{u"da"_qs, u"b"_qs},
                  std::pair{u"xuan"_qs, QString()}})
                set.setText(column, value);
            set.post();
        });
        state.PauseTiming();
        set.remove();
        state.ResumeTiming();
    }
    measured.report(state);
}

} // namespace

BENCHMARK(bench::rawWriteFsync)->Arg(StemBytes)->Unit(benchmark::kMicrosecond)->MinTime(1.0);
BENCHMARK(addQuestion)->Unit(benchmark::kMicrosecond)->MinTime(1.0);
BENCHMARK(modifyQuestion)->Unit(benchmark::kMicrosecond)->MinTime(1.0);
BENCHMARK(deleteQuestion)->Unit(benchmark::kMicrosecond)->MinTime(1.0);
BENCHMARK(postRowOnly)->Unit(benchmark::kMicrosecond)->MinTime(1.0);

int main(int argc, char** argv)
{
    bench::preferOffscreen();
    QApplication app(argc, argv);
    return bench::runOffline(argc, argv);
}
