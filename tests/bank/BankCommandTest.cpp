#include "BankBuilder.h"
#include "BankFiles.h"
#include "BankTestSupport.h"
#include "Command.h"
#include "PaperCommand.h"
#include "data/Database.h"
#include "data/StoredText.h"
#include "support/TestFolder.h"

#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

using namespace tarnex;
using namespace tarnex::bank;
using namespace tarnex::bank::test;

namespace {

const QByteArray Password(Database::BankPassword);

// A small bank in the test folder's "bank" subfolder, with a paper whose name holds a quote.
QString buildSmallBank(const tarnex::test::TestFolder& folder)
{
    writeFile(folder.file(u"src/memo.txt"_qs),
              "[memo]\n行一: 欢迎\n版本说明:\n  第一行\n  第二行\nedit1: 标题\n");
    writeFile(folder.file(u"src/papers.txt"_qs), "[papers]\nmemojc:\n  试题一\n  试题'三\nmemofg: 试题一\n");
    writeFile(folder.file(u"src/q.txt"_qs),
              "[paper]\nkemu: 会计基础\ntao: 试题'三\n"
              "[dds 1]\ntou: 下列属于资产的是（ ）。\nwei:\n  A. 银行存款\n  B. 短期借款\n"
              "da: a\nping:\n  银行存款是资产。\n\n  短期借款是负债。\n"
              "[sf 2]\ntou: 判断\nda: b\n"
              "[jsfx 3]\ntou: 计算\nleixing: 选择型\nda1: a\nda2: bc\nda3: d\nda4: ab\nda5: c\n"
              "[jsfx 4]\ntou: 写分录\nleixing: 答题型\n"
              "[paper]\nkemu: 会计基础\ntao: 试题一\n[dds 1]\ntou: 另一题\nda: b\n"
              "[duo 2]\nda: ab\n[ws 3]\n"
              "[paper]\nkemu: 财经法规与会计职业道德\ntao: 试题一\n[anli 1]\n"
              "da1: a\nda2: b\nda3: c\nda4: d\nda5: abcd\n"
              "[paper]\nkemu: 会计基础\ntao: 试题九\n[ws 1]\n");
    const QString bank = folder.file(u"bank"_qs);
    const CommandResult result = runBank({u"build"_qs, folder.file(u"src"_qs), bank});
    EXPECT_EQ(result.code, 0) << result.err.toStdString();
    return bank;
}

CommandResult runProgramProcess(const QStringList& arguments, const QByteArray& input = {},
                                bool withoutPlatform = false)
{
    QProcess process;
    if (withoutPlatform) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(u"QT_QPA_PLATFORM"_qs);
        environment.remove(u"DISPLAY"_qs);
        environment.remove(u"WAYLAND_DISPLAY"_qs);
        process.setProcessEnvironment(environment);
    }
    process.start(QString::fromUtf8(TARNEX_BANK_EXECUTABLE), arguments);
    process.write(input);
    process.closeWriteChannel();
    CommandResult result;
    if (!process.waitForFinished(60000))
        return result;
    result.code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

} // namespace

