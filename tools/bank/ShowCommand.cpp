#include "ShowCommand.h"

#include "BankFiles.h"
#include "TextCommand.h"
#include "data/BankSchema.h"
#include "data/DataSet.h"
#include "data/Database.h"
#include "platform/AppError.h"
#include "richtext/RtfReader.h"

namespace tarnex::bank {
namespace {

QString kindName(const QString& table)
{
    static const QHash<QString, QString> names = {
        {u"dds"_qs, u"单选题"_qs},    {u"duo"_qs, u"多选题"_qs},    {u"sf"_qs, u"是非题"_qs},
        {u"jsfx"_qs, u"计算分析"_qs}, {u"anli"_qs, u"案例分析"_qs}, {u"ws"_qs, u"实务操作"_qs},
    };
    return names.value(table);
}

QString withoutBlanks(const QString& text)
{
    QString out;
    for (const QChar c : text) {
        if (c.unicode() > 32)
            out.append(c);
    }
    return out;
}

QString correctAnswer(const DataSet& row, const QString& table)
{
    if (table == u"dds" || table == u"duo")
        return withoutBlanks(row.text(QStringLiteral("da"))).toUpper();
    if (table == u"sf") {
        const QString da = withoutBlanks(row.text(QStringLiteral("da")));
        return da == u"a" ? QStringLiteral("正确 (a)") : QStringLiteral("错误 (%1)").arg(da);
    }
    if (table == u"anli" || (table == u"jsfx" && row.text(QStringLiteral("leixing")) == u"选择型")) {
        QStringList parts;
        for (int i = 1; i <= 5; ++i)
            parts.append(withoutBlanks(row.text(QStringLiteral("da%1").arg(i))).toUpper());
        return parts.join(u'\\');
    }
    if (table == u"jsfx")
        return QStringLiteral("(written answer)");
    return QStringLiteral("(none)");
}

void printBlock(QTextStream& out, const QString& title, const QVariant& stored)
{
    out << title << ":\n";
    // A value another tool stored as TEXT is text already, not bytes in the ANSI code page.
    QString text = stored.typeId() == QMetaType::QString ? storedTextToPlainText(stored.toString())
                                                         : rtfToPlainText(stored.toByteArray());
    while (text.endsWith(u'\n'))
        text.chop(1);
    for (const QString& line : text.split(u'\n'))
        out << (line.isEmpty() ? QString() : QStringLiteral("  ") + line) << '\n';
}

} // namespace

ShowCommand::ShowCommand()
    : Command(QStringLiteral("show"), QStringLiteral("Print one question as plain text."),
              {{QStringLiteral("BANK"), QStringLiteral("folder that holds kstk.dat and titao.dat")},
               {QStringLiteral("SUBJECT"), QStringLiteral("the subject (kemu), e.g. 会计基础")},
               {QStringLiteral("PAPER"), QStringLiteral("the paper (tao), e.g. 试题一")},
               {QStringLiteral("NUMBER"), QStringLiteral("the question number (tihao)")}},
              QStringLiteral("Prints the kind, number, stem, options, correct answer and analysis."))
{
}

bool ShowCommand::needsGui() const
{
    return TextCommand::plainTextNeedsGui();
}

int ShowCommand::execute(const QStringList& arguments, CommandIo& io)
{
    const QString& subject = arguments.at(1);
    const QString& paper = arguments.at(2);
    const QString& number = arguments.at(3);
    auto bank = openQuestionBank(arguments.at(0), Access::ReadOnly);
    int found = 0;
    for (const QString& table : BankSchema::questionTables()) {
        DataSet row(*bank);
        row.open(QStringLiteral("select * from %1 where kemu = ? and tao = ? and tihao = ? order by tihao")
                     .arg(table),
                 {subject, paper, number});
        for (row.first(); !row.eof(); row.next()) {
            if (found++ > 0)
                io.out << '\n';
            io.out << kindName(table) << " 第" << row.text(QStringLiteral("tihao")) << "题 (" << table << ", "
                   << subject << " / " << paper << ")\n";
            if (table == u"jsfx")
                io.out << "Type: " << row.text(QStringLiteral("leixing")) << '\n';
            printBlock(io.out, QStringLiteral("Stem"), row.value(QStringLiteral("tou")));
            if (row.hasColumn(QStringLiteral("wei")))
                printBlock(io.out, QStringLiteral("Options"), row.value(QStringLiteral("wei")));
            io.out << "Correct answer: " << correctAnswer(row, table) << '\n';
            printBlock(io.out, QStringLiteral("Analysis"), row.value(QStringLiteral("ping")));
        }
    }
    if (found == 0)
        throw AppError(QStringLiteral("no question %1 in %2 / %3").arg(number, subject, paper));
    if (found > 1)
        io.err << "warning: number " << number << " is used by " << found << " questions of this paper\n";
    return ExitOk;
}

} // namespace tarnex::bank
