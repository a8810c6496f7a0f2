// libFuzzer target for the spreadsheet template's readers: the .xlsx reader (a zip of XML parts),
// the CSV reader and the template's rows. Any bytes give errors or questions whose answers are in
// the bank's formats. Inputs starting "SHEET\n" are a worksheet and shared strings (split by a NUL
// byte) that the target packs into a workbook, so the XML readers get far more of the inputs.
// CSV cells written back as CSV read back the same.
#include "SheetReader.h"
#include "TemplateReader.h"

#include <QRegularExpression>

#include <zip.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace tarnex::bank;

namespace {

// Names the broken invariant before the crash report.
[[noreturn]] void fail(const char* why)
{
    std::fprintf(stderr, "invariant broken: %s\n", why);
    std::abort();
}

QByteArray zipOf(const std::vector<std::pair<QByteArray, QByteArray>>& members)
{
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(nullptr, 0, 0, &error);
    zip_t* archive = zip_open_from_source(source, ZIP_TRUNCATE, &error);
    zip_source_keep(source);
    for (const auto& [name, data] : members) {
        zip_source_t* member = zip_source_buffer(archive, data.constData(), zip_uint64_t(data.size()), 0);
        const zip_int64_t index = zip_file_add(archive, name.constData(), member, ZIP_FL_ENC_UTF_8);
        zip_set_file_compression(archive, zip_uint64_t(index), ZIP_CM_STORE, 0);
    }
    zip_close(archive);
    zip_stat_t stat;
    zip_source_stat(source, &stat);
    QByteArray bytes(qsizetype(stat.size), '\0');
    zip_source_open(source);
    zip_source_read(source, bytes.data(), stat.size);
    zip_source_close(source);
    zip_source_free(source);
    return bytes;
}

QByteArray packedWorkbook(const QByteArray& input)
{
    const qsizetype split = input.indexOf('\0');
    const QByteArray sheet = split < 0 ? input : input.left(split);
    const QByteArray strings = split < 0 ? QByteArray() : input.mid(split + 1);
    return zipOf({
        {"xl/workbook.xml",
         "<workbook xmlns:r=\"r\"><sheets><sheet name=\"s\" r:id=\"rId1\"/></sheets></workbook>"},
        {"xl/_rels/workbook.xml.rels",
         "<Relationships><Relationship Id=\"rId1\" Type=\"x/worksheet\" Target=\"worksheets/sheet1.xml\"/>"
         "<Relationship Id=\"rId2\" Type=\"x/sharedStrings\" Target=\"sharedStrings.xml\"/></Relationships>"},
        {"xl/worksheets/sheet1.xml", sheet},
        {"xl/sharedStrings.xml", strings},
    });
}

QByteArray csvOf(const Sheet& sheet)
{
    QString text;
    int row = 0;
    for (const SheetRow& each : sheet.rows) {
        for (; row < each.number - 1; ++row)
            text += QStringLiteral("\r\n");
        int column = 0;
        for (const auto& [index, cell] : each.cells) {
            for (; column < index; ++column)
                text += u',';
            QString quoted = cell;
            quoted.replace(QStringLiteral("\""), QStringLiteral("\"\""));
            text += u'"' + quoted + u'"';
        }
        text += QStringLiteral("\r\n");
        ++row;
    }
    return "\xEF\xBB\xBF" + text.toUtf8();
}

bool isLetters(const QString& letters)
{
    static const QRegularExpression pattern(QStringLiteral("^a?b?c?d?$"));
    return pattern.match(letters).hasMatch();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    Diagnostics diagnostics;
    Sheet sheet;
    const bool packed = bytes.startsWith("SHEET\n");
    const bool xlsx = packed || bytes.startsWith("PK");
    if (xlsx) {
        sheet = readXlsx(packed ? packedWorkbook(bytes.mid(6)) : bytes, diagnostics);
    } else {
        sheet = readCsv(bytes, diagnostics);
        // The CSV reader keeps what it reads: the cells written back read back the same.
        if (!diagnostics.hasErrors()) {
            Diagnostics again;
            const Sheet reread = readCsv(csvOf(sheet), again);
            if (again.hasErrors() || reread.rows.size() < sheet.rows.size())
                fail("the CSV written back reads differently");
            for (size_t i = 0; i < sheet.rows.size(); ++i) {
                if (reread.rows[i].cells != sheet.rows[i].cells ||
                    reread.rows[i].number != sheet.rows[i].number)
                    fail("a CSV row changed on the way");
            }
        }
    }
    int previous = 0;
    for (const SheetRow& row : sheet.rows) {
        if (row.number <= previous)
            fail("rows out of order");
        previous = row.number;
    }

    const std::vector<ExchangeQuestion> questions = Template::read(sheet, diagnostics);
    for (const ExchangeQuestion& question : questions) {
        if (question.tou.isEmpty() || !question.tou.startsWith("{\\rtf1"))
            fail("a stem that is no RTF");
        if (question.kind == u"dds" && (question.da.size() != 1 || !isLetters(question.da)))
            fail("a single-choice key out of format");
        if (question.kind == u"duo" && (question.da.isEmpty() || !isLetters(question.da)))
            fail("a multiple-choice key out of format");
        if (question.kind == u"sf" && question.da != u"a" && question.da != u"b")
            fail("a true/false key out of format");
        for (const QString& sub : question.subAnswers) {
            if (!isLetters(sub))
                fail("a sub-answer out of format");
        }
        if (question.number.contains(u'\n'))
            fail("a number with a line break");
    }
    return 0;
}
