#include "ExportCommand.h"

#include "BankExporter.h"
#include "ExchangeExport.h"
#include "platform/AppError.h"

#include <QDir>

namespace tarnex::bank {

ExportCommand::ExportCommand()
    : Command(QStringLiteral("export"), QStringLiteral("Write a bank back as readable sources."),
              {{QStringLiteral("BANK"), QStringLiteral("folder that holds kstk.dat and titao.dat")},
               {QStringLiteral("OUT"),
                QStringLiteral("folder for the sources; it must hold no *.txt files yet")}},
              QStringLiteral("Building the exported sources gives the same bank, row for row and byte for\n"
                             "byte. Rich texts that are plain paragraphs are written as plain text, others\n"
                             "as their RTF document.\n"
                             "--format xlsx writes a workbook per paper laid out as the import template,\n"
                             "--format moodle a Moodle XML file per subject with a category per paper\n"
                             "(docs/exchange-formats.md); OUT must not hold those files yet."))
{
    addOption({QStringLiteral("format"), QStringLiteral("F"),
               QStringLiteral("sources (the default), xlsx or moodle")});
}

int ExportCommand::execute(const QStringList& arguments, CommandIo& io)
{
    const QString format =
        hasOption(QStringLiteral("format")) ? optionValue(QStringLiteral("format")) : QString();
    if (!format.isEmpty() && format != u"sources")
        return exportExchange(arguments, format, io);
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

int ExportCommand::exportExchange(const QStringList& arguments, const QString& format, CommandIo& io)
{
    if (format != u"xlsx" && format != u"moodle")
        throw AppError(QStringLiteral("unknown format \"%1\" (sources, xlsx or moodle)").arg(format));
    const std::vector<ExchangePaper> papers = papersOfBank(readBank(arguments.at(0)));
    QStringList warnings;
    const QStringList files =
        writeExchangeFiles(papers, arguments.at(1),
                           format == u"xlsx" ? ExchangeFormat::Xlsx : ExchangeFormat::Moodle, &warnings);
    for (const QString& warning : std::as_const(warnings))
        io.err << "warning: " << warning << '\n';
    io.out << "Exported " << papers.size() << " paper(s) into " << files.size() << " file(s) in "
           << QDir::toNativeSeparators(arguments.at(1)) << '\n';
    return ExitOk;
}

} // namespace tarnex::bank
