#include "MergeCommand.h"

#include "BankMerger.h"
#include "platform/AppPaths.h"

#include <QDir>
#include <QFileInfo>

namespace tarnex::bank {

MergeCommand::MergeCommand()
    : Command(
          QStringLiteral("merge"),
          QStringLiteral("Add the papers and questions a bank lacks from another bank; answers are kept."),
          {{QStringLiteral("BANK"), QStringLiteral("folder of the bank that receives them")},
           {QStringLiteral("FROM"),
            QStringLiteral("folder of the bank they come from; by default the bank delivered with\n"
                           "            the program, in the folder of tarnex-bank"),
            true}},
          QStringLiteral("Nothing of BANK is replaced or removed: its questions, answers, information texts\n"
                         "and journal lines stay as they are. A question is added when its paper in BANK\n"
                         "holds no question of its number; an added question arrives unanswered. The paper\n"
                         "lists receive the names they lack. Running it again adds nothing more.\n\n"
                         "An installed program keeps each user's bank in the user's own folder and never\n"
                         "replaces it; after an upgrade brings new papers, 'tarnex-bank merge --user' adds\n"
                         "them to the current user's bank. The program shows them from its next start."))
{
}

int MergeCommand::execute(const QStringList& arguments, CommandIo& io)
{
    const QString& bank = arguments.at(0);
    const QString from = arguments.size() > 1 ? arguments.at(1) : AppPaths::executableDir();
    if (QFileInfo(bank).canonicalFilePath() == QFileInfo(from).canonicalFilePath() &&
        QFileInfo::exists(bank)) {
        io.out << QDir::toNativeSeparators(bank)
               << " is the bank it would take papers from: nothing to merge.\n";
        return ExitOk;
    }
    const MergeResult result = mergeBank(bank, from);
    if (result.isEmpty()) {
        io.out << QDir::toNativeSeparators(bank) << " already holds every paper and question of "
               << QDir::toNativeSeparators(from) << ".\n";
        return ExitOk;
    }
    io.out << "Added to " << QDir::toNativeSeparators(bank) << ":\n";
    for (const MergeResult::Paper& paper : result.papers) {
        io.out << "  " << paper.kemu << ' ' << paper.tao << ": " << paper.questions
               << (paper.questions == 1 ? " question" : " questions") << (paper.fresh ? " (new paper)" : "")
               << '\n';
    }
    if (result.listEntries > 0)
        io.out << "  " << result.listEntries
               << (result.listEntries == 1 ? " paper-list entry" : " paper-list entries") << '\n';
    for (const QString& column : result.listColumns)
        io.out << "  paper list " << column << '\n';
    io.out << "Every answer in the bank is kept.\n";
    return ExitOk;
}

} // namespace tarnex::bank
