#include "BankFiles.h"
#include "BankTestSupport.h"
#include "ExchangeText.h"
#include "MoodleReader.h"
#include "data/Database.h"
#include "platform/CodePage.h"
#include "support/TestFolder.h"

#include <QBuffer>
#include <QDir>
#include <QImage>

#include <gtest/gtest.h>
#include <zip.h>

using namespace tarnex;
using namespace tarnex::bank;
using namespace tarnex::bank::test;

namespace {

const QByteArray Password(Database::BankPassword);
const QString Subject = QStringLiteral("会计基础");

// A bank whose paper 试题一 of 会计基础 holds questions 1 (dds) and 2 (sf), or no questions.
QString makeBank(const tarnex::test::TestFolder& folder, const QString& name = QStringLiteral("bank"),
                 bool withQuestions = true)
{
    const QString src = folder.file(name + u"-src"_qs);
    writeFile(src + u"/papers.txt"_qs, withQuestions ? "[papers]\nmemojc: 试题一\nmemofg:\n" : "[papers]\n");
    if (withQuestions)
        writeFile(src + u"/q.txt"_qs, "[paper]\nkemu: 会计基础\ntao: 试题一\n[dds 1]\ntou: 已有\nda: a\n[sf "
                                      "2]\ntou: 已有判断\nda: b\n");
    const QString bank = folder.file(name);
    EXPECT_EQ(runBank({u"build"_qs, src, bank}).code, 0);
    return bank;
}

// One column of the question with this number in a paper, read with SQL.
QVariant questionValue(const QString& bank, const QString& table, const QString& paper, const QString& number,
                       const QString& column)
{
    auto db = Database::open(questionBankPath(bank), Password);
    Statement statement(
        *db,
        QStringLiteral("SELECT \"%1\" FROM %2 WHERE kemu = ? AND tao = ? AND tihao = ?").arg(column, table),
        {Subject, paper, number});
    return statement.step() ? statement.value(0) : QVariant();
}

QString plain(const QString& bank, const QString& table, const QString& paper, const QString& number,
              const QString& column)
{
    return plainTextOfStored(questionValue(bank, table, paper, number, column).toByteArray());
}

QString text(const QString& bank, const QString& table, const QString& paper, const QString& number,
             const QString& column)
{
    return questionValue(bank, table, paper, number, column).toString();
}

// Every row of a paper in all six tables, without kemu and tao, in kind and number order.
QStringList paperRows(const QString& bank, const QString& paper)
{
    auto db = Database::open(questionBankPath(bank), Password);
    QStringList rows;
    for (const QString& table : {u"dds"_qs, u"duo"_qs, u"sf"_qs, u"jsfx"_qs, u"anli"_qs, u"ws"_qs}) {
        Statement statement(
            *db, QStringLiteral("SELECT * FROM %1 WHERE kemu = ? AND tao = ? ORDER BY tihao").arg(table),
            {Subject, paper});
        while (statement.step()) {
            QStringList cells{table};
            for (int c = 0; c < statement.columnCount(); ++c) {
                if (statement.columnName(c) != u"kemu" && statement.columnName(c) != u"tao")
                    cells.append(statement.columnName(c) + u'=' +
                                 QString::fromLatin1(statement.value(c).toByteArray().toHex()));
            }
            rows.append(cells.join(u' '));
        }
    }
    return rows;
}

QString paperList(const QString& bank)
{
    return firstValue(paperListPath(bank), {}, u"memo_temp"_qs, u"memojc"_qs);
}

QStringList bankState(const QString& bank)
{
    return dumpDatabase(questionBankPath(bank), Password) + dumpDatabase(paperListPath(bank), {});
}

// The template with every kind, a title row above the header, an extra column and a cell with
// quotes, commas and line breaks.
const char* const TemplateCsv =
    "试题一 导入,,,,,,,,\r\n"
    "题号,题型,题干,选项,答案,解析,类型,备注,小题答案1,小题答案2,小题答案3,小题答案4,小题答案5\r\n"
    "10,单选题,\"下列属于资产的是（ ）。\",\"A. 银行存款\nB. "
    "短期借款\",b,\"短期借款是负债，\"\"银行存款\"\"是资产。\",,x\r\n"
    ",,,,,,,,\r\n"
    "11,多选题,选出资产,\"A. 现金\nB. 借款\nC. 存货\",\"C, a\",,,\r\n"
    "12,判断题,会计主体一定是法律主体。,,错,\"第一段\n第二段\",,\r\n"
    "13,计算分析,计算,,,,选择型,,A,bc,D,AB,C\r\n"
    "14,计算分析,写分录,,,,,,,,,,\r\n"
    "15,案例分析,案例,,,,,,a,b,c,d,abcd\r\n"
    "16,实务操作,操作,,,参考答案,,\r\n";

QString writeCsv(const tarnex::test::TestFolder& folder, const QString& name, const QByteArray& content)
{
    writeFile(folder.file(name), content);
    return folder.file(name);
}

QByteArray pngBytes(const QColor& color)
{
    QImage image(5, 3, QImage::Format_RGB32);
    image.fill(color);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// A zip archive of the given members, made with libzip in memory.
QByteArray zipOf(const std::vector<std::pair<QByteArray, QByteArray>>& members)
{
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(nullptr, 0, 0, &error);
    zip_t* archive = zip_open_from_source(source, ZIP_TRUNCATE, &error);
    zip_source_keep(source);
    for (const auto& [name, data] : members) {
        zip_source_t* member = zip_source_buffer(archive, data.constData(), zip_uint64_t(data.size()), 0);
        zip_file_add(archive, name.constData(), member, ZIP_FL_ENC_UTF_8);
    }
    zip_close(archive);
    QByteArray bytes;
    zip_stat_t stat;
    zip_source_stat(source, &stat);
    bytes.resize(qsizetype(stat.size));
    zip_source_open(source);
    zip_source_read(source, bytes.data(), stat.size);
    zip_source_close(source);
    zip_source_free(source);
    return bytes;
}

// A workbook of one sheet as Excel lays it out, with the given sheet data and shared strings.
QByteArray workbookOf(const QByteArray& sheetData, const QByteArray& sharedStrings = {})
{
    std::vector<std::pair<QByteArray, QByteArray>> members = {
        {"_rels/.rels", "<?xml version=\"1.0\"?><Relationships "
                        "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                        "<Relationship Id=\"rId1\" "
                        "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
                        "officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>"},
        {"xl/workbook.xml",
         "<?xml version=\"1.0\"?><workbook "
         "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
         "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"><sheets>"
         "<sheet name=\"题目\" sheetId=\"1\" r:id=\"rId7\"/></sheets></workbook>"},
        {"xl/_rels/workbook.xml.rels",
         "<?xml version=\"1.0\"?><Relationships "
         "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
         "<Relationship Id=\"rId7\" "
         "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
         "worksheet\" Target=\"/xl/worksheets/data.xml\"/>"
         "<Relationship Id=\"rId8\" "
         "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
         "sharedStrings\" Target=\"strings.xml\"/></Relationships>"},
        {"xl/worksheets/data.xml", "<?xml version=\"1.0\"?><worksheet "
                                   "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
                                   "<sheetData>" +
                                       sheetData + "</sheetData></worksheet>"},
    };
    if (!sharedStrings.isEmpty())
        members.push_back(
            {"xl/strings.xml", "<?xml version=\"1.0\"?><sst xmlns=\"http://schemas.openxmlformats.org/"
                               "spreadsheetml/2006/main\">" +
                                   sharedStrings + "</sst>"});
    return zipOf(members);
}

} // namespace

TEST(BankExchange, CsvTemplateImportsEveryKind)
{
    tarnex::test::TestFolder folder;
    const QString bank = makeBank(folder);
    const QString csv = writeCsv(folder, u"q.csv"_qs, QByteArray("\xEF\xBB\xBF") + TemplateCsv);
    const CommandResult result =
        runBank({u"import"_qs, bank, csv, u"--subject"_qs, Subject, u"--paper"_qs, u"试题二"_qs});
    ASSERT_EQ(result.code, 0) << result.err.toStdString();
    EXPECT_EQ(result.out,
              u"Imported 7 questions into 会计基础 / 试题二 (单选题 1, 多选题 1, 判断题 1, 计算分析 2, "
              "案例分析 1, 实务操作 1)\nAdded 会计基础 / 试题二 to its subject's paper list\n"_qs);
    EXPECT_TRUE(result.err.contains(csv + u":2: note: column H (备注) is not read"_qs))
        << result.err.toStdString();

    const QString paper = QStringLiteral("试题二");
    EXPECT_EQ(plain(bank, u"dds"_qs, paper, u"10"_qs, u"tou"_qs), u"下列属于资产的是（ ）。"_qs);
    EXPECT_EQ(plain(bank, u"dds"_qs, paper, u"10"_qs, u"wei"_qs), u"A. 银行存款\nB. 短期借款"_qs);
    EXPECT_EQ(plain(bank, u"dds"_qs, paper, u"10"_qs, u"ping"_qs),
              u"短期借款是负债，\"银行存款\"是资产。"_qs);
    EXPECT_EQ(text(bank, u"dds"_qs, paper, u"10"_qs, u"da"_qs), u"b"_qs);
    EXPECT_EQ(text(bank, u"duo"_qs, paper, u"11"_qs, u"da"_qs), u"ac"_qs);
    EXPECT_EQ(text(bank, u"sf"_qs, paper, u"12"_qs, u"da"_qs), u"b"_qs);
    EXPECT_EQ(plain(bank, u"sf"_qs, paper, u"12"_qs, u"ping"_qs), u"第一段\n第二段"_qs);
    EXPECT_EQ(text(bank, u"jsfx"_qs, paper, u"13"_qs, u"leixing"_qs), u"选择型"_qs);
    EXPECT_EQ(text(bank, u"jsfx"_qs, paper, u"13"_qs, u"da2"_qs), u"bc"_qs);
    EXPECT_EQ(text(bank, u"jsfx"_qs, paper, u"13"_qs, u"da4"_qs), u"ab"_qs);
    EXPECT_EQ(text(bank, u"jsfx"_qs, paper, u"14"_qs, u"leixing"_qs), u"答题型"_qs);
    EXPECT_EQ(text(bank, u"anli"_qs, paper, u"15"_qs, u"da5"_qs), u"abcd"_qs);
    EXPECT_EQ(plain(bank, u"ws"_qs, paper, u"16"_qs, u"ping"_qs), u"参考答案"_qs);
    // The rich columns hold the RTF of the program's writer; answers are empty.
    EXPECT_TRUE(
        questionValue(bank, u"dds"_qs, paper, u"10"_qs, u"tou"_qs).toByteArray().startsWith("{\\rtf1"));
    EXPECT_EQ(text(bank, u"dds"_qs, paper, u"10"_qs, u"xuan"_qs), u""_qs);
    EXPECT_EQ(paperList(bank), u"试题一\r\n试题二"_qs);
}

TEST(BankExchange, GbkCsvReadsLikeUtf8)
{
    tarnex::test::TestFolder folder;
    const QString bank = makeBank(folder);
    const QString utf8 = writeCsv(folder, u"utf8.csv"_qs, TemplateCsv);
    const QString gbk =
        writeCsv(folder, u"gbk.csv"_qs, CodePage::encode(QString::fromUtf8(TemplateCsv), 936));
    ASSERT_NE(readFile(gbk), readFile(utf8));
    ASSERT_EQ(runBank({u"import"_qs, bank, utf8, u"--subject"_qs, Subject, u"--paper=甲"_qs}).code, 0);
    const CommandResult result =
        runBank({u"import"_qs, bank, gbk, u"--subject"_qs, Subject, u"--paper=乙"_qs});
    ASSERT_EQ(result.code, 0) << result.err.toStdString();
    EXPECT_EQ(paperRows(bank, u"乙"_qs), paperRows(bank, u"甲"_qs));
    EXPECT_EQ(plain(bank, u"dds"_qs, u"乙"_qs, u"10"_qs, u"wei"_qs), u"A. 银行存款\nB. 短期借款"_qs);
}

TEST(BankExchange, RowErrorsImportNothing)
{
    tarnex::test::TestFolder folder;
    const QString bank = makeBank(folder);
    const QStringList before = bankState(bank);
    const QString csv =
        writeCsv(folder, u"bad.csv"_qs,
                 "题型,题号,题干,选项A,选项B,选项C,选项D,答案,类型,小题答案1,小题答案2,小题答案3,"
                 "小题答案4,小题答案5\n"
                 "单选题,1,题,甲,乙,,,C\n"              // 2: key outside the options
                 "单选题,2,题,甲,乙,丙,丁,AB\n"         // 3: two letters
                 "多选题,3,题,甲,,丙,,AC\n"             // 4: a gap in the options
                 "判断题,4,题,,,,,也许\n"               // 5: neither true nor false
                 "问答题,5,题\n"                        // 6: unknown kind
                 "单选题,6,,甲,乙,,,A,选择型\n"         // 7: no stem, 类型 on a choice
                 "计算分析,7,题,,,,,,选择型,a,b,,d,a\n" // 8: a sub-answer missing
                 "案例分析,8,题,,,,,,,a,b,c,d,e\n"      // 9: a sub-answer not a letter
                 "实务操作,9,题,,,,,见解析\n"           // 10: a key for a practical question
                 "判断题,10,题,,,,,\"对\n");            // 11: a quote left open
    const CommandResult result =
        runBank({u"import"_qs, bank, csv, u"--subject"_qs, Subject, u"--paper"_qs, u"试题三"_qs});
    EXPECT_EQ(result.code, 2);
    for (
        const QString& expected : {
            u":2: 答案 C is not among the options (A, B)"_qs,
            u":3: a 单选题 has one answer letter; 答案 gives A, B"_qs,
            u":4: 选项C is given but 选项B is empty"_qs,
            u":5: 答案 \"也许\" of a 判断题 is neither 正确 nor 错误 (对, 错)"_qs,
            u":6: 题型 \"问答题\" is not one of"_qs,
            u":7: 题干 is empty"_qs,
            u":7: 类型 is only for 计算分析"_qs,
            u":8: 小题答案3 is empty: every one of the five sub-questions of this 计算分析 needs its answer"_qs,
            u":9: 小题答案5 \"e\" is not made of the letters A to D"_qs,
            u":10: 答案 is not used for a 实务操作; its reference answer belongs in 解析"_qs,
            u":11: a quoted cell is not closed"_qs,
        })
        EXPECT_TRUE(result.err.contains(csv + expected)) << expected.toStdString() << "\n"
                                                         << result.err.toStdString();
    EXPECT_TRUE(result.err.endsWith(u"Nothing imported: 11 error(s).\n"_qs)) << result.err.toStdString();
    EXPECT_EQ(bankState(bank), before);
}

TEST(BankExchange, NumbersClashUnlessRenumbered)
{
    tarnex::test::TestFolder folder;
    const QString bank = makeBank(folder);
    const QStringList before = bankState(bank);
    // " 2 " is question 2 of the paper already (trimmed); the second "3" repeats the first.
    const QString csv =
        writeCsv(folder, u"n.csv"_qs,
                 "题型,题号,题干,答案\n实务操作,\" 2 \",甲\n实务操作,3,乙\n实务操作,,丙\n实务操作,3,丁\n");
    const QStringList command = {u"import"_qs, bank,          csv,         u"--subject"_qs,
                                 Subject,      u"--paper"_qs, u"试题一"_qs};
    CommandResult result = runBank(command);
    EXPECT_EQ(result.code, 2);
    EXPECT_TRUE(result.err.contains(
        csv +
        u":2: number 2 is already used in 会计基础 / 试题一; give another or import with --renumber"_qs))
        << result.err.toStdString();
    EXPECT_TRUE(result.err.contains(csv + u":4: the question has no number (题号)"_qs));
    EXPECT_TRUE(
        result.err.contains(csv + u":5: number 3 is already used by the question at row 3 of this file"_qs));
    EXPECT_EQ(bankState(bank), before);

    result = runBank(command + QStringList{u"--renumber"_qs});
    ASSERT_EQ(result.code, 0) << result.err.toStdString();
    EXPECT_TRUE(result.err.contains(csv + u":2: note: number 2 is taken; imported as 4"_qs))
        << result.err.toStdString();
    EXPECT_TRUE(result.err.contains(csv + u":4: note: numbered 5"_qs));
    EXPECT_TRUE(result.err.contains(csv + u":5: note: number 3 is taken; imported as 6"_qs));
    EXPECT_EQ(plain(bank, u"ws"_qs, u"试题一"_qs, u"4"_qs, u"tou"_qs), u"甲"_qs);
    EXPECT_EQ(plain(bank, u"ws"_qs, u"试题一"_qs, u"3"_qs, u"tou"_qs), u"乙"_qs);
    EXPECT_EQ(plain(bank, u"ws"_qs, u"试题一"_qs, u"6"_qs, u"tou"_qs), u"丁"_qs);
    EXPECT_EQ(plain(bank, u"dds"_qs, u"试题一"_qs, u"1"_qs, u"tou"_qs), u"已有"_qs);
    EXPECT_EQ(paperList(bank), u"试题一"_qs); // listed already
}

TEST(BankExchange, MalformedWorkbooksImportNothing)
{
    tarnex::test::TestFolder folder;
    const QString bank = makeBank(folder);
    const QStringList before = bankState(bank);
    const QByteArray header = "<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>题型</t></is></c>"
                              "<c r=\"B1\" t=\"inlineStr\"><is><t>题干</t></is></c></row>";
    const QByteArray good = workbookOf(header + "<row r=\"2\"><c r=\"A2\" t=\"s\"><v>0</v></c>"
                                                "<c r=\"B2\" t=\"s\"><v>1</v></c></row>",
                                       "<si><t>实务操作</t></si><si><t>题</t></si>");
    const struct
    {
        QByteArray data;
        QString message;
    } cases[] = {
        {good.left(good.size() - 30), u": not an .xlsx workbook: the zip archive cannot be opened"_qs},
        {zipOf({{"xl/other.xml", "<a/>"}}), u": not an .xlsx workbook: it has no part xl/workbook.xml"_qs},
        {workbookOf(header + "<row r=\"2\"><c r=\"A2\"><v>1</v></row>"),
         u": xl/worksheets/data.xml line 1: Opening and ending tag mismatch."_qs},
        {workbookOf(header + "<row r=\"2\"><c r=\"A2\" t=\"s\"><v>5</v></c></row>", "<si><t>x</t></si>"),
         u": xl/worksheets/data.xml line 1: cell A2 refers to shared string \"5\", which the workbook does not have"_qs},
        {workbookOf(header + "<row r=\"2\"><c r=\"XFE2\"><v>1</v></c></row>"),
         u": xl/worksheets/data.xml line 1: \"XFE2\" is not a cell reference"_qs},
        {workbookOf("<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>题目</t></is></c></row>"),
         u": no header row"_qs},
        {QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + QByteArray(500, '\0'),
         u": this is an old .xls workbook"_qs},
    };
    int n = 0;
    for (const auto& [data, message] : cases) {
        const QString file = folder.file(QStringLiteral("bad%1.xlsx").arg(++n));
        writeFile(file, data);
        const CommandResult result =
            runBank({u"import"_qs, bank, file, u"--subject"_qs, Subject, u"--paper"_qs, u"试题三"_qs});
        EXPECT_EQ(result.code, 2) << n;
        EXPECT_TRUE(result.err.startsWith(file + message)) << n << ": " << result.err.toStdString();
    }
    EXPECT_EQ(bankState(bank), before);

    // The same workbook whole imports; shared strings came from a part the relationships name.
    writeFile(folder.file(u"good.xlsx"_qs), good);
    const CommandResult result = runBank({u"import"_qs, bank, folder.file(u"good.xlsx"_qs), u"--subject"_qs,
                                          Subject, u"--paper"_qs, u"试题三"_qs, u"--renumber"_qs});
    ASSERT_EQ(result.code, 0) << result.err.toStdString();
    EXPECT_EQ(plain(bank, u"ws"_qs, u"试题三"_qs, u"1"_qs, u"tou"_qs), u"题"_qs);
}

TEST(BankExchange, WorkbookCellsOfEveryForm)
{
    tarnex::test::TestFolder folder;
    const QString bank = makeBank(folder);
    // Inline strings with runs and a phonetic run, a shared string, a number as Excel stores it, a
    // formula's cached text, cells without references and a _x000D_ escape.
    const QByteArray sheet =
        "<row r=\"3\"><c r=\"B3\" t=\"inlineStr\"><is><t>题型</t></is></c><c "
        "t=\"inlineStr\"><is><t>题号</t></is></c>"
        "<c t=\"inlineStr\"><is><r><t>题</t></r><r><rPr><b/></rPr><t>干</t></r><rPh><t>ダ</t></rPh></is></c>"
        "<c t=\"s\"><v>0</v></c><c t=\"inlineStr\"><is><t>答案</t></is></c></row>"
        "<row r=\"4\"><c r=\"B4\" t=\"str\"><f>\"单选\"&amp;\"题\"</f><v>单选题</v></c><c "
        "r=\"C4\"><v>7.0</v></c>"
        "<c r=\"D4\" t=\"inlineStr\"><is><t xml:space=\"preserve\">第一行_x000D_\n第二行 </t></is></c>"
        "<c r=\"E4\" t=\"s\"><v>1</v></c><c r=\"F4\" t=\"inlineStr\"><is><t>ｂ</t></is></c></row>";
    writeFile(folder.file(u"cells.xlsx"_qs),
              workbookOf(sheet, "<si><t>选项</t></si><si><r><t>A. 甲</t></r><r><t>\nB. 乙</t></r></si>"));
    CommandResult result = runBank({u"import"_qs, bank, folder.file(u"cells.xlsx"_qs), u"--subject"_qs,
                                    Subject, u"--paper"_qs, u"试题三"_qs});
    ASSERT_EQ(result.code, 0) << result.err.toStdString();
    EXPECT_EQ(plain(bank, u"dds"_qs, u"试题三"_qs, u"7"_qs, u"tou"_qs), u"第一行\n第二行"_qs);
    EXPECT_EQ(plain(bank, u"dds"_qs, u"试题三"_qs, u"7"_qs, u"wei"_qs), u"A. 甲\nB. 乙"_qs);
    EXPECT_EQ(text(bank, u"dds"_qs, u"试题三"_qs, u"7"_qs, u"da"_qs), u"b"_qs);

    // The example workbook of docs/, written by LibreOffice Calc.
    result = runBank({u"import"_qs, bank,
                      tarnex::test::TestFolder::sourceDir() + u"/docs/examples/template-example.xlsx"_qs,
                      u"--subject"_qs, Subject, u"--paper"_qs, u"示例"_qs});
    ASSERT_EQ(result.code, 0) << result.err.toStdString();
    EXPECT_TRUE(result.out.startsWith(u"Imported 9 questions into 会计基础 / 示例"_qs))
        << result.out.toStdString();
    EXPECT_EQ(text(bank, u"duo"_qs, u"示例"_qs, u"3"_qs, u"da"_qs), u"abc"_qs);
    EXPECT_EQ(text(bank, u"anli"_qs, u"示例"_qs, u"8"_qs, u"da1"_qs), u"ac"_qs);
}

TEST(BankExchange, WorkbookRoundTripKeepsThePaper)
{
    tarnex::test::TestFolder folder;
    const QString first = makeBank(folder, u"first"_qs);
    const QString second = makeBank(folder, u"second"_qs);
    const QString third = makeBank(folder, u"third"_qs);
    const QString csv = writeCsv(folder, u"q.csv"_qs, TemplateCsv);
    const QStringList to = {u"--subject"_qs, Subject, u"--paper"_qs, u"试题二"_qs};
    ASSERT_EQ(runBank(QStringList{u"import"_qs, first, csv} + to).code, 0);

    CommandResult result = runBank({u"export"_qs, first, folder.file(u"x1"_qs), u"--format"_qs, u"xlsx"_qs});
    ASSERT_EQ(result.code, 0) << result.err.toStdString();
    EXPECT_EQ(QDir(folder.file(u"x1"_qs)).entryList(QDir::Files),
              QStringList({u"会计基础-试题一.xlsx"_qs, u"会计基础-试题二.xlsx"_qs}));
    result = runBank(QStringList{u"import"_qs, second, folder.file(u"x1/会计基础-试题二.xlsx"_qs)} + to);
    ASSERT_EQ(result.code, 0) << result.err.toStdString();
    EXPECT_EQ(paperRows(second, u"试题二"_qs), paperRows(first, u"试题二"_qs));

    ASSERT_EQ(runBank({u"export"_qs, second, folder.file(u"x2"_qs), u"--format=xlsx"_qs}).code, 0);
    ASSERT_EQ(runBank(QStringList{u"import"_qs, third, folder.file(u"x2/会计基础-试题二.xlsx"_qs)} + to).code,
              0);
    EXPECT_EQ(paperRows(third, u"试题二"_qs), paperRows(first, u"试题二"_qs));
    EXPECT_EQ(paperRows(third, u"试题二"_qs).size(), 7);

    // An export never overwrites: the first file that exists stops it before anything is written.
    result = runBank({u"export"_qs, second, folder.file(u"x2"_qs), u"--format"_qs, u"xlsx"_qs});
    EXPECT_EQ(result.code, 2);
    EXPECT_TRUE(result.err.contains(u"exists already"_qs)) << result.err.toStdString();
    result = runBank({u"export"_qs, second, folder.file(u"x3"_qs), u"--format"_qs, u"pdf"_qs});
    EXPECT_EQ(result.code, 2);
    EXPECT_TRUE(result.err.contains(u"unknown format \"pdf\" (sources, xlsx or moodle)"_qs));
}

TEST(BankExchange, MoodleImportMapsTypesAndCategories)
{
    tarnex::test::TestFolder folder;
    const QString bank = makeBank(folder);
    const QString example = tarnex::test::TestFolder::sourceDir() + u"/docs/examples/moodle-example.xml"_qs;
    CommandResult result = runBank({u"import"_qs, bank, example, u"--subject"_qs, Subject});
    ASSERT_EQ(result.code, 0) << result.err.toStdString();
    EXPECT_TRUE(result.err.contains(example +
                                    u":8: note: question \"说明\": a description is no question; skipped"_qs))
        << result.err.toStdString();
    const QString paper = QStringLiteral("Moodle 示例");                 // the category's last segment
    EXPECT_EQ(text(bank, u"dds"_qs, paper, u"1"_qs, u"da"_qs), u"a"_qs); // number from <idnumber>
    EXPECT_EQ(plain(bank, u"dds"_qs, paper, u"1"_qs, u"wei"_qs),
              u"A. 核算与监督\nB. 预测与决策\nC. 评价与分析\nD. 计划与控制"_qs);
    EXPECT_EQ(plain(bank, u"dds"_qs, paper, u"1"_qs, u"ping"_qs), u"会计的基本职能是核算与监督。"_qs);
    const QByteArray stem = questionValue(bank, u"dds"_qs, paper, u"1"_qs, u"tou"_qs).toByteArray();
    EXPECT_TRUE(stem.contains("\\b ")) << stem.toStdString(); // bold kept
    EXPECT_TRUE(questionValue(bank, u"dds"_qs, paper, u"1"_qs, u"ping"_qs).toByteArray().contains("\\ul "));
    EXPECT_EQ(text(bank, u"duo"_qs, paper, u"2"_qs, u"da"_qs), u"abd"_qs); // number from the name
    const QByteArray table = questionValue(bank, u"duo"_qs, paper, u"2"_qs, u"tou"_qs).toByteArray();
    EXPECT_TRUE(table.contains("\\trowd") && table.contains("\\pict")) << table.toStdString();
    EXPECT_TRUE(questionValue(bank, u"duo"_qs, paper, u"2"_qs, u"wei"_qs).toByteArray().contains("\\i "));
    EXPECT_EQ(text(bank, u"sf"_qs, paper, u"3"_qs, u"da"_qs), u"b"_qs);
    EXPECT_EQ(plain(bank, u"ws"_qs, paper, u"4"_qs, u"ping"_qs),
              u"借：银行存款 20 000\n贷：应收账款 20 000"_qs);
    EXPECT_EQ(paperList(bank), u"试题一\r\nMoodle 示例"_qs);

    // --paper puts every question into that paper, whatever the categories say.
    result = runBank({u"import"_qs, bank, example, u"--subject"_qs, Subject, u"--paper"_qs, u"试题一"_qs,
                      u"--renumber"_qs});
    ASSERT_EQ(result.code, 0) << result.err.toStdString();
    // 1 and 2 were taken: those questions come after the highest number, 4.
    EXPECT_EQ(text(bank, u"sf"_qs, u"试题一"_qs, u"3"_qs, u"da"_qs), u"b"_qs);
    EXPECT_EQ(text(bank, u"dds"_qs, u"试题一"_qs, u"5"_qs, u"da"_qs), u"a"_qs);
    EXPECT_EQ(text(bank, u"duo"_qs, u"试题一"_qs, u"6"_qs, u"da"_qs), u"abd"_qs);

    EXPECT_EQ(paperOfCategory(u"$course$/top/会计基础/试题//一"_qs), u"试题/一"_qs);
    EXPECT_EQ(paperOfCategory(u"$course$/top"_qs), u""_qs);
    EXPECT_EQ(paperOfCategory(u"试题一"_qs), u"试题一"_qs);
}

TEST(BankExchange, MoodleFaultsImportNothing)
{
    tarnex::test::TestFolder folder;
    const QString bank = makeBank(folder);
    const QStringList before = bankState(bank);
    auto question = [](const char* type, const char* name, const QByteArray& body) {
        return QByteArray("<question type=\"") + type + "\"><name><text>" + name +
               "</text></name><questiontext format=\"html\"><text>题</text></questiontext>" + body +
               "</question>\n";
    };
    auto answer = [](const char* fraction, const char* text) {
        return QByteArray("<answer fraction=\"") + fraction + "\"><text>" + text + "</text></answer>";
    };
    const QByteArray xml =
        "<?xml version=\"1.0\"?>\n<quiz>\n" +
        question("multichoice", "7",
                 "<single>false</single>" + answer("50", "a") + answer("40", "b") + answer("0", "c")) +
        question("multichoice", "8", "<single>true</single>" + answer("100", "a") + answer("100", "b")) +
        question("multichoice", "9",
                 answer("100", "a") + answer("0", "b") + answer("0", "c") + answer("0", "d") +
                     answer("0", "e")) +
        question("truefalse", "10", answer("50", "true") + answer("50", "false")) +
        question("shortanswer", "11", answer("100", "x")) +
        "<question "
        "type=\"category\"><category><text>$course$/top/会计基础/试题四</text></category></question>\n" +
        "<question type=\"essay\"><name><text>12</text></name><questiontext format=\"html\"><text><![CDATA["
        "<img src=\"@@PLUGINFILE@@/none.png\">]]></text></questiontext></question>\n"
        "<question type=\"essay\"><name><text>13</text></name><questiontext format=\"html\"><text><![CDATA["
        "<img src=\"@@PLUGINFILE@@/x.png\">]]></text><file name=\"x.png\" path=\"/\" "
        "encoding=\"base64\">AAAA</file>"
        "</questiontext></question>\n"
        "<question type=\"essay\"><name><text>14</text></name><questiontext format=\"html\"><text>题</text>"
        "<file name=\"y.png\" encoding=\"base65\">AAAA</file></questiontext></question>\n"
        "</quiz>\n";
    const QString file = folder.file(u"faults.xml"_qs);
    writeFile(file, xml);
    const CommandResult result = runBank({u"import"_qs, bank, file, u"--subject"_qs, Subject});
    EXPECT_EQ(result.code, 2);
    for (
        const QString& expected : {
            u":3: question \"7\": the fractions of the correct answers add up to 90, not 100 (fractions: 50, 40, 0)"_qs,
            u":4: question \"8\": a single-answer question needs one answer with fraction 100 and the others 0 or less"_qs,
            u":5: question \"9\": has 5 answers; a question here has two to four options (A to D)"_qs,
            u":6: question \"10\": a true/false question needs the answers true and false, one of them with fraction 100"_qs,
            u":7: question \"11\": the type shortanswer has no counterpart here"_qs,
            u":9: question \"12\": the picture /none.png is not among the files of this text"_qs,
            u":10: question \"13\": the picture @@PLUGINFILE@@/x.png cannot be read"_qs,
            u":11: question \"14\": the file y.png has the encoding base65; only base64 is read"_qs,
        })
        EXPECT_TRUE(result.err.contains(file + expected)) << expected.toStdString() << "\n"
                                                          << result.err.toStdString();
    EXPECT_EQ(bankState(bank), before);

    // The questions before the category have no paper without --paper.
    writeFile(file, "<quiz>" + question("essay", "1", {}) + "</quiz>");
    CommandResult other = runBank({u"import"_qs, bank, file, u"--subject"_qs, Subject});
    EXPECT_EQ(other.code, 2);
    EXPECT_TRUE(other.err.contains(file + u":1: question \"1\": comes before any category; give --paper"_qs))
        << other.err.toStdString();
    writeFile(file, "<quiz><question type=\"essay\"><name>");
    other = runBank({u"import"_qs, bank, file, u"--subject"_qs, Subject, u"--paper"_qs, u"x"_qs});
    EXPECT_EQ(other.code, 2);
    EXPECT_TRUE(other.err.contains(u": not well-formed XML: "_qs)) << other.err.toStdString();
    writeFile(file, "<questions/>");
    other = runBank({u"import"_qs, bank, file, u"--subject"_qs, Subject, u"--paper"_qs, u"x"_qs});
    EXPECT_TRUE(other.err.contains(u"not a Moodle XML file: the root element is <questions>, not <quiz>"_qs));
    EXPECT_EQ(bankState(bank), before);
}

TEST(BankExchange, MoodleRoundTripKeepsThePaper)
{
    tarnex::test::TestFolder folder;
    const QString first = makeBank(folder, u"first"_qs, false);
    const QString second = makeBank(folder, u"second"_qs, false);
    const QString third = makeBank(folder, u"third"_qs, false);
    const QString example = tarnex::test::TestFolder::sourceDir() + u"/docs/examples/moodle-example.xml"_qs;
    ASSERT_EQ(runBank({u"import"_qs, first, example, u"--subject"_qs, Subject}).code, 0);

    CommandResult result =
        runBank({u"export"_qs, first, folder.file(u"m1"_qs), u"--format"_qs, u"moodle"_qs});
    ASSERT_EQ(result.code, 0) << result.err.toStdString();
    const QByteArray exported = readFile(folder.file(u"m1/会计基础.xml"_qs));
    EXPECT_TRUE(exported.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<quiz>"))
        << exported.left(80).toStdString();
    EXPECT_TRUE(exported.contains("<text>$course$/top/会计基础/Moodle 示例</text>"));
    EXPECT_TRUE(exported.contains("<answer fraction=\"33.33333\" format=\"html\">"));
    EXPECT_TRUE(exported.contains("<file name=\"picture1.png\" path=\"/\" encoding=\"base64\">"));
    EXPECT_TRUE(exported.contains("<![CDATA[<p>会计的<b>基本职能</b>是（ ）。</p>]]>"))
        << exported.toStdString();

    result = runBank({u"import"_qs, second, folder.file(u"m1/会计基础.xml"_qs), u"--subject"_qs, Subject});
    ASSERT_EQ(result.code, 0) << result.err.toStdString();
    const QString paper = QStringLiteral("Moodle 示例");
    for (const auto& [table, number] :
         {std::pair{u"dds"_qs, u"1"_qs}, {u"duo"_qs, u"2"_qs}, {u"sf"_qs, u"3"_qs}, {u"ws"_qs, u"4"_qs}}) {
        for (const QString& column : {u"tou"_qs, u"ping"_qs})
            EXPECT_EQ(plain(second, table, paper, number, column), plain(first, table, paper, number, column))
                << table.toStdString() << ' ' << column.toStdString();
        if (table == u"dds" || table == u"duo") {
            EXPECT_EQ(plain(second, table, paper, number, u"wei"_qs),
                      plain(first, table, paper, number, u"wei"_qs));
        }
        if (table != u"ws") {
            EXPECT_EQ(text(second, table, paper, number, u"da"_qs),
                      text(first, table, paper, number, u"da"_qs));
        }
    }
    EXPECT_TRUE(questionValue(second, u"duo"_qs, paper, u"2"_qs, u"tou"_qs).toByteArray().contains("\\pict"));

    // What the program writes, it reads back to the same bytes.
    ASSERT_EQ(runBank({u"export"_qs, second, folder.file(u"m2"_qs), u"--format"_qs, u"moodle"_qs}).code, 0);
    EXPECT_EQ(readFile(folder.file(u"m2/会计基础.xml"_qs)), exported);
    ASSERT_EQ(
        runBank({u"import"_qs, third, folder.file(u"m2/会计基础.xml"_qs), u"--subject"_qs, Subject}).code, 0);
    EXPECT_EQ(paperRows(third, paper), paperRows(second, paper));
}

TEST(BankExchange, MoodleExportLeavesOutWhatItCannotCarry)
{
    tarnex::test::TestFolder folder;
    const QString bank = makeBank(folder);
    ASSERT_EQ(runBank({u"import"_qs, bank, writeCsv(folder, u"q.csv"_qs, TemplateCsv), u"--subject"_qs,
                       Subject, u"--paper"_qs, u"试题二"_qs})
                  .code,
              0);
    const CommandResult result =
        runBank({u"export"_qs, bank, folder.file(u"m"_qs), u"--format"_qs, u"moodle"_qs});
    ASSERT_EQ(result.code, 0) << result.err.toStdString();
    EXPECT_TRUE(result.err.contains(
        u"warning: 会计基础 / 试题二 计算分析 13: Moodle has no question type for its five sub-questions; not exported"_qs))
        << result.err.toStdString();
    EXPECT_TRUE(result.err.contains(u"warning: 会计基础 / 试题二 案例分析 15:"_qs));
    const QByteArray xml = readFile(folder.file(u"m/会计基础.xml"_qs));
    EXPECT_TRUE(xml.contains("<idnumber>10</idnumber>") && xml.contains("<idnumber>16</idnumber>"));
    EXPECT_FALSE(xml.contains("<idnumber>13</idnumber>"));
}

TEST(BankExchange, HtmlOfStoredTextReadsBackTheSame)
{
    const QByteArray png = pngBytes(Qt::blue);
    const QString html =
        QStringLiteral("<p style=\"white-space: pre-wrap\">甲  乙<b>粗</b><i>斜</i><u>线</u></p><p><br></p>"
                       "<table border=\"1\"><tr><td rowspan=\"2\">户</td><td colspan=\"2\">额</td></tr>"
                       "<tr><td>借</td><td>贷&amp;&lt;</td></tr></table>"
                       "<p style=\"text-align: center;\">图<img src=\"@@PLUGINFILE@@/a%20b.png\" "
                       "width=\"10\" height=\"6\"></p>");
    const QByteArray first = storedFromHtml(html, {{u"/a b.png"_qs, png}});
    const HtmlText once = htmlOfStored(first);
    ASSERT_EQ(once.files.size(), 1u);
    PictureFiles files;
    files.insert(u"/"_qs + once.files.front().first, once.files.front().second);
    const QByteArray second = storedFromHtml(once.html, files);
    EXPECT_EQ(plainTextOfStored(second), plainTextOfStored(first));
    const HtmlText twice = htmlOfStored(second);
    EXPECT_EQ(twice.html, once.html);
    EXPECT_TRUE(once.html.contains(
        u"<p style=\"white-space: pre-wrap;\">甲  乙<b>粗</b><i>斜</i><u>线</u></p><p><br></p>"_qs))
        << once.html.toStdString();
    EXPECT_TRUE(once.html.contains(u"<td><p>贷&amp;&lt;</p></td>"_qs));
    EXPECT_TRUE(
        once.html.contains(u"<p style=\"text-align: center;\">图<img src=\"@@PLUGINFILE@@/picture1.png\" "
                           "alt=\"\" width=\"10\" height=\"6\"></p>"_qs));

    // Text right after a table stays right after it.
    const QByteArray after =
        storedFromHtml(u"<table border=\"1\"><tr><td>表</td></tr></table>后<p>段</p>"_qs, {});
    EXPECT_EQ(htmlOfStored(after).html,
              u"<table border=\"1\"><tr><td><p>表</p></td></tr></table>后<p>段</p>"_qs);
    EXPECT_EQ(plainTextOfStored(storedFromHtml(htmlOfStored(after).html, {})), plainTextOfStored(after));

    // Options split at their letters; a text that is not lettered in order is no option list.
    const auto options = optionsHtmlOfStored(storedFromPlainText(u"A. 甲\n续行\n\nB、乙\n（C）丙"_qs));
    ASSERT_TRUE(options.has_value());
    ASSERT_EQ(options->size(), 3u);
    EXPECT_EQ((*options)[0].html, u"<p>甲</p><p>续行</p><p><br></p>"_qs);
    EXPECT_EQ((*options)[2].html, u"<p>丙</p>"_qs);
    EXPECT_FALSE(optionsHtmlOfStored(storedFromPlainText(u"A. 甲\nC. 丙"_qs)).has_value());
    EXPECT_FALSE(optionsHtmlOfStored(storedFromPlainText(u"前言\nA. 甲"_qs)).has_value());
}

TEST(BankExchange, FailedWriteImportsNothing)
{
    tarnex::test::TestFolder folder;
    const QString bank = makeBank(folder);
    {
        // A bank whose ws table lacks columns: the insert of the practical question fails after
        // the single-choice question and the paper list were written inside their transactions.
        auto db = Database::open(questionBankPath(bank), Password);
        db->execute(u"ALTER TABLE ws RENAME TO ws_old"_qs);
        db->execute(u"CREATE TABLE ws (kemu TEXT, tao TEXT, tihao TEXT)"_qs);
    }
    const QStringList before = bankState(bank);
    const QString csv = writeCsv(
        folder, u"q.csv"_qs, "题型,题号,题干,选项,答案\n单选题,1,题,\"A. 甲\nB. 乙\",A\n实务操作,2,操作\n");
    const CommandResult result =
        runBank({u"import"_qs, bank, csv, u"--subject"_qs, Subject, u"--paper"_qs, u"试题二"_qs});
    EXPECT_EQ(result.code, 2);
    EXPECT_TRUE(result.err.contains(u"tou"_qs)) << result.err.toStdString(); // the missing column
    EXPECT_EQ(bankState(bank), before);
}

namespace {

QByteArray utf16le(const QString& text)
{
    return QByteArray("\xFF\xFE", 2) +
           QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
}

} // namespace

TEST(BankExchange, CsvDialectsAndPaperLists)
{
    tarnex::test::TestFolder folder;
    const QString bank = makeBank(folder);
    const QString expected = QStringLiteral("A. 甲;乙\nB. 丙");
    const struct
    {
        QString name;
        QByteArray data;
    } files[] = {
        {u"semicolon.csv"_qs, "sep=;\r\n题型;题号;题干;选项;答案\r\n单选题;1;题;\"A. 甲;乙\nB. 丙\";B\r\n"},
        {u"tabs.txt"_qs, "题型\t题号\t题干\t选项\t答案\n单选题\t1\t题\t\"A. 甲;乙\nB. 丙\"\tB\n"},
        {u"utf16.csv"_qs, utf16le(u"题型,题号,题干,选项,答案\r\n单选题,1,题,\"A. 甲;乙\nB. 丙\",B\r\n"_qs)},
    };
    int n = 0;
    for (const auto& [name, data] : files) {
        const QString paper = QStringLiteral("方言%1").arg(++n);
        const CommandResult result = runBank({u"import"_qs, bank, writeCsv(folder, name, data),
                                              u"--subject"_qs, Subject, u"--paper"_qs, paper});
        ASSERT_EQ(result.code, 0) << name.toStdString() << ": " << result.err.toStdString();
        EXPECT_EQ(plain(bank, u"dds"_qs, paper, u"1"_qs, u"wei"_qs), expected) << name.toStdString();
        EXPECT_EQ(text(bank, u"dds"_qs, paper, u"1"_qs, u"da"_qs), u"b"_qs) << name.toStdString();
    }
    EXPECT_EQ(paperList(bank), u"试题一\r\n方言1\r\n方言2\r\n方言3"_qs);

    // A paper list file without the subject's column: the questions come in, with a warning.
    {
        auto lists = Database::open(paperListPath(bank));
        lists->execute(u"CREATE TABLE lists_new AS SELECT memojc FROM memo_temp"_qs);
        lists->execute(u"DROP TABLE memo_temp"_qs);
        lists->execute(u"ALTER TABLE lists_new RENAME TO memo_temp"_qs);
    }
    const CommandResult result = runBank({u"import"_qs, bank, folder.file(u"tabs.txt"_qs), u"--subject"_qs,
                                          u"财经法规与会计职业道德"_qs, u"--paper"_qs, u"试题一"_qs});
    ASSERT_EQ(result.code, 0) << result.err.toStdString();
    EXPECT_TRUE(result.err.contains(
        u"warning: titao.dat has no paper list for 财经法规与会计职业道德; the new paper is in no list"_qs))
        << result.err.toStdString();
}