TEST(BankCommands, InfoPrintsSetsAndReadsBack)
{
    tarnex::test::TestFolder folder;
    const QString bank = buildSmallBank(folder);
    const QString kstk = questionBankPath(bank);

    CommandResult result = runBank({u"info"_qs, bank});
    ASSERT_EQ(result.code, 0) << result.err.toStdString();
    EXPECT_TRUE(result.out.startsWith(
        u"行一: 欢迎\n行二:\n行三:\n微博地址:\n版本说明:\n  第一行\n  第二行\n咨询辅导:\nedit1: 标题\n"_qs))
        << result.out.toStdString();

    result = runBank({u"info"_qs, bank, u"版本说明"_qs});
    EXPECT_EQ(result.code, 0);
    EXPECT_EQ(result.out, u"第一行\n第二行\n"_qs);

    // A stored-text column is encoded, its line breaks CR LF; it reads back decoded.
    result = runBank({u"info"_qs, bank, u"咨询辅导"_qs, u"电话：123\n时间：周一"_qs});
    ASSERT_EQ(result.code, 0) << result.err.toStdString();
    EXPECT_TRUE(result.out.isEmpty());
    EXPECT_EQ(firstValue(kstk, Password, u"tb_memo"_qs, u"咨询辅导"_qs),
              EncodeStoredText(u"电话：123\r\n时间：周一"_qs));
    EXPECT_EQ(runBank({u"info"_qs, bank, u"咨询辅导"_qs}).out, u"电话：123\n时间：周一\n"_qs);

    // A plain column is stored as given; the column name ignores case.
    ASSERT_EQ(runBank({u"info"_qs, bank, u"EDIT4"_qs, u"诚信 考试"_qs}).code, 0);
    EXPECT_EQ(firstValue(kstk, Password, u"tb_memo"_qs, u"edit4"_qs), u"诚信 考试"_qs);

    // From standard input, without its final line break.
    ASSERT_EQ(runBank({u"info"_qs, bank, u"微博地址"_qs, u"-"_qs}, u"http://example.com/\n"_qs).code, 0);
    EXPECT_EQ(firstValue(kstk, Password, u"tb_memo"_qs, u"微博地址"_qs),
              EncodeStoredText(u"http://example.com/"_qs));

    // After "--" a value may start with dashes.
    ASSERT_EQ(runBank({u"info"_qs, bank, u"edit5"_qs, u"--"_qs, u"--help"_qs}).code, 0);
    EXPECT_EQ(firstValue(kstk, Password, u"tb_memo"_qs, u"edit5"_qs), u"--help"_qs);

    // Setting an empty text empties the column.
    ASSERT_EQ(runBank({u"info"_qs, bank, u"行一"_qs, QString()}).code, 0);
    EXPECT_EQ(firstValue(kstk, Password, u"tb_memo"_qs, u"行一"_qs), u""_qs);

    result = runBank({u"info"_qs, bank, u"行四"_qs});
    EXPECT_EQ(result.code, 2);
    EXPECT_TRUE(result.err.contains(u"tb_memo has no column \"行四\""_qs)) << result.err.toStdString();
    EXPECT_EQ(runBank({u"info"_qs, folder.file(u"nowhere"_qs)}).code, 2);
}

TEST(BankCommands, ShowPrintsOneQuestion)
{
    tarnex::test::TestFolder folder;
    const QString bank = buildSmallBank(folder);
    CommandResult result = runBank({u"show"_qs, bank, u"会计基础"_qs, u"试题'三"_qs, u"1"_qs});
    ASSERT_EQ(result.code, 0) << result.err.toStdString();
    EXPECT_EQ(result.out, u"单选题 第1题 (dds, 会计基础 / 试题'三)\n"
                          "Stem:\n  下列属于资产的是（ ）。\n"
                          "Options:\n  A. 银行存款\n  B. 短期借款\n"
                          "Correct answer: A\n"
                          "Analysis:\n  银行存款是资产。\n\n  短期借款是负债。\n"_qs);

    result = runBank({u"show"_qs, bank, u"会计基础"_qs, u"试题'三"_qs, u"2"_qs});
    EXPECT_TRUE(result.out.contains(u"是非题 第2题 (sf"_qs));
    EXPECT_TRUE(result.out.contains(u"Correct answer: 错误 (b)\n"_qs));
    result = runBank({u"show"_qs, bank, u"会计基础"_qs, u"试题'三"_qs, u"3"_qs});
    EXPECT_TRUE(result.out.contains(u"Type: 选择型\n"_qs));
    EXPECT_TRUE(result.out.contains(u"Correct answer: A\\BC\\D\\AB\\C\n"_qs)) << result.out.toStdString();
    result = runBank({u"show"_qs, bank, u"会计基础"_qs, u"试题'三"_qs, u"4"_qs});
    EXPECT_TRUE(result.out.contains(u"Correct answer: (written answer)\n"_qs));

    // The other paper of the same subject has its own question 1.
    result = runBank({u"show"_qs, bank, u"会计基础"_qs, u"试题一"_qs, u"1"_qs});
    EXPECT_TRUE(result.out.contains(u"  另一题\n"_qs));

    // A rich column another tool stored as TEXT is shown as the text it is, not as code page 936.
    {
        auto db = tarnex::Database::open(questionBankPath(bank), tarnex::Database::BankPassword);
        db->execute(u"update dds set ping=? where tao=? and tihao collate binary='1'"_qs,
                    {u"中文解析"_qs, u"试题'三"_qs});
    }
    result = runBank({u"show"_qs, bank, u"会计基础"_qs, u"试题'三"_qs, u"1"_qs});
    EXPECT_TRUE(result.out.endsWith(u"Analysis:\n  中文解析\n"_qs)) << result.out.toStdString();

    result = runBank({u"show"_qs, bank, u"会计基础"_qs, u"试题'三"_qs, u"9"_qs});
    EXPECT_EQ(result.code, 2);
    EXPECT_TRUE(result.err.contains(u"no question 9 in 会计基础 / 试题'三"_qs));
    EXPECT_TRUE(result.out.isEmpty());
}

