#include "BankExporter.h"

#include "BankBuilder.h"
#include "BankSource.h"
#include "data/BankSchema.h"
#include "data/Database.h"
#include "data/StoredText.h"
#include "platform/AppError.h"
#include "richtext/RtfReader.h"

#include <QDir>
#include <QDirIterator>
#include <QSaveFile>

#include <algorithm>
#include <optional>

namespace tarnex::bank {
namespace {

// A text whose line breaks are CR LF: the plain form when it carries it, else the exact form.
void crLfTextField(SourceWriter& writer, const QString& name, const QString& text)
{
    QString lines = text;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (!lines.contains(u'\r') && fitsBlockForm(lines))
        writer.textField(name, lines);
    else
        writer.exactField(name, text.toUtf8());
}

bool fitsHeader(const QString& number)
{
    if (number.isEmpty() || number != number.trimmed() || number.contains(u']'))
        return false;
    return std::none_of(number.begin(), number.end(),
                        [](QChar c) { return c.unicode() < 0x20 || c == u'\x7f'; });
}

void writeRichField(SourceWriter& writer, const QString& column, const QByteArray& stored)
{
    const QString plain = rtfToPlainText(stored);
    if (!plain.isEmpty() && richTextFromPlain(plain) == stored)
        writer.textField(column, plain);
    else
        writer.bytesField(column + QStringLiteral(".rtf"), stored);
}

void writeQuestion(SourceWriter& writer, const TableData& table, int row)
{
    const QString number = table.text(row, QStringLiteral("tihao"));
    if (fitsHeader(number)) {
        writer.section(table.name, number);
    } else {
        writer.section(table.name);
        writer.textField(QStringLiteral("tihao"), number);
    }
    for (const QString& column : BankSchema::questionColumns(table.name)) {
        if (column == u"kemu" || column == u"tao" || column == u"tihao" || table.columnIndex(column) < 0)
            continue;
        if (isRichColumn(column)) {
            const QByteArray stored = table.bytes(row, column);
            if (!stored.isEmpty())
                writeRichField(writer, column, stored);
        } else {
            const QString value = table.text(row, column);
            if (!value.isEmpty())
                writer.textField(column, value);
        }
    }
    writer.blankLine();
}

void writePaperHeader(SourceWriter& writer, const QString& kemu, const QString& tao)
{
    writer.section(QStringLiteral("paper"));
    writer.textField(QStringLiteral("kemu"), kemu);
    writer.textField(QStringLiteral("tao"), tao);
    writer.blankLine();
}

void noteUnknownColumns(const TableData& table, const QStringList& known, QStringList* warnings)
{
    for (const QString& column : table.columns) {
        if (!known.contains(column) && warnings)
            warnings->append(QStringLiteral("column %1 of %2 is not exported").arg(column, table.name));
    }
}

QByteArray memoSource(const TableData& memo, QStringList* warnings)
{
    SourceWriter writer;
    writer.comment(QStringLiteral("The information texts (tb_memo)."));
    writer.section(QStringLiteral("memo"));
    noteUnknownColumns(memo, BankSchema::memoColumns(), warnings);
    if (memo.rows.size() > 1 && warnings)
        warnings->append(
            QStringLiteral("tb_memo has %1 rows; only the first, the one the program reads, is exported")
                .arg(memo.rows.size()));
    if (memo.rows.empty())
        return writer.data();
    for (const QString& column : BankSchema::memoColumns()) {
        if (memo.columnIndex(column) < 0)
            continue;
        const QString value = memo.text(0, column);
        if (value.isEmpty())
            continue;
        if (BankSchema::storedTextMemoColumns().contains(column)) {
            const QString decoded = DecodeStoredText(value);
            if (EncodeStoredText(decoded) == value)
                crLfTextField(writer, column, decoded);
            else
                writer.textField(column + QStringLiteral(".raw"), value);
        } else if (isCrLfColumn(memo.name, column)) {
            crLfTextField(writer, column, value);
        } else {
            writer.textField(column, value);
        }
    }
    return writer.data();
}

QByteArray paperListSource(const TableData& lists, QStringList* warnings)
{
    SourceWriter writer;
    writer.comment(QStringLiteral("The paper lists (memo_temp of titao.dat), one paper name per line."));
    writer.section(QStringLiteral("papers"));
    QStringList columns;
    for (const BankSchema::SubjectPapers& subject : BankSchema::subjects())
        columns.append(subject.column);
    noteUnknownColumns(lists, columns, warnings);
    if (lists.rows.size() > 1 && warnings)
        warnings->append(
            QStringLiteral("memo_temp has %1 rows; only the first is exported").arg(lists.rows.size()));
    if (lists.rows.empty())
        return writer.data();
    for (const QString& column : std::as_const(columns)) {
        if (lists.columnIndex(column) < 0)
            continue;
        // A column that not every bank has is written even when empty: the build makes it again.
        const QString value = lists.text(0, column);
        if (!value.isEmpty() || !BankSchema::paperListColumns().contains(column))
            crLfTextField(writer, column, value);
    }
    return writer.data();
}

QByteArray paperCountsSource(const TableData& counts, QStringList* warnings)
{
    SourceWriter writer;
    writer.comment(QStringLiteral("The questions of each kind in a full paper of a subject (paper_counts)."));
    noteUnknownColumns(counts, BankSchema::paperCountsColumns(), warnings);
    for (int row = 0; row < int(counts.rows.size()); ++row) {
        const QString subject = counts.text(row, QStringLiteral("kemu"));
        if (!fitsHeader(subject)) {
            if (warnings)
                warnings->append(QStringLiteral("the counts of subject \"%1\" are not exported: a section "
                                                "header cannot carry its name")
                                     .arg(subject));
            continue;
        }
        writer.section(QStringLiteral("counts"), subject);
        for (const QString& kind : BankSchema::questionTables()) {
            if (counts.columnIndex(kind) >= 0)
                writer.textField(kind, counts.text(row, kind));
        }
        writer.blankLine();
    }
    return writer.data();
}

using PaperKey = std::pair<QString, QString>;

} // namespace

std::map<QString, QByteArray> exportSources(const BankTables& bank, QStringList* warnings)
{
    std::map<QString, QByteArray> files;
    files[QStringLiteral("memo.txt")] = memoSource(bank.memo, warnings);
    files[QStringLiteral("papers.txt")] = paperListSource(bank.paperLists, warnings);

    // The build keeps the order of each table's rows as the sources give them. One file per paper
    // keeps that order when every table holds its papers in one common order; otherwise one file
    // walks the tables row by row.
    std::vector<PaperKey> papers;
    bool grouped = true;
    for (const TableData& table : bank.questions) {
        noteUnknownColumns(table, BankSchema::questionColumns(table.name), warnings);
        int lastPaper = -1;
        for (int row = 0; row < int(table.rows.size()); ++row) {
            const PaperKey key{table.text(row, QStringLiteral("kemu")),
                               table.text(row, QStringLiteral("tao"))};
            auto it = std::find(papers.begin(), papers.end(), key);
            if (it == papers.end())
                it = papers.insert(papers.end(), key);
            const int paper = int(it - papers.begin());
            if (paper < lastPaper)
                grouped = false;
            lastPaper = paper;
        }
    }

    if (grouped) {
        const int width = std::max(2, int(QString::number(papers.size()).size()));
        for (size_t p = 0; p < papers.size(); ++p) {
            SourceWriter writer;
            writePaperHeader(writer, papers[p].first, papers[p].second);
            for (const TableData& table : bank.questions) {
                for (int row = 0; row < int(table.rows.size()); ++row) {
                    if (PaperKey{table.text(row, QStringLiteral("kemu")),
                                 table.text(row, QStringLiteral("tao"))} == papers[p])
                        writeQuestion(writer, table, row);
                }
            }
            files[QStringLiteral("paper-%1.txt").arg(p + 1, width, 10, QLatin1Char('0'))] = writer.data();
        }
    } else {
        SourceWriter writer;
        writer.comment(QStringLiteral("The questions, table by table in the order of the bank."));
        for (const TableData& table : bank.questions) {
            std::optional<PaperKey> current;
            for (int row = 0; row < int(table.rows.size()); ++row) {
                const PaperKey key{table.text(row, QStringLiteral("kemu")),
                                   table.text(row, QStringLiteral("tao"))};
                if (!current || *current != key) {
                    writePaperHeader(writer, key.first, key.second);
                    current = key;
                }
                writeQuestion(writer, table, row);
            }
        }
        files[QStringLiteral("questions.txt")] = writer.data();
    }

    if (!bank.paperCounts.rows.empty())
        files[QStringLiteral("counts.txt")] = paperCountsSource(bank.paperCounts, warnings);

    if (!bank.journal.rows.empty()) {
        SourceWriter writer;
        writer.comment(QStringLiteral("Journal-entry lines (dtxx)."));
        for (int row = 0; row < int(bank.journal.rows.size()); ++row) {
            writer.section(QStringLiteral("dtxx"));
            for (const QString& column : BankSchema::journalLineColumns()) {
                if (bank.journal.columnIndex(column) < 0)
                    continue;
                const QString value = bank.journal.text(row, column);
                if (!value.isEmpty())
                    writer.textField(column, value);
            }
            writer.blankLine();
        }
        files[QStringLiteral("dtxx.txt")] = writer.data();
    }
    return files;
}

void writeSources(const std::map<QString, QByteArray>& files, const QString& folder)
{
    if (!QDir().mkpath(folder))
        throw AppError(QStringLiteral("cannot create the folder %1").arg(QDir::toNativeSeparators(folder)));
    QDirIterator existing(folder, {QStringLiteral("*.txt")}, QDir::Files, QDirIterator::Subdirectories);
    if (existing.hasNext())
        throw AppError(QStringLiteral("%1 already holds source files (%2); export into an empty folder")
                           .arg(QDir::toNativeSeparators(folder), QDir::toNativeSeparators(existing.next())));
    for (const auto& [name, data] : files) {
        QSaveFile file(QDir(folder).filePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size() || !file.commit())
            throw AppError(QStringLiteral("cannot write %1: %2")
                               .arg(QDir::toNativeSeparators(file.fileName()), file.errorString()));
    }
}

} // namespace tarnex::bank
