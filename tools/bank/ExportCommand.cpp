#include "ExportCommand.h"

#include "BankExporter.h"

#include <QDir>

namespace tarnex::bank {

ExportCommand::ExportCommand()
    : Command(QStringLiteral("export"), QStringLiteral("Write a bank back as readable sources."),
              {{QStringLiteral("BANK"), QStringLiteral("folder that holds kstk.dat and titao.dat")},
               {QStringLiteral("OUT"),
                QStringLiteral("folder for the sources; it must hold no *.txt files yet")}},
              QStringLiteral("Building the exported sources gives the same bank, row for row and byte for\n"
                             "byte. Rich texts that are plain paragraphs are written as plain text, others\n"
                             "as their RTF document."))
{
}

int ExportCommand::execute(const QStringList& arguments, CommandIo& io)
{
    const BankTables bank = readBank(arguments.at(0));
    QStringList warnings;
    const auto files = exportSources(bank, &warnings);
    writeSources(files, arguments.at(1));
    for (const QString& warning : std::as_const(warnings))
        io.err << "warning: " << warning << '\n';
    io.out << "Exported " << bank.questionCount() << " questions into " << files.size() << " files in "
           << QDir::toNativeSeparators(arguments.at(1)) << '\n';
    return ExitOk;
}

} // namespace tarnex::bank