TEST(BankCommands, ListCountsEveryKind)
{
    tarnex::test::TestFolder folder;
    const QString bank = buildSmallBank(folder);
    const CommandResult result = runBank({u"list"_qs, bank});
    ASSERT_EQ(result.code, 0) << result.err.toStdString();
    EXPECT_EQ(result.out, u"会计基础\n"
                          "  试题一: dds 1 duo 1 sf 0 jsfx 0 anli 0 ws 1 (3 questions)\n"
                          "  试题'三: dds 1 duo 0 sf 1 jsfx 2 anli 0 ws 0 (4 questions)\n"
                          "  试题九: dds 0 duo 0 sf 0 jsfx 0 anli 0 ws 1 (1 questions) (in no paper list)\n"
                          "财经法规与会计职业道德\n"
                          "  试题一: dds 0 duo 0 sf 0 jsfx 0 anli 1 ws 0 (1 questions)\n"_qs);

    // The third subject is listed where titao.dat has its column.
    writeFile(
        folder.file(u"src/dsh.txt"_qs),
        "[papers]\nmemodsh: 试题一\n[paper]\nkemu: 初级会计电算化\ntao: 试题一\n[dds 1]\nda: a\n[ws 2]\n");
    ASSERT_EQ(runBank({u"build"_qs, folder.file(u"src"_qs), bank}).code, 0);
    const CommandResult third = runBank({u"list"_qs, bank});
    EXPECT_TRUE(third.out.endsWith(u"财经法规与会计职业道德\n"
                                   "  试题一: dds 0 duo 0 sf 0 jsfx 0 anli 1 ws 0 (1 questions)\n"
                                   "初级会计电算化\n"
                                   "  试题一: dds 1 duo 0 sf 0 jsfx 0 anli 0 ws 1 (2 questions)\n"_qs))
        << third.out.toStdString();
}

TEST(BankCommands, QuotedPaperNameThroughCheckAndExport)
{
    tarnex::test::TestFolder folder;
    const QString bank = buildSmallBank(folder);
    const CommandResult check = runBank({u"check"_qs, bank});
    EXPECT_EQ(check.code, 1);
    EXPECT_EQ(check.out, u"error: 会计基础 / 试题九: 1 question(s), but the paper is in no paper list\n"
                         "1 error(s) in 9 questions.\n"_qs);
    ASSERT_EQ(runBank({u"export"_qs, bank, folder.file(u"exp"_qs)}).code, 0);
    EXPECT_TRUE(readFile(folder.file(u"exp/paper-01.txt"_qs)).contains("tao: 试题'三\n"));
}

