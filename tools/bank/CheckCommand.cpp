#include "CheckCommand.h"

#include "BankChecker.h"
#include "BankFiles.h"

namespace tarnex::bank {

CheckCommand::CheckCommand()
    : Command(QStringLiteral("check"), QStringLiteral("Report the faults of a bank."),
              {{QStringLiteral("BANK"), QStringLiteral("folder that holds kstk.dat and titao.dat")}},
              QStringLiteral("Finds question numbers used twice within a paper (across all six kinds),\n"
                             "correct answers out of their format, paper-list entries without questions,\n"
                             "questions whose paper is in no list, and papers that hold another number\n"
                             "of questions of a kind than a full paper of their subject ([counts]).\n"
                             "Exit status: 0 no errors, 1 errors found, 2 the bank could not be read."))
{
}

int CheckCommand::execute(const QStringList& arguments, CommandIo& io)
{
    const BankTables bank = readBank(arguments.at(0));
    const QStringList findings = checkBank(bank);
    for (const QString& finding : findings)
        io.out << "error: " << finding << '\n';
    if (findings.isEmpty()) {
        io.out << "No errors in " << bank.questionCount() << " questions.\n";
        return ExitOk;
    }
    io.out << findings.size() << " error(s) in " << bank.questionCount() << " questions.\n";
    return ExitFindings;
}

} // namespace tarnex::bank
