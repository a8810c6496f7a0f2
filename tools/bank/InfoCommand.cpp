#include "InfoCommand.h"

#include "BankFiles.h"
#include "data/BankSchema.h"
#include "data/DataSet.h"
#include "data/Database.h"
#include "data/StoredText.h"
#include "platform/AppError.h"

namespace tarnex::bank {
namespace {

QString canonicalColumn(const QString& column)
{
    for (const QString& known : BankSchema::memoColumns()) {
        if (known.compare(column, Qt::CaseInsensitive) == 0)
            return known;
    }
    throw AppError(QStringLiteral("tb_memo has no column \"%1\" (columns: %2)")
                       .arg(column, BankSchema::memoColumns().join(QStringLiteral(", "))));
}

bool isStoredText(const QString& column)
{
    return BankSchema::storedTextMemoColumns().contains(column);
}

QString readable(const DataSet& memo, const QString& column)
{
    const QString value = memo.isEmpty() ? QString() : memo.text(column);
    return isStoredText(column) ? DecodeStoredText(value) : value;
}

QString asLines(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

// Lone LF line breaks become CR LF, the breaks of the program's multi-line editors.
QString withCrLf(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == u'\n' && (i == 0 || text.at(i - 1) != u'\r'))
            out.append(u'\r');
        out.append(text.at(i));
    }
    return out;
}

} // namespace

InfoCommand::InfoCommand()
    : Command(
          QStringLiteral("info"), QStringLiteral("Print or set the information texts of tb_memo."),
          {{QStringLiteral("BANK"), QStringLiteral("folder that holds kstk.dat")},
           {QStringLiteral("COLUMN"), QStringLiteral("one column of tb_memo: print its text alone"), true},
           {QStringLiteral("VALUE"),
            QStringLiteral("the new text of the column; - reads it from standard input"), true}},
          QStringLiteral(
              "Columns: 行一 行二 行三 微博地址 版本说明 咨询辅导 (stored encoded; shown decoded, and\n"
              "line breaks of a new value stored as CR LF), edit1 to edit8 and memo1 (stored as\n"
              "given). A value read from standard input loses one final line break."))
{
}

int InfoCommand::execute(const QStringList& arguments, CommandIo& io)
{
    // Printing changes nothing, not even the journal mode of a bank nobody may write.
    auto bank =
        openQuestionBank(arguments.at(0), arguments.size() > 2 ? Access::ReadWrite : Access::ReadOnly);
    DataSet memo(*bank);
    memo.open(QStringLiteral("select * from tb_memo"));

    if (arguments.size() == 1) {
        for (const QString& column : BankSchema::memoColumns()) {
            const QString text = asLines(readable(memo, column));
            if (!text.contains(u'\n')) {
                io.out << column << ':' << (text.isEmpty() ? QString() : u' ' + text) << '\n';
                continue;
            }
            io.out << column << ":\n";
            for (const QString& line : text.split(u'\n'))
                io.out << (line.isEmpty() ? QString() : QStringLiteral("  ") + line) << '\n';
        }
        return ExitOk;
    }

    const QString column = canonicalColumn(arguments.at(1));
    if (arguments.size() == 2) {
        io.out << asLines(readable(memo, column)) << '\n';
        return ExitOk;
    }

    QString value = arguments.at(2);
    if (value == u"-") {
        if (!io.in)
            throw AppError(QStringLiteral("no standard input to read the value from"));
        value = io.in->readAll();
        if (value.endsWith(u'\n'))
            value.chop(1);
        if (value.endsWith(u'\r'))
            value.chop(1);
    }
    if (isStoredText(column))
        value = EncodeStoredText(withCrLf(value));

    // The program reads the first row of tb_memo; a bank without one gets it.
    if (memo.isEmpty()) {
        memo.append();
    } else {
        memo.first();
        memo.edit();
    }
    memo.setText(column, value);
    memo.post();
    return ExitOk;
}

} // namespace tarnex::bank
