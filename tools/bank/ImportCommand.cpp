#include "ImportCommand.h"

#include "MoodleReader.h"
#include "PaperImporter.h"
#include "SheetReader.h"
#include "TemplateReader.h"
#include "data/BankSchema.h"
#include "platform/AppError.h"
#include "platform/TextUtil.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace tarnex::bank {
namespace {

enum class FileKind
{
    Xlsx,
    Csv,
    Moodle
};

FileKind kindOfFile(const QString& path, const QByteArray& data)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == u"xlsx" || suffix == u"xlsm" || suffix == u"xls")
        return FileKind::Xlsx;
    if (suffix == u"csv" || suffix == u"txt")
        return FileKind::Csv;
    if (suffix == u"xml")
        return FileKind::Moodle;
    if (data.startsWith("PK\x03\x04") || data.startsWith("\xD0\xCF\x11\xE0"))
        return FileKind::Xlsx;
    QByteArray start = data.left(256);
    if (start.startsWith("\xEF\xBB\xBF"))
        start.remove(0, 3);
    return start.trimmed().startsWith('<') ? FileKind::Moodle : FileKind::Csv;
}

QString subjectList()
{
    QStringList names;
    for (const BankSchema::SubjectPapers& entry : BankSchema::subjects())
        names.append(entry.subject);
    return names.join(QStringLiteral(", "));
}

// A subject or paper name as the bank keeps it: trimmed, on one line.
QString checkedName(const QString& what, const QString& value)
{
    const QString name = trimmedText(value);
    if (name.isEmpty())
        throw AppError(QStringLiteral("%1 is empty").arg(what));
    if (std::any_of(name.begin(), name.end(), [](QChar c) { return c.unicode() < 0x20; }))
        throw AppError(QStringLiteral("%1 \"%2\" holds a line break or a control character").arg(what, name));
    return name;
}

QString kindCounts(const ExchangePaper& paper)
{
    QStringList parts;
    for (const QString& kind : BankSchema::questionTables()) {
        const auto count =
            std::count_if(paper.questions.begin(), paper.questions.end(),
                          [&](const ExchangeQuestion& question) { return question.kind == kind; });
        if (count > 0)
            parts.append(QStringLiteral("%1 %2").arg(kindTitle(kind)).arg(count));
    }
    return parts.join(QStringLiteral(", "));
}

} // namespace

ImportCommand::ImportCommand()
    : Command(
          QStringLiteral("import"),
          QStringLiteral("Add the questions of a workbook, a CSV file or a Moodle XML file to a bank."),
          {{QStringLiteral("BANK"), QStringLiteral("folder that holds kstk.dat and titao.dat")},
           {QStringLiteral("FILE"), QStringLiteral("an .xlsx workbook, a .csv file or a Moodle .xml file")}},
          QStringLiteral("A workbook or CSV file holds one paper laid out as the template of\n"
                         "docs/exchange-formats.md (题型, 题号, 题干, 选项, 答案, 解析, ...); --paper names\n"
                         "it. In a Moodle file without --paper each category names the paper of the\n"
                         "questions after it. A file with any error imports nothing: every error is\n"
                         "printed as FILE:ROW: why, and the exit status is 2. The questions are added\n"
                         "in one transaction, and a new paper joins its subject's paper list."))
{
    addOption({QStringLiteral("subject"), QStringLiteral("S"),
               QStringLiteral("the subject (kemu) of the questions, e.g. 会计基础")});
    addOption({QStringLiteral("paper"), QStringLiteral("P"),
               QStringLiteral("the paper (tao) the questions join, e.g. 试题一")});
    addOption({QStringLiteral("renumber"), QString(),
               QStringLiteral("give a question whose number is taken or missing the next free number")});
}

int ImportCommand::execute(const QStringList& arguments, CommandIo& io)
{
    const QString& bank = arguments.at(0);
    const QString& path = arguments.at(1);
    if (!hasOption(QStringLiteral("subject")))
        throw AppError(QStringLiteral("--subject is needed (%1)").arg(subjectList()));
    const QString subject =
        checkedName(QStringLiteral("the subject"), optionValue(QStringLiteral("subject")));
    if (BankSchema::paperListColumnOf(subject).isEmpty())
        throw AppError(
            QStringLiteral("unknown subject \"%1\" (the subjects are %2)").arg(subject, subjectList()));
    const bool fixedPaper = hasOption(QStringLiteral("paper"));
    const QString paper = fixedPaper
                              ? checkedName(QStringLiteral("the paper"), optionValue(QStringLiteral("paper")))
                              : QString();

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw AppError(
            QStringLiteral("cannot read %1: %2").arg(QDir::toNativeSeparators(path), file.errorString()));
    const QByteArray data = file.readAll();
    file.close();

    Diagnostics diagnostics;
    std::vector<ExchangePaper> papers;
    const FileKind kind = kindOfFile(path, data);
    if (kind == FileKind::Moodle) {
        papers = readMoodle(data, paper, diagnostics);
        for (ExchangePaper& each : papers) {
            each.subject = subject;
            try {
                each.name = checkedName(QStringLiteral("the paper"), each.name);
            } catch (const AppError& error) {
                diagnostics.error(0, error.message());
            }
        }
    } else {
        if (!fixedPaper)
            throw AppError(QStringLiteral("--paper is needed for a workbook or CSV file"));
        const Sheet sheet = kind == FileKind::Xlsx ? readXlsx(data, diagnostics) : readCsv(data, diagnostics);
        // A CSV file's rows before a fault are rows all the same, and their errors are worth
        // reporting with it; a workbook that cannot be read has no rows.
        if (kind == FileKind::Csv || !diagnostics.hasErrors())
            papers.push_back({subject, paper, Template::read(sheet, diagnostics)});
    }
    int count = 0;
    for (const ExchangePaper& each : papers)
        count += int(each.questions.size());
    if (count == 0 && !diagnostics.hasErrors())
        diagnostics.error(0, QStringLiteral("no questions in the file"));

    PaperImporter::Result result;
    if (!diagnostics.hasErrors())
        result = PaperImporter::import(bank, papers, hasOption(QStringLiteral("renumber")), diagnostics);

    const QString name = QDir::toNativeSeparators(path);
    for (Diagnostics::Entry note : diagnostics.notes) {
        note.text.prepend(QStringLiteral("note: "));
        io.err << Diagnostics::format(name, {note}).front() << '\n';
    }
    if (diagnostics.hasErrors()) {
        for (const QString& line : Diagnostics::format(name, diagnostics.errors))
            io.err << line << '\n';
        io.err << "Nothing imported: " << diagnostics.errors.size() << " error(s).\n";
        return ExitFailure;
    }
    for (const ExchangePaper& each : papers)
        io.out << "Imported " << each.questions.size() << " questions into " << each.subject << " / "
               << each.name << " (" << kindCounts(each) << ")\n";
    for (const QString& listed : std::as_const(result.listed))
        io.out << "Added " << listed << " to its subject's paper list\n";
    if (!result.unlisted.isEmpty())
        io.err << "warning: " << result.unlisted << "; the new paper is in no list\n";
    return ExitOk;
}

} // namespace tarnex::bank
