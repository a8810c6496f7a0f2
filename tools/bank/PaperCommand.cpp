#include "PaperCommand.h"

#include "BankFiles.h"
#include "data/BankSchema.h"
#include "data/Database.h"
#include "platform/AppError.h"
#include "platform/TextUtil.h"

namespace tarnex::bank {
namespace {

const QString WithQuestions = QStringLiteral("--with-questions");
const QString WithQuestionsOption = QStringLiteral("with-questions");

struct ListLine
{
    QString text;
    QString lineBreak; // "\r\n", "\n", "\r" or "" for a last line without one
};

QList<ListLine> listLines(const QString& list)
{
    QList<ListLine> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < list.size(); ++i) {
        const QChar c = list.at(i);
        if (c != u'\r' && c != u'\n')
            continue;
        const qsizetype breakLength = (c == u'\r' && i + 1 < list.size() && list.at(i + 1) == u'\n') ? 2 : 1;
        lines.append({list.mid(start, i - start), list.mid(i, breakLength)});
        i += breakLength - 1;
        start = i + 1;
    }
    if (start < list.size())
        lines.append({list.mid(start), QString()});
    return lines;
}

QString subjectColumn(const QString& subject)
{
    const QString column = BankSchema::paperListColumnOf(subject);
    if (column.isEmpty()) {
        QStringList known;
        for (const BankSchema::SubjectPapers& entry : BankSchema::subjects())
            known.append(entry.subject);
        throw AppError(
            QStringLiteral("unknown subject \"%1\" (subjects: %2)").arg(subject, known.join(u", ")));
    }
    return column;
}

// A paper name is one line without blanks around it, as the main window lists it and the
// questions name it.
QString paperName(const QString& typed)
{
    const QString name = trimmedText(typed);
    if (name.isEmpty())
        throw AppError(QStringLiteral("the paper name is empty"));
    for (const QChar c : name) {
        if (c.unicode() < 32)
            throw AppError(QStringLiteral("a paper name is one line of text without control characters"));
    }
    return name;
}

bool hasColumn(Database& db, const QString& table, const QString& column)
{
    Statement statement(db, QStringLiteral("SELECT * FROM \"%1\" LIMIT 0").arg(table));
    for (int c = 0; c < statement.columnCount(); ++c) {
        if (statement.columnName(c).compare(column, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

// The row the program reads: the first of memo_temp.
QString firstRowId(Database& lists)
{
    return lists.queryText(QStringLiteral("SELECT rowid FROM memo_temp ORDER BY rowid LIMIT 1"));
}

int questionCount(Database& bank, const QString& subject, const QString& paper)
{
    int count = 0;
    for (const QString& table : BankSchema::questionTables()) {
        count += bank.queryText(QStringLiteral("SELECT count(*) FROM %1 WHERE kemu=? AND tao=?").arg(table),
                                {subject, paper})
                     .toInt();
    }
    return count;
}

} // namespace

QString withPaperAdded(const QString& list, const QString& name)
{
    if (list.isEmpty())
        return name;
    const QList<ListLine> lines = listLines(list);
    QString lineBreak = QStringLiteral("\r\n");
    for (const ListLine& line : lines) {
        if (!line.lineBreak.isEmpty()) {
            lineBreak = line.lineBreak;
            break;
        }
    }
    if (lines.constLast().lineBreak.isEmpty())
        return list + lineBreak + name;
    return list + name + lineBreak;
}

QString withPaperRemoved(const QString& list, const QString& name)
{
    QList<ListLine> kept;
    for (const ListLine& line : listLines(list)) {
        if (line.text != name)
            kept.append(line);
    }
    // The list ended without a break and its last line went: the new last line ends the same way.
    const bool endedWithoutBreak = !list.isEmpty() && list.back() != u'\r' && list.back() != u'\n';
    if (endedWithoutBreak && !kept.isEmpty())
        kept.last().lineBreak.clear();
    QString result;
    for (const ListLine& line : std::as_const(kept))
        result += line.text + line.lineBreak;
    return result;
}

PaperCommand::PaperCommand()
    : Command(
          QStringLiteral("paper"),
          QStringLiteral("Add a new, empty paper to a subject's list, or remove one."),
          {{QStringLiteral("ACTION"), QStringLiteral("add or remove")},
           {QStringLiteral("BANK"), QStringLiteral("folder that holds kstk.dat and titao.dat")},
           {QStringLiteral("SUBJECT"), QStringLiteral("会计基础, 财经法规与会计职业道德 or 初级会计电算化")},
           {QStringLiteral("NAME"), QStringLiteral("the paper's name, e.g. 试题三")}},
          QStringLiteral("add puts NAME on its own line at the end of the subject's paper list in titao.dat\n"
                         "(memo_temp); a subject whose column is missing gets it. remove takes the line\n"
                         "out, and refuses while the paper still has questions in kstk.dat unless\n"
                         "--with-questions is given, which deletes them first. Every other line and\n"
                         "column stays as it was. Questions are added in the program: tarnex --author."))
{
    addOption({QStringLiteral("with-questions"), QString(),
               QStringLiteral("paper remove: delete the paper's questions too")});
}

int PaperCommand::execute(const QStringList& arguments, CommandIo& io)
{
    const QString& action = arguments.at(0);
    const QString& folder = arguments.at(1);
    const QString subject = trimmedText(arguments.at(2));
    const QString column = subjectColumn(subject);
    const QString name = paperName(arguments.at(3));
    if (action != u"add" && action != u"remove")
        throw AppError(QStringLiteral("unknown action \"%1\": add or remove").arg(action));

    auto lists = openPaperLists(folder);
    if (action == u"add") {
        if (hasOption(WithQuestionsOption))
            throw AppError(QStringLiteral("%1 belongs to paper remove").arg(WithQuestions));
        // The question bank must be there too: a list beside no bank is not a bank folder.
        openQuestionBank(folder);
        Database::Transaction transaction(*lists);
        if (!hasColumn(*lists, QStringLiteral("memo_temp"), column))
            lists->execute(QStringLiteral("ALTER TABLE memo_temp ADD COLUMN \"%1\" TEXT").arg(column));
        if (firstRowId(*lists).isEmpty())
            lists->execute(QStringLiteral("INSERT INTO memo_temp DEFAULT VALUES"));
        const QString row = firstRowId(*lists);
        const QString list =
            lists->queryText(QStringLiteral("SELECT \"%1\" FROM memo_temp WHERE rowid=?").arg(column), {row});
        if (splitListLines(list).contains(name))
            throw AppError(QStringLiteral("%1 already lists the paper %2").arg(subject, name));
        lists->execute(QStringLiteral("UPDATE memo_temp SET \"%1\"=? WHERE rowid=?").arg(column),
                       {withPaperAdded(list, name), row});
        transaction.commit();
        io.out << "added " << name << " to " << subject << '\n';
        return ExitOk;
    }

    const QString row = firstRowId(*lists);
    const QString list =
        row.isEmpty() || !hasColumn(*lists, QStringLiteral("memo_temp"), column)
            ? QString()
            : lists->queryText(QStringLiteral("SELECT \"%1\" FROM memo_temp WHERE rowid=?").arg(column),
                               {row});
    if (!splitListLines(list).contains(name))
        throw AppError(QStringLiteral("%1 lists no paper %2").arg(subject, name));

    // The questions go before the line: a failure in between leaves a listed paper without
    // questions, never questions that no list reaches.
    auto bank = openQuestionBank(folder);
    const int questions = questionCount(*bank, subject, name);
    if (questions > 0 && !hasOption(WithQuestionsOption))
        throw AppError(QStringLiteral("the paper %1 of %2 still has %3 question(s); %4 removes them too")
                           .arg(name, subject)
                           .arg(questions)
                           .arg(WithQuestions));
    if (questions > 0) {
        Database::Transaction transaction(*bank);
        for (const QString& table : BankSchema::questionTables())
            bank->execute(QStringLiteral("DELETE FROM %1 WHERE kemu=? AND tao=?").arg(table),
                          {subject, name});
        transaction.commit();
    }
    lists->execute(QStringLiteral("UPDATE memo_temp SET \"%1\"=? WHERE rowid=?").arg(column),
                   {withPaperRemoved(list, name), row});
    io.out << "removed " << name << " from " << subject;
    if (questions > 0)
        io.out << " with " << questions << " question(s)";
    io.out << '\n';
    return ExitOk;
}

} // namespace tarnex::bank