TEST(BankCommands, HelpAndUsage)
{
    CommandResult result = runBank({u"--help"_qs});
    EXPECT_EQ(result.code, 0);
    for (const QString& command : {u"build"_qs, u"export"_qs, u"import"_qs, u"check"_qs, u"list"_qs,
                                   u"show"_qs, u"info"_qs, u"text"_qs})
        EXPECT_TRUE(result.out.contains(u"  "_qs + command)) << command.toStdString();
    for (const auto& command : commands()) {
        result = runBank({command->name(), u"--help"_qs});
        EXPECT_EQ(result.code, 0);
        EXPECT_TRUE(result.out.startsWith(u"Usage: tarnex-bank "_qs + command->name()))
            << result.out.toStdString();
    }
    result = runBank({u"help"_qs, u"show"_qs});
    EXPECT_TRUE(result.out.contains(u"NUMBER"_qs));
    result = runBank({});
    EXPECT_EQ(result.code, 2);
    EXPECT_TRUE(result.err.startsWith(u"Usage:"_qs));
    result = runBank({u"frobnicate"_qs});
    EXPECT_EQ(result.code, 2);
    EXPECT_TRUE(result.err.startsWith(u"tarnex-bank: unknown command \"frobnicate\""_qs));
    result = runBank({u"show"_qs, u"bank"_qs});
    EXPECT_EQ(result.code, 2);
    EXPECT_TRUE(result.err.startsWith(u"tarnex-bank show: expected 4 argument(s), got 1"_qs))
        << result.err.toStdString();
    result = runBank({u"list"_qs, u"--verbose"_qs, u"bank"_qs});
    EXPECT_EQ(result.code, 2);
    EXPECT_TRUE(result.err.contains(u"unknown option --verbose"_qs));
}

TEST(BankCommands, OptionsWithAndWithoutValues)
{
    CommandResult result = runBank({u"import"_qs, u"--help"_qs});
    EXPECT_EQ(result.code, 0);
    EXPECT_TRUE(result.out.startsWith(u"Usage: tarnex-bank import [OPTIONS] BANK FILE\n"_qs));
    EXPECT_TRUE(result.out.contains(u"Options:\n  --user       the current user's program folder stands for BANK\n"
                                    "  --subject S  the subject"_qs))
        << result.out.toStdString();
    EXPECT_TRUE(result.out.contains(u"\n  --renumber   give"_qs));
    EXPECT_FALSE(runBank({u"text"_qs, u"--help"_qs}).out.contains(u"Options:"_qs));

    const struct
    {
        QStringList arguments;
        QString error;
    } cases[] = {
        {{u"import"_qs, u"b"_qs, u"f"_qs, u"--subject"_qs},
         u"tarnex-bank import: option --subject needs a value (S)\n"_qs},
        {{u"import"_qs, u"--renumber=yes"_qs, u"b"_qs, u"f"_qs},
         u"tarnex-bank import: option --renumber takes no value\n"_qs},
        {{u"import"_qs, u"--paper"_qs, u"a"_qs, u"b"_qs, u"f"_qs, u"--paper=c"_qs},
         u"tarnex-bank import: option --paper is given twice\n"_qs},
        {{u"import"_qs, u"b"_qs, u"f"_qs, u"--nosuch"_qs},
         u"tarnex-bank import: unknown option --nosuch\n"_qs},
        {{u"export"_qs, u"b"_qs, u"o"_qs, u"--format"_qs},
         u"tarnex-bank export: option --format needs a value (F)\n"_qs},
        {{u"import"_qs, u"b"_qs, u"f"_qs},
         u"tarnex-bank import: --subject is needed (会计基础, 财经法规与会计职业道德, 初级会计电算化)\n"_qs},
        {{u"import"_qs, u"b"_qs, u"f"_qs, u"--subject= 会计 "_qs},
         u"tarnex-bank import: unknown subject \"会计\" (the subjects are 会计基础, 财经法规与会计职业道德, 初级会计电算化)\n"_qs},
        // A value may start with dashes; after "--" every word is an argument.
        {{u"import"_qs, u"--paper"_qs, u"--x"_qs, u"--subject"_qs, u"会计基础"_qs, u"--"_qs, u"b"_qs,
          u"--f.csv"_qs},
         u"tarnex-bank import: cannot read --f.csv: No such file or directory\n"_qs},
        {{u"import"_qs, u"--subject=会计基础"_qs, u"b"_qs, u"f.csv"_qs, u"--renumber"_qs, u"--paper"_qs,
          u""_qs},
         u"tarnex-bank import: the paper is empty\n"_qs},
    };
    for (const auto& [arguments, error] : cases) {
        result = runBank(arguments);
        EXPECT_EQ(result.code, 2) << arguments.join(u' ').toStdString();
        EXPECT_EQ(result.err, error) << arguments.join(u' ').toStdString();
    }
}

