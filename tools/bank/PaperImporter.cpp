#include "PaperImporter.h"

#include "BankFiles.h"
#include "data/BankSchema.h"
#include "data/Database.h"
#include "platform/AppError.h"
#include "platform/TextUtil.h"

#include <QHash>

#include <algorithm>

namespace tarnex::bank::PaperImporter {
namespace {

QString numberKey(const QString& number)
{
    return trimmedText(number).toCaseFolded();
}

QString textOf(const QVariant& value)
{
    return value.typeId() == QMetaType::QByteArray ? QString::fromUtf8(value.toByteArray())
                                                   : value.toString();
}

QStringList existingNumbers(Database& bank, const ExchangePaper& paper)
{
    QStringList numbers;
    for (const QString& table : BankSchema::questionTables()) {
        Statement statement(bank,
                            QStringLiteral("SELECT tihao FROM \"%1\" WHERE kemu = ? AND tao = ?").arg(table),
                            {paper.subject, paper.name});
        while (statement.step())
            numbers.append(textOf(statement.value(0)));
    }
    return numbers;
}

QString placeOf(const ExchangeQuestion& question)
{
    return (question.name.isEmpty() ? QStringLiteral("row %1") : QStringLiteral("line %1")).arg(question.row);
}

QVariant storedValue(const QByteArray& rich)
{
    // The build stores rich text as a blob and an empty value as the empty string.
    return rich.isEmpty() ? QVariant(QStringLiteral("")) : QVariant(rich);
}

QVariantList rowOf(const ExchangePaper& paper, const ExchangeQuestion& question, const QStringList& columns)
{
    QVariantList row;
    for (const QString& column : columns) {
        if (column == u"kemu")
            row.append(paper.subject);
        else if (column == u"tao")
            row.append(paper.name);
        else if (column == u"tihao")
            row.append(question.number);
        else if (column == u"tou")
            row.append(storedValue(question.tou));
        else if (column == u"wei")
            row.append(storedValue(question.wei));
        else if (column == u"ping")
            row.append(storedValue(question.ping));
        else if (column == u"da")
            row.append(question.da);
        else if (column == u"leixing")
            row.append(question.leixing);
        else if (column.size() == 3 && column.startsWith(u"da") && column.at(2) >= u'1' &&
                 column.at(2) <= u'5')
            row.append(question.subAnswers[size_t(column.at(2).unicode() - u'1')]);
        else
            row.append(QStringLiteral(""));
    }
    return row;
}

void insertQuestion(Database& bank, const ExchangePaper& paper, const ExchangeQuestion& question)
{
    const QStringList& columns = BankSchema::questionColumns(question.kind);
    QStringList names;
    QStringList marks;
    for (const QString& column : columns) {
        names.append(u'"' + column + u'"');
        marks.append(QStringLiteral("?"));
    }
    bank.execute(QStringLiteral("INSERT INTO \"%1\" (%2) VALUES (%3)")
                     .arg(question.kind, names.join(QStringLiteral(", ")), marks.join(QStringLiteral(", "))),
                 rowOf(paper, question, columns));
}

} // namespace

void assignNumbers(ExchangePaper& paper, const QStringList& existing, bool renumber, Diagnostics& diagnostics)
{
    QHash<QString, const ExchangeQuestion*> used; // nullptr: a question already in the bank
    for (const QString& number : existing)
        used.insert(numberKey(number), nullptr);
    std::vector<ExchangeQuestion*> pending;
    for (ExchangeQuestion& question : paper.questions) {
        question.number = trimmedText(question.number);
        if (question.number.isEmpty()) {
            if (renumber)
                pending.push_back(&question);
            else
                diagnostics.error(question.row,
                                  questionPrefix(question) +
                                      QStringLiteral("the question has no number (题号); give one or "
                                                     "import with --renumber"));
            continue;
        }
        const QString key = numberKey(question.number);
        const auto it = used.constFind(key);
        if (it == used.constEnd()) {
            used.insert(key, &question);
            continue;
        }
        if (renumber) {
            pending.push_back(&question);
            continue;
        }
        const QString where = *it ? QStringLiteral("by the question at %1 of this file").arg(placeOf(**it))
                                  : QStringLiteral("in %1 / %2").arg(paper.subject, paper.name);
        diagnostics.error(question.row,
                          questionPrefix(question) +
                              QStringLiteral("number %1 is already used %2; give another or import "
                                             "with --renumber")
                                  .arg(question.number, where));
    }
    if (pending.empty())
        return;
    qint64 next = 0;
    for (auto it = used.constBegin(); it != used.constEnd(); ++it) {
        bool whole = it.key().size() <= 12;
        const qint64 value = whole ? it.key().toLongLong(&whole) : 0;
        if (whole && std::all_of(it.key().begin(), it.key().end(), [](QChar c) { return c.isDigit(); }))
            next = std::max(next, value);
    }
    for (ExchangeQuestion* question : pending) {
        do
            ++next;
        while (used.contains(QString::number(next)));
        const QString given = QString::number(next);
        diagnostics.note(
            question->row,
            questionPrefix(*question) +
                (question->number.isEmpty()
                     ? QStringLiteral("numbered %1").arg(given)
                     : QStringLiteral("number %1 is taken; imported as %2").arg(question->number, given)));
        question->number = given;
        used.insert(given, question);
    }
}

QString listWithPaper(const QString& list, const QString& paper)
{
    if (splitListLines(list).contains(paper))
        return list;
    if (list.isEmpty() || list.endsWith(u'\n') || list.endsWith(u'\r'))
        return list + paper;
    return list + QStringLiteral("\r\n") + paper;
}

Result import(const QString& folder, std::vector<ExchangePaper>& papers, bool renumber,
              Diagnostics& diagnostics)
{
    auto bank = openQuestionBank(folder);
    for (ExchangePaper& paper : papers)
        assignNumbers(paper, existingNumbers(*bank, paper), renumber, diagnostics);
    Result result;
    if (diagnostics.hasErrors())
        return result;

    // The program lists a subject's papers from the first row of memo_temp.
    auto lists = openPaperLists(folder);
    QStringList columns;
    QVariantList values;
    qint64 rowid = -1;
    {
        Statement statement(*lists, QStringLiteral("SELECT rowid, * FROM memo_temp ORDER BY rowid LIMIT 1"));
        for (int c = 1; c < statement.columnCount(); ++c)
            columns.append(statement.columnName(c));
        if (statement.step()) {
            rowid = statement.value(0).toLongLong();
            for (int c = 1; c < statement.columnCount(); ++c)
                values.append(textOf(statement.value(c)));
        }
    }
    if (rowid < 0)
        values = QVariantList(columns.size(), QVariant(QStringLiteral("")));
    QStringList changed;
    for (const ExchangePaper& paper : papers) {
        const QString column = BankSchema::paperListColumnOf(paper.subject);
        const int index = int(columns.indexOf(column));
        if (column.isEmpty() || index < 0) {
            result.unlisted = QStringLiteral("titao.dat has no paper list for %1").arg(paper.subject);
            continue;
        }
        const QString before = values.at(index).toString();
        const QString after = listWithPaper(before, paper.name);
        if (after == before)
            continue;
        values[index] = after;
        if (!changed.contains(column))
            changed.append(column);
        result.listed.append(paper.subject + QStringLiteral(" / ") + paper.name);
    }

    Database::Transaction listTransaction(*lists);
    if (!changed.isEmpty()) {
        if (rowid < 0) {
            QStringList names;
            QStringList marks;
            for (const QString& column : std::as_const(columns)) {
                names.append(u'"' + column + u'"');
                marks.append(QStringLiteral("?"));
            }
            lists->execute(QStringLiteral("INSERT INTO memo_temp (%1) VALUES (%2)")
                               .arg(names.join(QStringLiteral(", ")), marks.join(QStringLiteral(", "))),
                           values);
        } else {
            for (const QString& column : std::as_const(changed))
                lists->execute(QStringLiteral("UPDATE memo_temp SET \"%1\" = ? WHERE rowid = ?").arg(column),
                               {values.at(columns.indexOf(column)), rowid});
        }
    }
    Database::Transaction bankTransaction(*bank);
    for (const ExchangePaper& paper : papers) {
        for (const ExchangeQuestion& question : paper.questions) {
            insertQuestion(*bank, paper, question);
            ++result.questions;
        }
    }
    listTransaction.commit();
    bankTransaction.commit();
    return result;
}

} // namespace tarnex::bank::PaperImporter
