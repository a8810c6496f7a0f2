#include "ListCommand.h"

#include "BankFiles.h"
#include "BankMerger.h"
#include "data/BankSchema.h"
#include "data/Database.h"
#include "data/NaturalOrder.h"
#include "platform/AppError.h"
#include "platform/AppPaths.h"
#include "platform/TextUtil.h"

#include <QFileInfo>

#include <map>

namespace tarnex::bank {
namespace {

struct PaperCounts
{
    QString tao;
    std::map<QString, int> perTable;
    bool listed = false;
};

// The user's own bank beside an installed program is never replaced by a newer package; tell how
// to take the papers the package delivers that the bank lacks.
void noteDeliveredPapers(const QString& folder, CommandIo& io)
{
    const QString bank = QFileInfo(folder).canonicalFilePath();
    if (bank.isEmpty() || bank != QFileInfo(AppPaths::userProgramDir()).canonicalFilePath())
        return;
    const QString delivered = AppPaths::executableDir();
    if (QFileInfo(delivered).canonicalFilePath() == bank || !QFileInfo::exists(questionBankPath(delivered)))
        return;
    MergeResult missing;
    try {
        missing = mergeBank(folder, delivered, false);
    } catch (const AppError& error) {
        io.err << "The installed bank could not be compared with this one: " << error.message() << '\n';
        return;
    }
    if (missing.questionCount() == 0)
        return;
    io.err << "The installed bank has " << missing.freshPaperCount() << " paper(s) and "
           << missing.questionCount()
           << " question(s) that this bank lacks; 'tarnex-bank merge --user' adds them and keeps every "
              "answer.\n";
}

} // namespace

ListCommand::ListCommand()
    : Command(QStringLiteral("list"),
              QStringLiteral("Print the subjects, their papers and the questions of each kind."),
              {{QStringLiteral("BANK"), QStringLiteral("folder that holds kstk.dat and titao.dat")}},
              QStringLiteral("Papers come in the order of the paper lists; papers with questions but in no\n"
                             "list follow, marked as such."))
{
}

int ListCommand::execute(const QStringList& arguments, CommandIo& io)
{
    const QString& folder = arguments.at(0);
    // subject -> papers in the order they are shown
    std::vector<std::pair<QString, std::vector<PaperCounts>>> subjects;
    auto subjectPapers = [&](const QString& kemu) -> std::vector<PaperCounts>& {
        for (auto& [name, papers] : subjects) {
            if (name == kemu)
                return papers;
        }
        subjects.emplace_back(kemu, std::vector<PaperCounts>{});
        return subjects.back().second;
    };
    auto paper = [&](const QString& kemu, const QString& tao) -> PaperCounts& {
        auto& papers = subjectPapers(kemu);
        for (PaperCounts& counts : papers) {
            if (counts.tao == tao)
                return counts;
        }
        papers.push_back(PaperCounts{tao, {}, false});
        return papers.back();
    };

    {
        auto lists = openPaperLists(folder, Access::ReadOnly);
        const TableData table = readTable(*lists, QStringLiteral("memo_temp"));
        // A subject whose column the file lacks is not offered by the program.
        for (const BankSchema::SubjectPapers& entry : BankSchema::subjects()) {
            if (table.columnIndex(entry.column) < 0)
                continue;
            subjectPapers(entry.subject);
            if (table.rows.empty())
                continue;
            for (const QString& name : splitListLines(table.text(0, entry.column)))
                paper(entry.subject, name).listed = true;
        }
    }

    auto bank = openQuestionBank(folder, Access::ReadOnly);
    std::vector<std::pair<QString, QString>> unlisted;
    for (const QString& table : BankSchema::questionTables()) {
        Statement statement(
            *bank, QStringLiteral("SELECT kemu, tao, count(*) FROM %1 GROUP BY kemu, tao").arg(table));
        while (statement.step()) {
            const QString kemu = statement.value(0).toString();
            const QString tao = statement.value(1).toString();
            PaperCounts& counts = paper(kemu, tao);
            counts.perTable[table] = statement.value(2).toInt();
        }
    }

    for (auto& [subject, papers] : subjects) {
        // Listed papers keep the list order; the others follow in the order of their names.
        std::stable_sort(papers.begin(), papers.end(), [](const PaperCounts& a, const PaperCounts& b) {
            if (a.listed != b.listed)
                return a.listed;
            return !a.listed && compareNatural(a.tao, b.tao) < 0;
        });
        io.out << subject << '\n';
        if (papers.empty())
            io.out << "  (no papers)\n";
        for (const PaperCounts& counts : papers) {
            io.out << "  " << counts.tao << ':';
            int total = 0;
            for (const QString& table : BankSchema::questionTables()) {
                const auto it = counts.perTable.find(table);
                const int count = it == counts.perTable.end() ? 0 : it->second;
                total += count;
                io.out << ' ' << table << ' ' << count;
            }
            io.out << " (" << total << " questions)";
            if (!counts.listed)
                io.out << " (in no paper list)";
            io.out << '\n';
        }
    }
    io.out.flush();
    noteDeliveredPapers(folder, io);
    return ExitOk;
}

} // namespace tarnex::bank
