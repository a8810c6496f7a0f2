#include "BuildCommand.h"

#include "BankBuilder.h"
#include "BankChecker.h"
#include "platform/AppError.h"

#include <QDir>

namespace tarnex::bank {

BuildCommand::BuildCommand()
    : Command(QStringLiteral("build"), QStringLiteral("Build kstk.dat and titao.dat from readable sources."),
              {{QStringLiteral("SRC"), QStringLiteral("folder of the sources: every *.txt file under it")},
               {QStringLiteral("OUT"), QStringLiteral("folder that receives kstk.dat and titao.dat")}},
              QStringLiteral("The source format is described in docs/bank-format.md. Both files are built\n"
                             "beside their final place and replace an existing bank only when both are\n"
                             "complete. What check would report is shown as warnings."))
{
}

int BuildCommand::execute(const QStringList& arguments, CommandIo& io)
{
    const QString& source = arguments.at(0);
    const QString& output = arguments.at(1);
    const std::vector<SourceFile> files = readSourceFolder(source);
    if (files.empty())
        throw AppError(QStringLiteral("no *.txt files in %1").arg(QDir::toNativeSeparators(source)));
    const BankTables content = contentFromSources(files);
    writeBank(content, output);

    for (const QString& finding : checkBank(content))
        io.err << "warning: " << finding << '\n';
    io.out << "Built " << QDir::toNativeSeparators(questionBankPath(output)) << " ("
           << content.questionCount() << " questions from " << files.size() << " files) and " << PaperListFile
           << '\n';
    return ExitOk;
}

} // namespace tarnex::bank
