// The exam screen's hand-in of a 300-question paper, from the confirmed "交卷" to the score
// message composed and shown (message boxes in test mode): the review state entered, the 240
// objective rows of the three queries scored, the wrong ones marked in the index.
//  - handIn/120: half of the objective questions right, a band without rotation;
//  - handIn/0:   none right, so the lowest band rotates and ci.ini is written as well.
// Run from the folder to measure (or set TARNEX_BENCH_DIR); the default is the current directory.
#include "Unit6.h"
#include "Unit_main.h"
#include "ui_Unit6.h"

#include "data/BankSchema.h"
#include "data/DataSet.h"
#include "data/Database.h"
#include "platform/AppPaths.h"
#include "platform/Dialogs.h"
#include "platform/NetworkProbe.h"

#include "WidgetBench.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <benchmark/benchmark.h>

using namespace tarnex;
using tarnex::bench::benchFolder;

namespace {

constexpr int PaperSize = 300;

// A program folder whose paper 试题一 has 300 questions spread over the six kinds as a real
// paper is (40% single choice, 20% multiple choice, 20% true/false, 8% calculation, 8% case, 4%
// practical), with short texts: the hand-in reads no rich text.
class ProgramFolder
{
public:
    ProgramFolder() : m_dir(benchFolder() + u"/bench-handin-XXXXXX"_qs)
    {
        AppPaths::setProgramDirForTesting(m_dir.path());
        auto bank = Database::open(QDir(m_dir.path()).filePath(u"kstk.dat"_qs), Database::BankPassword,
                                   Database::OpenMode::CreateIfMissing);
        BankSchema::createQuestionBank(*bank);
        bank->execute(u"update tb_memo set memo1=?"_qs, {u"试题一"_qs});
        const std::pair<QString, int> shares[] = {{u"dds"_qs, 40}, {u"duo"_qs, 20}, {u"sf"_qs, 20},
                                                  {u"jsfx"_qs, 8}, {u"anli"_qs, 8}, {u"ws"_qs, 4}};
        Database::Transaction transaction(*bank);
        int number = 1;
        for (const auto& [table, percent] : shares) {
            const int count = PaperSize * percent / 100;
            for (int i = 0; i < count; ++i, ++number) {
                const QString tihao = QString::number(number);
                if (table == u"dds" || table == u"duo" || table == u"sf") {
                    bank->execute(QStringLiteral("insert into %1 (kemu, tao, tihao, tou, da) "
                                                 "values ('会计基础', '试题一', ?, '题', 'a')")
                                      .arg(table),
                                  {tihao});
                    m_objective.append({table, tihao});
                } else {
                    bank->execute(QStringLiteral("insert into %1 (kemu, tao, tihao, tou) "
                                                 "values ('会计基础', '试题一', ?, '题')")
                                      .arg(table),
                                  {tihao});
                }
            }
        }
        transaction.commit();
        auto lists = Database::open(QDir(m_dir.path()).filePath(u"titao.dat"_qs), {},
                                    Database::OpenMode::CreateIfMissing);
        BankSchema::createPaperLists(*lists);
    }
    ~ProgramFolder() { AppPaths::setProgramDirForTesting({}); }

    // Gives the first `right` objective questions the correct answer, the others a wrong one.
    void answer(int right) const
    {
        auto bank = Database::open(QDir(m_dir.path()).filePath(u"kstk.dat"_qs), Database::BankPassword);
        Database::Transaction transaction(*bank);
        for (int i = 0; i < m_objective.size(); ++i) {
            const auto& [table, tihao] = m_objective.at(i);
            bank->execute(QStringLiteral("update %1 set xuan=? where tihao=?").arg(table),
                          {i < right ? u"a"_qs : u"b"_qs, tihao});
        }
        transaction.commit();
    }
    int objectiveCount() const { return int(m_objective.size()); }

private:
    QTemporaryDir m_dir;
    // Table and number of every objective question, in paper order.
    QList<std::pair<QString, QString>> m_objective;
};

void handIn(benchmark::State& state)
{
    const int right = int(state.range(0));
    ProgramFolder folder;
    TForm_main main;
    main.showExamScreen(u"370102199001011234"_qs);
    TForm6* exam = Form6;
    // The loading emptied the answers; the candidate's come in now, and the queries read them.
    folder.answer(right);
    for (QuestionKind kind :
         {QuestionKind::SingleChoice, QuestionKind::MultipleChoice, QuestionKind::TrueFalse}) {
        DataSet& set = exam->query(kind);
        set.close();
        set.open(
            QStringLiteral("select * from %1 where kemu=? and tao=? order by tihao").arg(kindTable(kind)),
            {u"会计基础"_qs, u"试题一"_qs});
    }
    const QString expected = QStringLiteral("答对数：%1 题").arg(right);
    // Every question starts the round as answered; the hand-in marks the wrong ones.
    QTreeWidget* tree = exam->ui->RzTreeView1;
    const auto resetRound = [exam, tree] {
        exam->ui->RzBmpButton3->setText(TForm6::handInCaption());
        for (int r = 0; r < tree->topLevelItemCount(); ++r) {
            for (int i = 0; i < tree->topLevelItem(r)->childCount(); ++i)
                TForm6::setNodeImage(tree->topLevelItem(r)->child(i), TForm6::ImageAnswered);
        }
    };
    resetRound();
    Dialogs::takeShown();
    const int firstMark = right > 0 ? TForm6::ImageAnswered : TForm6::ImageWrong;
    for (auto _ : state) {
        exam->RzBmpButton3Click();
        state.PauseTiming();
        const QList<Dialogs::Shown> shown = Dialogs::takeShown();
        if (shown.size() != 2 || !shown.at(1).text.contains(expected)) {
            state.SkipWithError("the score message was not shown");
            break;
        }
        if (TForm6::nodeImage(exam->Node_dan->child(0)) != firstMark ||
            TForm6::nodeImage(exam->node_shi->child(0)) != TForm6::ImageWrong) {
            state.SkipWithError("the marks are wrong");
            break;
        }
        resetRound();
        state.ResumeTiming();
    }
    state.counters["objective"] = folder.objectiveCount();
    delete exam;
}

} // namespace

BENCHMARK(handIn)->Arg(120)->Arg(0)->Unit(benchmark::kMillisecond)->MinTime(1.0);

int main(int argc, char** argv)
{
    bench::preferOffscreen();
    QApplication app(argc, argv);
    return bench::runOffline(argc, argv);
}