TEST(BankCommands, TextPrintsThePlainText)
{
    tarnex::test::TestFolder folder;
    writeFile(folder.file(u"a.rtf"_qs), richTextFromPlain(u"第一段\n第二段 second"_qs));
    CommandResult result = runBank({u"text"_qs, folder.file(u"a.rtf"_qs)});
    ASSERT_EQ(result.code, 0) << result.err.toStdString();
    EXPECT_EQ(result.out, u"第一段\n第二段 second\n"_qs);
    result = runBank({u"text"_qs, folder.file(u"none.rtf"_qs)});
    EXPECT_EQ(result.code, 2);
    EXPECT_TRUE(result.err.startsWith(u"tarnex-bank text: cannot read"_qs));
}

TEST(BankCommands, ProgramExitCodesAndOutput)
{
    tarnex::test::TestFolder folder;
    const QString bank = buildSmallBank(folder);
    writeFile(folder.file(u"a.rtf"_qs), "{\\rtf1\\ansi\\ansicpg936 \\'d6\\'d0\\'ce\\'c4\\par x}");

    CommandResult result = runProgramProcess({});
    EXPECT_EQ(result.code, 2);
    EXPECT_TRUE(result.err.contains(u"Usage: tarnex-bank COMMAND"_qs));
    result = runProgramProcess({u"--help"_qs});
    EXPECT_EQ(result.code, 0);
    EXPECT_TRUE(result.out.contains(u"Commands:"_qs));
    result = runProgramProcess({u"check"_qs, bank});
    EXPECT_EQ(result.code, 1);
    EXPECT_TRUE(result.out.contains(u"试题九"_qs)); // UTF-8 on standard output
    result = runProgramProcess({u"check"_qs, folder.file(u"nowhere"_qs)});
    EXPECT_EQ(result.code, 2);
    EXPECT_FALSE(result.err.isEmpty());

    // Commands without rich-text layout need no display and no platform plugin.
    result = runProgramProcess({u"text"_qs, folder.file(u"a.rtf"_qs)}, {}, true);
    EXPECT_EQ(result.code, 0) << result.err.toStdString();
    EXPECT_EQ(result.out, u"中文\nx\n"_qs);
    result = runProgramProcess({u"info"_qs, bank, u"行一"_qs, u"-"_qs}, "管道\n", true);
    EXPECT_EQ(result.code, 0) << result.err.toStdString();
    EXPECT_EQ(runProgramProcess({u"info"_qs, bank, u"行一"_qs}, {}, true).out, u"管道\n"_qs);

    // build lays out rich text on the offscreen platform whatever the environment says.
    result = runProgramProcess({u"build"_qs, folder.file(u"src"_qs), folder.file(u"again"_qs)}, {}, true);
    EXPECT_EQ(result.code, 0) << result.err.toStdString();
    EXPECT_EQ(dumpDatabase(questionBankPath(folder.file(u"again"_qs)), Password).size(),
              dumpDatabase(questionBankPath(bank), Password).size());
}

namespace {

int questionRows(const QString& bank, const QString& subject, const QString& paper)
{
    auto db = openQuestionBank(bank);
    int count = 0;
    for (const char* table : {"dds", "duo", "sf", "jsfx", "anli", "ws"}) {
        count += db->queryText(QStringLiteral("select count(*) from %1 where kemu=? and tao=?")
                                   .arg(QLatin1StringView(table)),
                               {subject, paper})
                     .toInt();
    }
    return count;
}

} // namespace

