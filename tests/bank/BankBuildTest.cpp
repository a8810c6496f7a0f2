#include "BankBuilder.h"
#include "BankExporter.h"
#include "BankSource.h"
#include "BankTestSupport.h"
#include "data/BankSchema.h"
#include "data/Database.h"
#include "data/StoredText.h"
#include "platform/AppError.h"
#include "support/TestFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

using namespace tarnex;
using namespace tarnex::bank;
using namespace tarnex::bank::test;

namespace {

const QByteArray Password(Database::BankPassword);

// A bank that uses every section, form and kind, two files of papers and a paper name with a quote.
void writeFullSources(const QString& dir)
{
    writeFile(dir + QStringLiteral("/memo.txt"), "\xEF\xBB\xBF# information texts\n"
                                                 "[memo]\n"
                                                 "行一: 第一行\n"
                                                 "版本说明:\n"
                                                 "  版本 2012\n"
                                                 "\n"
                                                 "  第二段\n"
                                                 "咨询辅导= \"末尾空格 \\n\"\n"
                                                 "edit1: 标题\n"
                                                 "edit8:\n"
                                                 "  two\n"
                                                 "  lines\n"
                                                 "memo1:\n"
                                                 "  试题一\n"
                                                 "  试题'三\n");
    writeFile(dir + QStringLiteral("/papers.txt"),
              "[papers]\nmemojc:\n  试题一\n  试题'三\nmemofg: 试题一\nmemodsh: 试题一\n"
              "[counts 财经法规与会计职业道德]\ndds: 1\n[counts 初级会计电算化]\nws: 1\nsf: 0\n");
    writeFile(dir + QStringLiteral("/a/jichu-1.txt"), "[paper]\n"
                                                      "kemu: 会计基础\n"
                                                      "tao: 试题一\n"
                                                      "\n"
                                                      "[dds 1]\n"
                                                      "tou: 下列各项中，属于会计基本职能的是（ ）。\n"
                                                      "wei:\n"
                                                      "  A. 核算与监督\n"
                                                      "  B. 预测与决策\n"
                                                      "da: a\n"
                                                      "ping: 会计的基本职能是核算和监督。\n"
                                                      "\n"
                                                      "[duo 2]\n"
                                                      "tou.html: <p>选出<b>全部</b>正确项</p><p>第二段</p>\n"
                                                      "wei: A B C D\n"
                                                      "da: abd\n"
                                                      "[sf 007]\n"
                                                      "tou: 是非\n"
                                                      "da: b\n"
                                                      "xuan: a\n"
                                                      "[jsfx 10]\n"
                                                      "tou: 计算\n"
                                                      "leixing: 选择型\n"
                                                      "da1: a\n"
                                                      "da2: bc\n"
                                                      "da3: d\n"
                                                      "da4: ab\n"
                                                      "da5: abcd\n"
                                                      "myt1= \"借：银行存款\\r\\n贷：实收资本\"\n"
                                                      "[anli 11]\n"
                                                      "tou: 案例\n"
                                                      "da1: a\n"
                                                      "da2: a\n"
                                                      "da3: a\n"
                                                      "da4: a\n"
                                                      "da5: a\n"
                                                      "[ws]\n"
                                                      "tihao= \" 12 \"\n"
                                                      "tou.rtf: {\\rtf1\\ansi 实务}\n");
    writeFile(dir + QStringLiteral("/b/fagui-3.txt"), "[paper]\n"
                                                      "kemu: 会计基础\n"
                                                      "tao: 试题'三\n"
                                                      "[dds 1]\n"
                                                      "tou: 引号'题\n"
                                                      "da: c\n"
                                                      "ping.rtf= \"{\\\\rtf1 \\xd6\\xd0}\"\n"
                                                      "[paper]\n"
                                                      "kemu: 财经法规与会计职业道德\n"
                                                      "tao: 试题一\n"
                                                      "[dds 1]\n"
                                                      "tou: 法规\n"
                                                      "da: d\n"
                                                      "[dtxx]\n"
                                                      "combobox: 借\n"
                                                      "edit2: 银行存款\n"
                                                      "edit3: 100\n"
                                                      "[paper]\n"
                                                      "kemu: 初级会计电算化\n"
                                                      "tao: 试题一\n"
                                                      "[ws 1]\n"
                                                      "tou: 建立账套\n");
}

void expectSameDump(const QStringList& a, const QStringList& b)
{
    for (qsizetype i = 0; i < std::min(a.size(), b.size()); ++i) {
        if (a.at(i) != b.at(i)) {
            ADD_FAILURE() << "first difference:\n  " << a.at(i).toStdString() << "\n  "
                          << b.at(i).toStdString();
            return;
        }
    }
    EXPECT_EQ(a.size(), b.size());
}

void expectSameBank(const QString& a, const QString& b)
{
    expectSameDump(dumpDatabase(questionBankPath(a), Password), dumpDatabase(questionBankPath(b), Password));
    expectSameDump(dumpDatabase(paperListPath(a), {}), dumpDatabase(paperListPath(b), {}));
}

QStringList filesIn(const QString& dir)
{
    return QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace

TEST(BankBuild, StoresEveryColumnInItsForm)
{
    tarnex::test::TestFolder folder;
    writeFullSources(folder.file(u"src"_qs));
    const CommandResult result = runBank({u"build"_qs, folder.file(u"src"_qs), folder.file(u"out"_qs)});
    ASSERT_EQ(result.code, 0) << result.err.toStdString();
    EXPECT_EQ(filesIn(folder.file(u"out"_qs)), QStringList({u"kstk.dat"_qs, u"titao.dat"_qs}));

    const BankTables bank = readBank(folder.file(u"out"_qs));
    ASSERT_EQ(bank.memo.rows.size(), 1u);
    EXPECT_EQ(bank.memo.text(0, u"行一"_qs), EncodeStoredText(u"第一行"_qs));
    EXPECT_EQ(bank.memo.text(0, u"版本说明"_qs), EncodeStoredText(u"版本 2012\r\n\r\n第二段"_qs));
    EXPECT_EQ(bank.memo.text(0, u"咨询辅导"_qs), EncodeStoredText(u"末尾空格 \n"_qs)); // exact: as given
    EXPECT_EQ(bank.memo.text(0, u"行二"_qs), u""_qs);
    EXPECT_EQ(bank.memo.text(0, u"edit8"_qs), u"two\nlines"_qs);
    EXPECT_EQ(bank.memo.text(0, u"memo1"_qs), u"试题一\r\n试题'三"_qs);
    EXPECT_EQ(bank.paperLists.text(0, u"memojc"_qs), u"试题一\r\n试题'三"_qs);
    EXPECT_EQ(bank.paperLists.text(0, u"memofg"_qs), u"试题一"_qs);
    EXPECT_EQ(bank.paperLists.columns, QStringList({u"memojc"_qs, u"memofg"_qs, u"memodsh"_qs}));
    EXPECT_EQ(bank.paperLists.text(0, u"memodsh"_qs), u"试题一"_qs);
    ASSERT_EQ(bank.paperCounts.rows.size(), 2u);
    EXPECT_EQ(bank.paperCounts.text(0, u"kemu"_qs), u"财经法规与会计职业道德"_qs);
    EXPECT_EQ(bank.paperCounts.text(0, u"dds"_qs), u"1"_qs);
    EXPECT_EQ(bank.paperCounts.text(0, u"ws"_qs), u"0"_qs);
    EXPECT_EQ(bank.paperCounts.text(1, u"ws"_qs), u"1"_qs);
    EXPECT_EQ(bank.paperCounts.text(1, u"duo"_qs), u"0"_qs);

    const TableData& dds = bank.questionTable(u"dds"_qs);
    ASSERT_EQ(dds.rows.size(), 3u);
    EXPECT_EQ(dds.text(0, u"kemu"_qs), u"会计基础"_qs);
    EXPECT_EQ(dds.text(0, u"tao"_qs), u"试题一"_qs);
    EXPECT_EQ(dds.bytes(0, u"tou"_qs), richTextFromPlain(u"下列各项中，属于会计基本职能的是（ ）。"_qs));
    EXPECT_EQ(dds.bytes(0, u"wei"_qs), richTextFromPlain(u"A. 核算与监督\nB. 预测与决策"_qs));
    EXPECT_TRUE(dds.bytes(0, u"tou"_qs).startsWith("{\\rtf1"));
    EXPECT_EQ(dds.text(0, u"xuan"_qs), u""_qs);
    EXPECT_EQ(dds.text(1, u"tao"_qs), u"试题'三"_qs);
    EXPECT_EQ(dds.bytes(1, u"ping"_qs), QByteArray("{\\rtf1 \xd6\xd0}"));
    EXPECT_EQ(dds.text(2, u"kemu"_qs), u"财经法规与会计职业道德"_qs);

    const TableData& duo = bank.questionTable(u"duo"_qs);
    EXPECT_EQ(duo.bytes(0, u"tou"_qs), richTextFromHtml(u"<p>选出<b>全部</b>正确项</p><p>第二段</p>"_qs, {}));
    EXPECT_EQ(bank.questionTable(u"sf"_qs).text(0, u"tihao"_qs), u"007"_qs);
    EXPECT_EQ(bank.questionTable(u"sf"_qs).text(0, u"xuan"_qs), u"a"_qs);
    const TableData& jsfx = bank.questionTable(u"jsfx"_qs);
    EXPECT_EQ(jsfx.text(0, u"da2"_qs), u"bc"_qs);
    EXPECT_EQ(jsfx.text(0, u"myt1"_qs), u"借：银行存款\r\n贷：实收资本"_qs);
    const TableData& ws = bank.questionTable(u"ws"_qs);
    EXPECT_EQ(ws.text(0, u"tihao"_qs), u" 12 "_qs);
    EXPECT_EQ(ws.bytes(0, u"tou"_qs), QByteArray("{\\rtf1\\ansi 实务}"));
    ASSERT_EQ(bank.journal.rows.size(), 1u);
    EXPECT_EQ(bank.journal.text(0, u"edit2"_qs), u"银行存款"_qs);
    EXPECT_EQ(bank.journal.text(0, u"ntemp"_qs), u""_qs);
}

TEST(BankBuild, PaperListOfTheThirdSubjectOnlyWhereTheSourcesGiveIt)
{
    tarnex::test::TestFolder folder;
    writeFile(folder.file(u"src/a.txt"_qs), "[papers]\nmemojc: 试题一\n"
                                            "[paper]\nkemu: 会计基础\ntao: 试题一\n[sf 1]\nda: a\n");
    ASSERT_EQ(runBank({u"build"_qs, folder.file(u"src"_qs), folder.file(u"two"_qs)}).code, 0);
    auto lists = openPaperLists(folder.file(u"two"_qs));
    EXPECT_EQ(readTable(*lists, u"memo_temp"_qs).columns, QStringList({u"memojc"_qs, u"memofg"_qs}));
    lists.reset();
    const CommandResult exported = runBank({u"export"_qs, folder.file(u"two"_qs), folder.file(u"exp"_qs)});
    ASSERT_EQ(exported.code, 0) << exported.err.toStdString();
    EXPECT_FALSE(readFile(folder.file(u"exp/papers.txt"_qs)).contains("memodsh"));
    EXPECT_FALSE(QFileInfo::exists(folder.file(u"exp/counts.txt"_qs)));

    // Given in a second [papers] section, the column comes after the other two.
    writeFile(folder.file(u"src/b.txt"_qs), "[papers]\nmemodsh:\n  试题一\n  试题二\n"
                                            "[paper]\nkemu: 初级会计电算化\ntao: 试题一\n[ws 1]\n"
                                            "[paper]\nkemu: 初级会计电算化\ntao: 试题二\n[ws 1]\n");
    ASSERT_EQ(runBank({u"build"_qs, folder.file(u"src"_qs), folder.file(u"three"_qs)}).code, 0);
    const TableData table = readBank(folder.file(u"three"_qs)).paperLists;
    EXPECT_EQ(table.columns, QStringList({u"memojc"_qs, u"memofg"_qs, u"memodsh"_qs}));
    EXPECT_EQ(table.text(0, u"memodsh"_qs), u"试题一\r\n试题二"_qs);

    // An empty list keeps its column through export and build.
    writeFile(folder.file(u"src/b.txt"_qs), "[papers]\nmemodsh:\n");
    ASSERT_EQ(runBank({u"build"_qs, folder.file(u"src"_qs), folder.file(u"four"_qs)}).code, 0);
    ASSERT_EQ(runBank({u"export"_qs, folder.file(u"four"_qs), folder.file(u"exp4"_qs)}).code, 0);
    EXPECT_TRUE(readFile(folder.file(u"exp4/papers.txt"_qs)).contains("\nmemodsh:\n"));
    ASSERT_EQ(runBank({u"build"_qs, folder.file(u"exp4"_qs), folder.file(u"five"_qs)}).code, 0);
    expectSameBank(folder.file(u"four"_qs), folder.file(u"five"_qs));
    EXPECT_EQ(readBank(folder.file(u"five"_qs)).paperLists.columns,
              QStringList({u"memojc"_qs, u"memofg"_qs, u"memodsh"_qs}));
}

TEST(BankBuild, ExportThenBuildGivesTheSameBank)
{
    tarnex::test::TestFolder folder;
    writeFullSources(folder.file(u"src"_qs));
    ASSERT_EQ(runBank({u"build"_qs, folder.file(u"src"_qs), folder.file(u"one"_qs)}).code, 0);

    const CommandResult exported = runBank({u"export"_qs, folder.file(u"one"_qs), folder.file(u"exp"_qs)});
    ASSERT_EQ(exported.code, 0) << exported.err.toStdString();
    // Plain paragraphs come back as plain text, the verbatim RTF as RTF.
    const QString paper = QString::fromUtf8(readFile(folder.file(u"exp/paper-01.txt"_qs)));
    EXPECT_TRUE(paper.contains(u"tou: 下列各项中，属于会计基本职能的是（ ）。\n"_qs)) << paper.toStdString();
    EXPECT_TRUE(paper.contains(u"wei:\n  A. 核算与监督\n  B. 预测与决策\n"_qs));
    EXPECT_TRUE(paper.contains(u"tou.rtf: {\\rtf1\\ansi 实务}\n"_qs));
    EXPECT_TRUE(paper.contains(u"[ws]\ntihao= \" 12 \"\n"_qs));

    ASSERT_EQ(runBank({u"build"_qs, folder.file(u"exp"_qs), folder.file(u"two"_qs)}).code, 0);
    expectSameBank(folder.file(u"one"_qs), folder.file(u"two"_qs));
}

TEST(BankBuild, ExportKeepsValuesOnlyTheExactFormCarries)
{
    tarnex::test::TestFolder folder;
    writeFullSources(folder.file(u"src"_qs));
    const QString one = folder.file(u"one"_qs);
    ASSERT_EQ(runBank({u"build"_qs, folder.file(u"src"_qs), one}).code, 0);
    {
        // Values the program's own windows could leave behind.
        auto db = Database::open(questionBankPath(one), Password);
        db->execute(u"UPDATE tb_memo SET 行二 = ?, 行三 = ?, edit2 = ?"_qs,
                    {u"not base64 at all!"_qs, EncodeStoredText(u"lone\nbreak\r"_qs), u"\ttab \r\n"_qs});
        db->execute(u"UPDATE dds SET wei = ?, xuan = ? WHERE tihao = '1' AND tao = '试题一'"_qs,
                    {QByteArray("{\\rtf1\r\n\\par \xb0\xa1}\0", 17), u"b "_qs});
        db->execute(u"UPDATE duo SET tou = ?"_qs,
                    {richTextFromPlain(u"trailing blank \n\nand empty lines\n\n"_qs)});
        // Rows of one table whose papers alternate: the export cannot group them by paper.
        db->execute(u"INSERT INTO dds (kemu, tao, tihao, tou, wei, ping, da, xuan) "
                    "VALUES ('会计基础', '试题一', '[x]', ?, '', '', 'a', '')"_qs,
                    {richTextFromPlain(u"晚到的题"_qs)});
    }
    ASSERT_EQ(runBank({u"export"_qs, one, folder.file(u"exp"_qs)}).code, 0);
    EXPECT_TRUE(QFileInfo::exists(folder.file(u"exp/questions.txt"_qs)));
    const QString memo = QString::fromUtf8(readFile(folder.file(u"exp/memo.txt"_qs)));
    EXPECT_TRUE(memo.contains(u"行二.raw: not base64 at all!\n"_qs)) << memo.toStdString();
    EXPECT_TRUE(memo.contains(u"行三= \"lone\\nbreak\\r\"\n"_qs)) << memo.toStdString();

    const CommandResult rebuilt = runBank({u"build"_qs, folder.file(u"exp"_qs), folder.file(u"two"_qs)});
    ASSERT_EQ(rebuilt.code, 0) << rebuilt.err.toStdString();
    expectSameBank(one, folder.file(u"two"_qs));
}

TEST(BankBuild, NullComesBackAsEmptyText)
{
    // Every reader takes NULL for the empty string; the sources have no NULL, so a NULL column
    // comes back as "" (the same text to the program).
    tarnex::test::TestFolder folder;
    writeFullSources(folder.file(u"src"_qs));
    const QString one = folder.file(u"one"_qs);
    ASSERT_EQ(runBank({u"build"_qs, folder.file(u"src"_qs), one}).code, 0);
    Database::open(questionBankPath(one), Password)->execute(u"UPDATE dds SET xuan = NULL, ping = NULL"_qs);
    ASSERT_EQ(runBank({u"export"_qs, one, folder.file(u"exp"_qs)}).code, 0);
    ASSERT_EQ(runBank({u"build"_qs, folder.file(u"exp"_qs), folder.file(u"two"_qs)}).code, 0);
    auto db = Database::open(questionBankPath(folder.file(u"two"_qs)), Password);
    EXPECT_EQ(db->queryText(u"SELECT count(*) FROM dds WHERE xuan = '' AND ping = ''"_qs), u"3"_qs);
}

TEST(BankBuild, ExportRefusesAFolderWithSources)
{
    tarnex::test::TestFolder folder;
    writeFullSources(folder.file(u"src"_qs));
    ASSERT_EQ(runBank({u"build"_qs, folder.file(u"src"_qs), folder.file(u"one"_qs)}).code, 0);
    const CommandResult result = runBank({u"export"_qs, folder.file(u"one"_qs), folder.file(u"src"_qs)});
    EXPECT_EQ(result.code, 2);
    EXPECT_TRUE(result.err.contains(u"already holds source files"_qs)) << result.err.toStdString();
}

TEST(BankBuild, QuestionBankIsEncrypted)
{
    tarnex::test::TestFolder folder;
    writeFullSources(folder.file(u"src"_qs));
    ASSERT_EQ(runBank({u"build"_qs, folder.file(u"src"_qs), folder.path()}).code, 0);
    const QString kstk = folder.file(u"kstk.dat"_qs);
    EXPECT_THROW(Database::open(kstk), AppError);
    EXPECT_THROW(Database::open(kstk, "wrong"), AppError);
    EXPECT_FALSE(readFile(kstk).contains("tb_memo"));
    EXPECT_FALSE(readFile(kstk).startsWith("SQLite format 3"));
    EXPECT_NO_THROW(Database::open(kstk, Password));
    // titao.dat carries no password.
    EXPECT_TRUE(readFile(folder.file(u"titao.dat"_qs)).startsWith("SQLite format 3"));
    EXPECT_THROW(Database::open(folder.file(u"titao.dat"_qs), Password), AppError);

    const QString shell = QStandardPaths::findExecutable(u"sqlcipher"_qs);
    if (shell.isEmpty())
        GTEST_SKIP() << "no sqlcipher shell";
    QProcess process;
    process.start(shell, {kstk});
    process.write("PRAGMA key='5820417'; select count(*) from dds;\n");
    process.closeWriteChannel();
    ASSERT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.readAllStandardOutput().trimmed(), QByteArray("3"));
}

TEST(BankBuild, FailedBuildLeavesTheOldBank)
{
    tarnex::test::TestFolder folder;
    const QString out = folder.file(u"out"_qs);
    writeFullSources(folder.file(u"src"_qs));
    ASSERT_EQ(runBank({u"build"_qs, folder.file(u"src"_qs), out}).code, 0);
    const QByteArray before = readFile(questionBankPath(out));
    const QByteArray listsBefore = readFile(paperListPath(out));

    // A fault in the sources: nothing is written.
    writeFile(folder.file(u"bad/x.txt"_qs), "[paper]\nkemu: k\ntao: t\n[dds 1]\ntou: a\nnosuch: b\n");
    CommandResult result = runBank({u"build"_qs, folder.file(u"bad"_qs), out});
    EXPECT_EQ(result.code, 2);
    EXPECT_TRUE(result.err.contains(u"x.txt:6: [dds] has no field nosuch"_qs)) << result.err.toStdString();
    EXPECT_EQ(readFile(questionBankPath(out)), before);

    // A picture that is missing: an error at its field.
    writeFile(folder.file(u"pic/x.txt"_qs),
              "[paper]\nkemu: k\ntao: t\n[dds 1]\ntou.html: <img src=\"none.png\">\n");
    result = runBank({u"build"_qs, folder.file(u"pic"_qs), out});
    EXPECT_EQ(result.code, 2);
    EXPECT_TRUE(result.err.contains(u"x.txt:5: cannot load the picture"_qs)) << result.err.toStdString();

    // A fault found after the databases are written (titao.dat cannot be replaced): neither file
    // changes and no temporary file stays behind.
    writeFile(folder.file(u"other/y.txt"_qs), "[memo]\nedit1: new\n");
    QFile::remove(paperListPath(out));
    QDir().mkpath(paperListPath(out));
    result = runBank({u"build"_qs, folder.file(u"other"_qs), out});
    EXPECT_EQ(result.code, 2);
    EXPECT_TRUE(result.err.contains(u"is not a file"_qs)) << result.err.toStdString();
    EXPECT_EQ(readFile(questionBankPath(out)), before);
    EXPECT_EQ(filesIn(out), QStringList({u"kstk.dat"_qs}));
    QDir(paperListPath(out)).removeRecursively();

    // A good build replaces the bank, a stale log of the old one included.
    writeFile(questionBankPath(out) + u"-wal"_qs, "stale");
    result = runBank({u"build"_qs, folder.file(u"other"_qs), out});
    ASSERT_EQ(result.code, 0) << result.err.toStdString();
    EXPECT_EQ(filesIn(out), QStringList({u"kstk.dat"_qs, u"titao.dat"_qs}));
    EXPECT_EQ(firstValue(questionBankPath(out), Password, u"tb_memo"_qs, u"edit1"_qs), u"new"_qs);
    EXPECT_NE(readFile(paperListPath(out)), listsBefore);
}

TEST(BankBuild, PicturesLoadRelativeToTheirSourceFile)
{
    tarnex::test::TestFolder folder;
    QImage image(4, 3, QImage::Format_RGB32);
    image.fill(Qt::red);
    QDir().mkpath(folder.file(u"src/p"_qs));
    ASSERT_TRUE(image.save(folder.file(u"src/p/red.png"_qs)));
    writeFile(folder.file(u"src/p/x.txt"_qs),
              "[paper]\nkemu: k\ntao: t\n[dds 1]\ntou.html: <p>图<img src=\"red.png\"></p>\n");
    const CommandResult result = runBank({u"build"_qs, folder.file(u"src"_qs), folder.path()});
    ASSERT_EQ(result.code, 0) << result.err.toStdString();
    const QByteArray tou = readBank(folder.path()).questionTable(u"dds"_qs).bytes(0, u"tou"_qs);
    EXPECT_TRUE(tou.contains("\\pict")) << tou.toStdString();
}

TEST(BankBuild, SourceMeaningErrors)
{
    auto errorOf = [](const char* text) {
        try {
            contentFromSources({parseSource(QByteArray(text), u"s.txt"_qs)});
        } catch (const AppError& error) {
            return error.message();
        }
        return u"(no error)"_qs;
    };
    EXPECT_TRUE(errorOf("[dds 1]\n").startsWith(u"s.txt:1: [dds] before any [paper]"_qs));
    EXPECT_TRUE(errorOf("[paper]\nkemu: k\n").startsWith(u"s.txt:1: [paper] needs both kemu and tao"_qs));
    EXPECT_TRUE(errorOf("[paper]\nkemu: k\ntao: t\n[dds]\n").startsWith(u"s.txt:4: [dds] needs a number"_qs));
    EXPECT_TRUE(errorOf("[paper]\nkemu: k\ntao: t\n[dds 1]\ntihao: 2\n")
                    .startsWith(u"s.txt:5: the number is already"_qs));
    EXPECT_TRUE(errorOf("[paper]\nkemu: k\ntao: t\n[dds 1]\nda: a\nda: b\n")
                    .startsWith(u"s.txt:6: da is already given at s.txt:5"_qs));
    EXPECT_TRUE(errorOf("[paper]\nkemu: k\ntao: t\n[sf 1]\nwei: x\n")
                    .startsWith(u"s.txt:5: [sf] has no field wei"_qs));
    EXPECT_TRUE(
        errorOf("[paper]\nkemu: k\ntao: t\n[dds 1]\nkemu: x\n").startsWith(u"s.txt:5: kemu comes from"_qs));
    EXPECT_TRUE(errorOf("[paper]\nkemu: k\ntao: t\n[dds 1]\nda.rtf: x\n")
                    .startsWith(u"s.txt:5: field da has no form .rtf"_qs));
    EXPECT_TRUE(errorOf("[paper]\nkemu: k\ntao: t\n[dds 1]\ntou.doc: x\n")
                    .startsWith(u"s.txt:5: tou has the forms"_qs));
    EXPECT_TRUE(errorOf("[memo]\nedit1.raw: x\n").startsWith(u"s.txt:2: field edit1 has no form .raw"_qs));
    EXPECT_TRUE(errorOf("[memo]\nedit9: x\n").startsWith(u"s.txt:2: [memo] has no field edit9"_qs));
    EXPECT_TRUE(errorOf("[memo x]\n").startsWith(u"s.txt:1: [memo] takes no argument"_qs));
    EXPECT_TRUE(errorOf("[quiz 1]\n").startsWith(u"s.txt:1: unknown section [quiz]"_qs));
    EXPECT_TRUE(
        errorOf("[papers]\nmemoxx: a\n")
            .startsWith(u"s.txt:2: [papers] has no field memoxx (fields: memojc, memofg, memodsh)"_qs));
    EXPECT_TRUE(errorOf("[counts]\ndds: 1\n").startsWith(u"s.txt:1: [counts] needs the subject"_qs));
    EXPECT_TRUE(
        errorOf("[counts 会计基础]\nwei: 1\n").startsWith(u"s.txt:2: [counts] has the fields dds,"_qs));
    EXPECT_TRUE(
        errorOf("[counts 会计基础]\ndds: 2\ndds: 2\n").startsWith(u"s.txt:3: dds is already given"_qs));
    EXPECT_TRUE(errorOf("[counts 会计基础]\ndds: -1\n")
                    .startsWith(u"s.txt:2: dds: \"-1\" is not a number of questions"_qs));
    EXPECT_TRUE(errorOf("[counts 会计基础]\nsf: 20 题\n").startsWith(u"s.txt:2: sf: \"20 题\""_qs));
    EXPECT_TRUE(errorOf("[counts 会计基础]\n[counts 会计基础]\n")
                    .startsWith(u"s.txt:2: the counts of 会计基础 are already given at s.txt:1"_qs));
    // memo fields may be spread over files, but each is given once.
    try {
        contentFromSources(
            {parseSource("[memo]\nedit1: a\n", u"a.txt"_qs), parseSource("[memo]\nedit1: b\n", u"b.txt"_qs)});
        FAIL() << "a column given twice was accepted";
    } catch (const AppError& error) {
        EXPECT_EQ(error.message(), u"b.txt:2: edit1 is already given at a.txt:2"_qs);
    }
    // The paper does not carry over into the next file.
    try {
        contentFromSources(
            {parseSource("[paper]\nkemu: k\ntao: t\n", u"a.txt"_qs), parseSource("[dds 1]\n", u"b.txt"_qs)});
        FAIL() << "a question without a paper was accepted";
    } catch (const AppError& error) {
        EXPECT_TRUE(error.message().startsWith(u"b.txt:1: [dds] before any [paper]"_qs));
    }
}
