// The wait a candidate of 初级会计电算化 feels before the exam screen, with a server that answers at
// once (the tests' recording ODBC driver behind the real driver manager), so what is measured is
// the program's own share:
//  - initialization: one account-set initialization, all 30 statements succeeding (folders,
//    seven templates of 40 KB, connection kept open as in a second run, the window drawn at each
//    step);
//  - startToExam/0 and /1: "开始答题" until the exam screen shows the first question, the ID prompt
//    confirmed at once, without and with "初始化账套" ticked.
// Run from the folder to measure (or set TARNEX_BENCH_DIR); the default is the current directory.
#include "Unit5.h"
#include "Unit6.h"
#include "Unit_main.h"
#include "ui_Unit5.h"
#include "ui_Unit6.h"
#include "ui_Unit_main.h"

#include "data/BankSchema.h"
#include "data/Database.h"
#include "platform/AppPaths.h"

#include "WidgetBench.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

using namespace tarnex;
using tarnex::bench::benchFolder;

namespace {

void writeFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        qFatal("cannot write %s", qPrintable(path));
}

// The data source "Velquarn" on the recording driver. The driver manager reads where its
// configuration lives once per process, so one folder serves every benchmark.
QString odbcFolder()
{
    static QTemporaryDir dir(benchFolder() + u"/bench-odbc-XXXXXX"_qs);
    static const bool written = [] {
        const QString odbc = dir.path();
        writeFile(odbc + u"/odbcinst.ini"_qs, "[VelquarnRecorder]\nDriver=" TARNEX_ODBC_RECORDER_PATH "\n");
        writeFile(odbc + u"/odbc.ini"_qs, "[Velquarn]\nDriver=VelquarnRecorder\n");
        qputenv("ODBCSYSINI", QFile::encodeName(odbc));
        qputenv("ODBCINI", QFile::encodeName(odbc + u"/odbc.ini"_qs));
        qputenv("TARNEX_ODBC_RECORDER_DIR", QFile::encodeName(odbc));
        return true;
    }();
    Q_UNUSED(written);
    return dir.path();
}

// A program folder with one paper of 初级会计电算化 (20 questions), the report templates, a Wine
// prefix, and the recording driver's log.
class ProgramFolder
{
public:
    ProgramFolder() : m_dir(benchFolder() + u"/bench-accountsets-XXXXXX"_qs)
    {
        const QDir dir(m_dir.path());
        AppPaths::setProgramDirForTesting(dir.path());
        auto bank = Database::open(dir.filePath(u"kstk.dat"_qs), Database::BankPassword,
                                   Database::OpenMode::CreateIfMissing);
        BankSchema::createQuestionBank(*bank);
        for (int i = 1; i <= 16; ++i)
            bank->execute(
                u"insert into dds (kemu, tao, tihao, tou, da) values ('初级会计电算化', '实务一', ?, "
                "'建立账套', 'a')"_qs,
                {QString::number(i)});
        for (int i = 17; i <= 20; ++i)
            bank->execute(
                u"insert into ws (kemu, tao, tihao, tou) values ('初级会计电算化', '实务一', ?, '填制凭证')"_qs,
                {QString::number(i)});
        auto lists = Database::open(dir.filePath(u"titao.dat"_qs), {}, Database::OpenMode::CreateIfMissing);
        BankSchema::createPaperLists(*lists);
        lists->execute(u"alter table memo_temp add column memodsh TEXT"_qs);
        lists->execute(u"update memo_temp set memodsh='实务一'"_qs);

        dir.mkpath(u"zhangtao/ksdata"_qs);
        dir.mkpath(u"zhangtao/ufdata"_qs);
        for (const char* name : {"固定资产状况表", "货币资金表3", "利润表简表1", "利润表简表4", "资产负债表1",
                                 "资产负债表简表2", "资产负债表简表3"})
            writeFile(dir.filePath(u"zhangtao/ksdata/"_qs + QString::fromUtf8(name) + u".rep"_qs),
                      QByteArray(40 * 1024, 'r'));

        dir.mkpath(u"wine"_qs);
        qputenv("WINEPREFIX", QFile::encodeName(dir.filePath(u"wine"_qs)));
        m_log = odbcFolder() + u"/statements.log"_qs;
        QFile::remove(m_log);
    }
    ~ProgramFolder() { AppPaths::setProgramDirForTesting({}); }

    // Statements the driver was sent since the last call.
    int takeStatements()
    {
        QFile file(m_log);
        const int count = file.open(QIODevice::ReadOnly) ? int(file.readAll().count("exec\t")) : 0;
        file.close();
        file.resize(0);
        return count;
    }

private:
    QTemporaryDir m_dir;
    QString m_log;
};

void initialization(benchmark::State& state)
{
    ProgramFolder folder;
    TForm_main main;
    bench::showAndPaint(main);
    main.accountSetInitialization(); // the connection opens once; later runs keep it
    folder.takeStatements();
    for (auto _ : state) {
        main.accountSetInitialization();
        state.PauseTiming();
        if (folder.takeStatements() != 30 || main.ui->RzProgressBar1->value() != 100) {
            state.SkipWithError("the run did not send the thirty statements");
            break;
        }
        state.ResumeTiming();
    }
}

// Confirms the ID prompt as soon as it is shown. A timer armed before "开始答题" would fire inside
// the initialization, which lets the event loop run at each of its steps.
class ConfirmPrompt : public QObject
{
public:
    ConfirmPrompt() { qApp->installEventFilter(this); }
    ~ConfirmPrompt() override { qApp->removeEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* prompt = dynamic_cast<TForm5*>(watched);
        if (prompt != nullptr && event->type() == QEvent::Show) {
            QTimer::singleShot(0, prompt, [prompt] {
                prompt->ui->RzEdit1->setText(u"370102199001011234"_qs);
                prompt->RzBmpButton4Click();
            });
        }
        return false;
    }
};

void startToExam(benchmark::State& state)
{
    ProgramFolder folder;
    TForm_main main;
    bench::showAndPaint(main);
    main.ui->RzComboBox1->setCurrentIndex(2);
    main.RzComboBox1Change();
    main.ui->CheckBox2->setChecked(state.range(0) != 0);
    ConfirmPrompt confirm;
    for (auto _ : state) {
        main.RzBmpButton3Click();
        QCoreApplication::processEvents();
        state.PauseTiming();
        const bool shown = Form6 != nullptr && Form6->ui->Label10->text() == u"单选题 第1题";
        const int sent = folder.takeStatements();
        delete Form6;
        if (!shown || sent != (state.range(0) != 0 ? 30 : 0)) {
            state.SkipWithError("the first question was not shown or the statements were not sent");
            break;
        }
        main.show();
        state.ResumeTiming();
    }
}

} // namespace

BENCHMARK(initialization)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(startToExam)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(1.0);

int main(int argc, char** argv)
{
    bench::preferOffscreen();
    QApplication app(argc, argv);
    return bench::runOffline(argc, argv);
}