TEST(BankCommands, PaperAddKeepsEveryOtherLineAndColumn)
{
    tarnex::test::TestFolder folder;
    const QString bank = buildSmallBank(folder);
    const QString titao = paperListPath(bank);
    const QString regulations = firstValue(titao, {}, u"memo_temp"_qs, u"memofg"_qs);

    CommandResult result = runBank({u"paper"_qs, u"add"_qs, bank, u"会计基础"_qs, u" 试题五 "_qs});
    ASSERT_EQ(result.code, 0) << result.err.toStdString();
    EXPECT_EQ(firstValue(titao, {}, u"memo_temp"_qs, u"memojc"_qs), u"试题一\r\n试题'三\r\n试题五");
    EXPECT_EQ(firstValue(titao, {}, u"memo_temp"_qs, u"memofg"_qs), regulations);

    result = runBank({u"paper"_qs, u"add"_qs, bank, u"会计基础"_qs, u"试题五"_qs});
    EXPECT_EQ(result.code, ExitFailure);
    EXPECT_TRUE(result.err.contains(u"already"_qs)) << result.err.toStdString();
    result = runBank({u"paper"_qs, u"add"_qs, bank, u"会计"_qs, u"试题五"_qs});
    EXPECT_EQ(result.code, ExitFailure);
    EXPECT_TRUE(result.err.contains(u"初级会计电算化"_qs))
        << "names the subjects: " << result.err.toStdString();
    result = runBank({u"paper"_qs, u"add"_qs, bank, u"会计基础"_qs, u"试题五"_qs, u"--with-questions"_qs});
    EXPECT_EQ(result.code, ExitFailure);

    // The third subject's list is a column older lists lack.
    const QStringList before = dumpDatabase(titao, {});
    result = runBank({u"paper"_qs, u"add"_qs, bank, u"初级会计电算化"_qs, u"实务一"_qs});
    ASSERT_EQ(result.code, 0) << result.err.toStdString();
    EXPECT_EQ(firstValue(titao, {}, u"memo_temp"_qs, u"memodsh"_qs), u"实务一");
    result = runBank({u"paper"_qs, u"add"_qs, bank, u"初级会计电算化"_qs, u"实务二"_qs});
    EXPECT_EQ(firstValue(titao, {}, u"memo_temp"_qs, u"memodsh"_qs), u"实务一\r\n实务二");
    const QStringList after = dumpDatabase(titao, {});
    for (const QString& line : before)
        EXPECT_TRUE(after.contains(line)) << "lost: " << line.toStdString();
    auto lists = openPaperLists(bank);
    EXPECT_EQ(lists->queryText(u"select count(*) from memo_temp"_qs), u"1");
}

TEST(BankCommands, PaperRemoveRefusesAPaperWithQuestionsUnlessAsked)
{
    tarnex::test::TestFolder folder;
    const QString bank = buildSmallBank(folder);
    const QString titao = paperListPath(bank);
    ASSERT_EQ(questionRows(bank, u"会计基础"_qs, u"试题'三"_qs), 4);

    CommandResult result = runBank({u"paper"_qs, u"remove"_qs, bank, u"会计基础"_qs, u"试题'三"_qs});
    EXPECT_EQ(result.code, ExitFailure);
    EXPECT_TRUE(result.err.contains(u"4 question"_qs)) << result.err.toStdString();
    EXPECT_EQ(questionRows(bank, u"会计基础"_qs, u"试题'三"_qs), 4);
    EXPECT_EQ(firstValue(titao, {}, u"memo_temp"_qs, u"memojc"_qs), u"试题一\r\n试题'三");

    result =
        runBank({u"paper"_qs, u"remove"_qs, bank, u"会计基础"_qs, u"试题'三"_qs, u"--with-questions"_qs});
    ASSERT_EQ(result.code, 0) << result.err.toStdString();
    EXPECT_EQ(questionRows(bank, u"会计基础"_qs, u"试题'三"_qs), 0);
    EXPECT_EQ(questionRows(bank, u"会计基础"_qs, u"试题一"_qs), 3) << "another paper keeps its questions";
    EXPECT_EQ(questionRows(bank, u"财经法规与会计职业道德"_qs, u"试题一"_qs), 1);
    EXPECT_EQ(firstValue(titao, {}, u"memo_temp"_qs, u"memojc"_qs), u"试题一");
    EXPECT_EQ(firstValue(titao, {}, u"memo_temp"_qs, u"memofg"_qs), u"试题一");

    result = runBank({u"paper"_qs, u"remove"_qs, bank, u"会计基础"_qs, u"试题'三"_qs});
    EXPECT_EQ(result.code, ExitFailure) << "no longer listed";

    // An empty paper goes without the option; the lines around it keep their breaks.
    ASSERT_EQ(runBank({u"paper"_qs, u"add"_qs, bank, u"会计基础"_qs, u"试题二"_qs}).code, 0);
    ASSERT_EQ(runBank({u"paper"_qs, u"add"_qs, bank, u"会计基础"_qs, u"试题三"_qs}).code, 0);
    result = runBank({u"paper"_qs, u"remove"_qs, bank, u"会计基础"_qs, u"试题二"_qs});
    ASSERT_EQ(result.code, 0) << result.err.toStdString();
    EXPECT_EQ(firstValue(titao, {}, u"memo_temp"_qs, u"memojc"_qs), u"试题一\r\n试题三");
}

TEST(PaperListText, LinesKeepTheirBreaks)
{
    EXPECT_EQ(withPaperAdded(u""_qs, u"一"_qs), u"一");
    EXPECT_EQ(withPaperAdded(u"一\n二"_qs, u"三"_qs), u"一\n二\n三");
    EXPECT_EQ(withPaperAdded(u"一\r\n二\r\n"_qs, u"三"_qs), u"一\r\n二\r\n三\r\n");
    EXPECT_EQ(withPaperRemoved(u"一\r\n二\n三"_qs, u"二"_qs), u"一\r\n三");
    EXPECT_EQ(withPaperRemoved(u"一\r\n二\n三"_qs, u"三"_qs), u"一\r\n二");
    EXPECT_EQ(withPaperRemoved(u"一\r\n\r\n二\r\n"_qs, u"一"_qs), u"\r\n二\r\n")
        << "an empty line is an entry";
}

// A newer bank brought into a user's bank: what it lacks is added, nothing of it is replaced.
TEST(BankCommands, MergeAddsWhatTheBankLacksAndKeepsEveryAnswer)
{
    tarnex::test::TestFolder folder;
    // The user's bank is the program folder itself, the one --user names.
    writeFile(folder.file(u"old/memo.txt"_qs), "[memo]\nmemo1: 试题一\n");
    writeFile(folder.file(u"old/papers.txt"_qs), "[papers]\nmemojc: 试题一\n");
    writeFile(folder.file(u"old/q.txt"_qs), "[paper]\nkemu: 会计基础\ntao: 试题一\n"
                                            "[dds 1]\ntou: 旧的题干\nda: a\n[sf 2]\nda: b\n");
    ASSERT_EQ(runBank({u"build"_qs, folder.file(u"old"_qs), folder.path()}).code, 0);
    const QString kstk = folder.file(u"kstk.dat"_qs);
    const QString titao = folder.file(u"titao.dat"_qs);
    {
        auto db = Database::open(kstk, Password);
        db->execute(u"UPDATE dds SET xuan = 'c'"_qs);
        db->execute(u"UPDATE sf SET xuan = 'a'"_qs);
    }

    // The newer bank rewords question 1, adds question 3 (written with an answer that must not
    // travel) and the number " 1 " of another kind, a paper of each subject and their list entries.
    writeFile(folder.file(u"new/memo.txt"_qs), "[memo]\nmemo1:\n  试题一\n  试题二\n");
    writeFile(folder.file(u"new/papers.txt"_qs), "[papers]\nmemojc:\n  试题一\n  试题二\nmemofg: 试题一\n");
    writeFile(folder.file(u"new/q.txt"_qs),
              "[paper]\nkemu: 会计基础\ntao: 试题一\n"
              "[dds 1]\ntou: 新的题干\nda: b\n[sf 2]\nda: b\n"
              "[duo 3]\nda: ab\nxuan: ab\n[ws]\ntihao= \" 1 \"\n"
              "[paper]\nkemu: 会计基础\ntao: 试题二\n[dds 1]\nda: d\n"
              "[paper]\nkemu: 财经法规与会计职业道德\ntao: 试题一\n[sf 1]\nda: a\n");
    const QString newer = folder.file(u"newer"_qs);
    ASSERT_EQ(runBank({u"build"_qs, folder.file(u"new"_qs), newer}).code, 0);

    CommandResult result = runBank({u"merge"_qs, u"--user"_qs, newer});
    ASSERT_EQ(result.code, 0) << result.err.toStdString();
    EXPECT_EQ(result.out, u"Added to %1:\n"
                          "  会计基础 试题一: 1 question\n"
                          "  会计基础 试题二: 1 question (new paper)\n"
                          "  财经法规与会计职业道德 试题一: 1 question (new paper)\n"
                          "  3 paper-list entries\n"
                          "Every answer in the bank is kept.\n"_qs.arg(folder.path()))
        << result.out.toStdString();

    auto db = Database::open(kstk, Password);
    const QString paper1 = u"kemu = '会计基础' AND tao = '试题一'"_qs;
    EXPECT_EQ(db->queryText(u"SELECT xuan FROM dds WHERE %1"_qs.arg(paper1)), u"c"_qs);
    EXPECT_EQ(db->queryText(u"SELECT da FROM dds WHERE %1"_qs.arg(paper1)), u"a"_qs);
    EXPECT_EQ(db->queryText(u"SELECT count(*) FROM dds WHERE %1"_qs.arg(paper1)), u"1"_qs);
    EXPECT_EQ(db->queryText(u"SELECT xuan FROM sf WHERE %1"_qs.arg(paper1)), u"a"_qs);
    EXPECT_EQ(db->queryText(u"SELECT count(*) FROM ws"_qs), u"0"_qs);
    EXPECT_EQ(db->queryText(u"SELECT da || '/' || xuan FROM duo WHERE %1 AND tihao = '3'"_qs.arg(paper1)),
              u"ab/"_qs);
    EXPECT_EQ(db->queryText(u"SELECT da FROM dds WHERE tao = '试题二'"_qs), u"d"_qs);
    EXPECT_EQ(db->queryText(u"SELECT count(*) FROM sf WHERE kemu = '财经法规与会计职业道德'"_qs), u"1"_qs);
    db.reset();
    EXPECT_EQ(firstValue(kstk, Password, u"tb_memo"_qs, u"memo1"_qs), u"试题一\r\n试题二"_qs);
    EXPECT_EQ(firstValue(titao, {}, u"memo_temp"_qs, u"memojc"_qs), u"试题一\r\n试题二"_qs);
    EXPECT_EQ(firstValue(titao, {}, u"memo_temp"_qs, u"memofg"_qs), u"试题一"_qs);

    // Once merged, nothing more to add, and nothing changes.
    const QStringList before = dumpDatabase(kstk, Password) + dumpDatabase(titao, {});
    result = runBank({u"merge"_qs, u"--user"_qs, newer});
    ASSERT_EQ(result.code, 0) << result.err.toStdString();
    EXPECT_TRUE(result.out.contains(u"already holds every paper and question"_qs))
        << result.out.toStdString();
    EXPECT_EQ(dumpDatabase(kstk, Password) + dumpDatabase(titao, {}), before);
}
