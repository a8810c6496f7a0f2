#include "BankBuilder.h"

#include "data/BankSchema.h"
#include "data/Database.h"
#include "data/StoredText.h"
#include "platform/AppError.h"
#include "richtext/RtfWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QImage>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextImageFormat>
#include <QUrl>

#include <filesystem>
#include <optional>

namespace tarnex::bank {
namespace {

[[noreturn]] void failAt(const SourcePlace& place, const QString& message)
{
    throw AppError(place.toString() + QStringLiteral(": ") + message);
}

TableData emptyTable(const QString& name, const QStringList& columns, bool oneRow)
{
    TableData table;
    table.name = name;
    table.columns = columns;
    if (oneRow)
        table.rows.push_back(QVariantList(columns.size(), QVariant(QStringLiteral(""))));
    return table;
}

QString withCrLf(const QString& text)
{
    QString out = text;
    out.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    return out;
}

struct PaperContext
{
    QString kemu;
    QString tao;
};

class SourceConverter
{
public:
    SourceConverter()
    {
        m_content.memo = emptyTable(QStringLiteral("tb_memo"), BankSchema::memoColumns(), true);
        m_content.paperLists = emptyTable(QStringLiteral("memo_temp"), BankSchema::paperListColumns(), true);
        for (const QString& table : BankSchema::questionTables())
            m_content.questions.push_back(emptyTable(table, BankSchema::questionColumns(table), false));
        m_content.journal = emptyTable(QStringLiteral("dtxx"), BankSchema::journalLineColumns(), false);
        m_content.paperCounts =
            emptyTable(BankSchema::paperCountsTable(), BankSchema::paperCountsColumns(), false);
    }

    void addFile(const SourceFile& file)
    {
        m_paper.reset(); // every file names its own paper
        m_folder = QFileInfo(file.path).absolutePath();
        for (const SourceSection& section : file.sections)
            addSection(section);
    }

    BankTables take() { return std::move(m_content); }

private:
    void addSection(const SourceSection& section)
    {
        const QString& kind = section.kind;
        if (BankSchema::questionTables().contains(kind)) {
            addQuestion(section);
            return;
        }
        if (kind == u"counts") {
            addCounts(section);
            return;
        }
        static const QStringList known = {u"memo"_qs, u"papers"_qs, u"paper"_qs, u"dtxx"_qs};
        if (!known.contains(kind))
            failAt(section.place,
                   QStringLiteral("unknown section [%1] (known: memo, papers, paper, dds, duo, sf, "
                                  "jsfx, anli, ws, dtxx, counts)")
                       .arg(kind));
        if (section.hasArgument)
            failAt(section.place, QStringLiteral("[%1] takes no argument").arg(kind));
        if (kind == u"memo")
            addSingleRow(section, m_content.memo, m_memoSeen, true);
        else if (kind == u"papers")
            addSingleRow(section, m_content.paperLists, m_papersSeen, false);
        else if (kind == u"paper")
            addPaper(section);
        else
            addJournalLine(section);
    }

    static void requirePlainForm(const SourceField& field)
    {
        if (!field.form.isEmpty())
            failAt(field.place, QStringLiteral("field %1 has no form .%2").arg(field.name, field.form));
    }

    void addSingleRow(const SourceSection& section, TableData& table, QHash<QString, SourcePlace>& seen,
                      bool storedText)
    {
        for (const SourceField& field : section.fields) {
            int index = table.columnIndex(field.name);
            if (index < 0 && &table == &m_content.paperLists)
                index = addPaperListColumn(field.name);
            if (index < 0)
                failAt(field.place,
                       QStringLiteral("[%1] has no field %2 (fields: %3)")
                           .arg(section.kind, field.name, fieldNames(table).join(QStringLiteral(", "))));
            const bool encoded = storedText && BankSchema::storedTextMemoColumns().contains(field.name);
            if (!field.form.isEmpty() && !(encoded && field.form == u"raw"))
                failAt(field.place, QStringLiteral("field %1 has no form .%2").arg(field.name, field.form));
            if (seen.contains(field.name))
                failAt(field.place, QStringLiteral("%1 is already given at %2")
                                        .arg(field.name, seen.value(field.name).toString()));
            seen.insert(field.name, field.place);

            QString value = field.text();
            if (!field.exact && field.form.isEmpty() && isCrLfColumn(table.name, field.name))
                value = withCrLf(value);
            if (encoded && field.form.isEmpty())
                value = EncodeStoredText(value);
            table.rows.front()[index] = value;
        }
    }

    // The column of a subject that not every bank offers is made only when the sources list its
    // papers, so that a bank without it stays as the program has always read it.
    int addPaperListColumn(const QString& column)
    {
        if (BankSchema::subjectOfPaperListColumn(column).isEmpty())
            return -1;
        TableData& table = m_content.paperLists;
        table.columns.append(column);
        table.rows.front().append(QStringLiteral(""));
        return int(table.columns.size()) - 1;
    }

    QStringList fieldNames(const TableData& table) const
    {
        if (&table != &m_content.paperLists)
            return table.columns;
        QStringList names;
        for (const BankSchema::SubjectPapers& subject : BankSchema::subjects())
            names.append(subject.column);
        return names;
    }

    void addCounts(const SourceSection& section)
    {
        const QString subject = section.argument;
        if (!section.hasArgument || subject.trimmed().isEmpty())
            failAt(section.place, QStringLiteral("[counts] needs the subject: [counts 会计基础]"));
        if (m_countsSeen.contains(subject))
            failAt(section.place, QStringLiteral("the counts of %1 are already given at %2")
                                      .arg(subject, m_countsSeen.value(subject).toString()));
        m_countsSeen.insert(subject, section.place);

        TableData& table = m_content.paperCounts;
        // A kind the section does not name has no questions in a full paper.
        QVariantList row(table.columns.size(), QVariant(0));
        row[0] = subject;
        QHash<QString, SourcePlace> seen;
        for (const SourceField& field : section.fields) {
            requirePlainForm(field);
            const int index = table.columnIndex(field.name);
            if (index <= 0)
                failAt(field.place, QStringLiteral("[counts] has the fields %1")
                                        .arg(BankSchema::questionTables().join(QStringLiteral(", "))));
            if (seen.contains(field.name))
                failAt(field.place, QStringLiteral("%1 is already given at %2")
                                        .arg(field.name, seen.value(field.name).toString()));
            seen.insert(field.name, field.place);
            bool ok = false;
            const int count = field.text().toInt(&ok);
            static const QRegularExpression digits(QStringLiteral("^[0-9]{1,4}$"));
            if (!ok || !digits.match(field.text()).hasMatch())
                failAt(field.place, QStringLiteral("%1: \"%2\" is not a number of questions (0 to 9999)")
                                        .arg(field.name, field.text()));
            row[index] = count;
        }
        table.rows.push_back(std::move(row));
    }

    void addPaper(const SourceSection& section)
    {
        std::optional<QString> kemu;
        std::optional<QString> tao;
        for (const SourceField& field : section.fields) {
            requirePlainForm(field);
            std::optional<QString>* target = field.name == u"kemu"  ? &kemu
                                             : field.name == u"tao" ? &tao
                                                                    : nullptr;
            if (!target)
                failAt(field.place, QStringLiteral("[paper] has only the fields kemu and tao"));
            if (target->has_value())
                failAt(field.place, QStringLiteral("%1 is given twice in this [paper]").arg(field.name));
            *target = field.text();
        }
        if (!kemu || !tao)
            failAt(section.place, QStringLiteral("[paper] needs both kemu and tao"));
        m_paper = PaperContext{*kemu, *tao};
    }

    void addQuestion(const SourceSection& section)
    {
        if (!m_paper)
            failAt(section.place,
                   QStringLiteral("[%1] before any [paper] in this file: give kemu and tao first")
                       .arg(section.kind));
        TableData& table = m_content.questionTable(section.kind);
        QVariantList row(table.columns.size(), QVariant(QStringLiteral("")));
        row[table.columnIndex(QStringLiteral("kemu"))] = m_paper->kemu;
        row[table.columnIndex(QStringLiteral("tao"))] = m_paper->tao;
        std::optional<QString> tihao;
        if (section.hasArgument)
            tihao = section.argument;

        QHash<QString, SourcePlace> seen;
        for (const SourceField& field : section.fields) {
            const int index = table.columnIndex(field.name);
            if (field.name == u"kemu" || field.name == u"tao")
                failAt(field.place, QStringLiteral("%1 comes from the [paper] section").arg(field.name));
            if (index < 0)
                failAt(field.place, QStringLiteral("[%1] has no field %2").arg(section.kind, field.name));
            if (seen.contains(field.name))
                failAt(field.place, QStringLiteral("%1 is already given at %2")
                                        .arg(field.name, seen.value(field.name).toString()));
            seen.insert(field.name, field.place);

            if (field.name == u"tihao") {
                requirePlainForm(field);
                if (section.hasArgument)
                    failAt(field.place, QStringLiteral("the number is already given in the header"));
                tihao = field.text();
                continue;
            }
            if (!isRichColumn(field.name)) {
                requirePlainForm(field);
                row[index] = field.text();
                continue;
            }
            row[index] = richValue(field);
        }
        if (!tihao)
            failAt(section.place,
                   QStringLiteral("[%1] needs a number: [%1 N] or a tihao field").arg(section.kind));
        row[table.columnIndex(QStringLiteral("tihao"))] = *tihao;
        table.rows.push_back(std::move(row));
    }

    QVariant richValue(const SourceField& field)
    {
        if (field.value.isEmpty())
            return QStringLiteral("");
        if (field.form == u"rtf")
            return field.value;
        if (field.form.isEmpty())
            return richTextFromPlain(field.text());
        if (field.form == u"html") {
            try {
                return richTextFromHtml(field.text(), m_folder);
            } catch (const AppError& error) {
                failAt(field.place, error.message());
            }
        }
        failAt(field.place, QStringLiteral("%1 has the forms %1:, %1.html: and %1.rtf:").arg(field.name));
    }

    void addJournalLine(const SourceSection& section)
    {
        TableData& table = m_content.journal;
        QVariantList row(table.columns.size(), QVariant(QStringLiteral("")));
        QHash<QString, SourcePlace> seen;
        for (const SourceField& field : section.fields) {
            requirePlainForm(field);
            const int index = table.columnIndex(field.name);
            if (index < 0)
                failAt(field.place, QStringLiteral("[dtxx] has no field %1").arg(field.name));
            if (seen.contains(field.name))
                failAt(field.place, QStringLiteral("%1 is already given at %2")
                                        .arg(field.name, seen.value(field.name).toString()));
            seen.insert(field.name, field.place);
            row[index] = field.text();
        }
        table.rows.push_back(std::move(row));
    }

    BankTables m_content;
    std::optional<PaperContext> m_paper;
    QString m_folder;
    QHash<QString, SourcePlace> m_memoSeen;
    QHash<QString, SourcePlace> m_papersSeen;
    QHash<QString, SourcePlace> m_countsSeen;
};

void insertRows(Database& db, const TableData& table)
{
    QStringList names;
    QStringList marks;
    for (const QString& column : table.columns) {
        names.append(u'"' + column + u'"');
        marks.append(QStringLiteral("?"));
    }
    const QString sql =
        QStringLiteral("INSERT INTO \"%1\" (%2) VALUES (%3)")
            .arg(table.name, names.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")));
    for (const QVariantList& row : table.rows)
        db.execute(sql, row);
}

const QStringList& sidecarSuffixes()
{
    static const QStringList suffixes = {QStringLiteral("-wal"), QStringLiteral("-shm"),
                                         QStringLiteral("-journal")};
    return suffixes;
}

void removeWithSidecars(const QString& path)
{
    QFile::remove(path);
    for (const QString& suffix : sidecarSuffixes())
        QFile::remove(path + suffix);
}

QString temporaryPath(const QString& folder, const char* fileName)
{
    for (;;) {
        const QString candidate =
            QDir(folder).filePath(QStringLiteral(".%1.%2.building")
                                      .arg(QString::fromLatin1(fileName))
                                      .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0')));
        if (!QFileInfo::exists(candidate))
            return candidate;
    }
}

// Closes the file completely: the log is folded into the database so that the file alone is the bank.
void finish(std::unique_ptr<Database>& db)
{
    // A built bank leaves the write-ahead log: without it the file reads in a folder nobody may
    // write (an installed program's), where no -shm file can be made. The program takes its own
    // copy back to the log when it opens it.
    db->queryText(QStringLiteral("PRAGMA journal_mode = DELETE"));
    const QString path = db->path();
    db.reset();
    for (const QString& suffix : sidecarSuffixes()) {
        if (QFileInfo(path + suffix).size() > 0)
            throw AppError(QStringLiteral("%1 was not closed cleanly").arg(QDir::toNativeSeparators(path)));
        QFile::remove(path + suffix);
    }
}

void moveIntoPlace(const QString& from, const QString& to)
{
    // A log left beside the old file would be replayed into the new one.
    for (const QString& suffix : sidecarSuffixes()) {
        if (QFileInfo::exists(to + suffix) && !QFile::remove(to + suffix))
            throw AppError(QStringLiteral("cannot remove %1").arg(QDir::toNativeSeparators(to + suffix)));
    }
    std::error_code error;
    std::filesystem::rename(QFileInfo(from).filesystemFilePath(), QFileInfo(to).filesystemFilePath(), error);
    if (error)
        throw AppError(QStringLiteral("cannot move the new bank to %1: %2")
                           .arg(QDir::toNativeSeparators(to), QString::fromStdString(error.message())));
}

} // namespace

bool isCrLfColumn(const QString& table, const QString& column)
{
    if (table == u"tb_memo")
        return column == u"memo1" || BankSchema::storedTextMemoColumns().contains(column);
    return table == u"memo_temp";
}

bool isRichColumn(const QString& column)
{
    return column == u"tou" || column == u"wei" || column == u"ping";
}

QByteArray richTextFromPlain(const QString& text)
{
    QTextDocument document;
    document.setPlainText(text);
    return writeRtf(document);
}

QByteArray richTextFromHtml(const QString& html, const QString& baseFolder)
{
    QTextDocument document;
    document.setHtml(html);
    // Pictures are loaded here, relative to the source file, so that a missing one is an error
    // instead of an empty frame in the bank.
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (!format.isImageFormat())
                continue;
            const QString name = format.toImageFormat().name();
            const QUrl url(name);
            const QString path = url.isLocalFile()            ? url.toLocalFile()
                                 : QDir::isAbsolutePath(name) ? name
                                                              : QDir(baseFolder).filePath(name);
            QImage image;
            if (!image.load(path))
                throw AppError(
                    QStringLiteral("cannot load the picture %1").arg(QDir::toNativeSeparators(path)));
            document.addResource(QTextDocument::ImageResource, url, image);
        }
    }
    return writeRtf(document);
}

BankTables contentFromSources(const std::vector<SourceFile>& files)
{
    SourceConverter converter;
    for (const SourceFile& file : files)
        converter.addFile(file);
    return converter.take();
}

void writeBank(const BankTables& content, const QString& folder)
{
    if (!QDir().mkpath(folder))
        throw AppError(QStringLiteral("cannot create the folder %1").arg(QDir::toNativeSeparators(folder)));
    const QString bankTemp = temporaryPath(folder, QuestionBankFile);
    const QString listsTemp = temporaryPath(folder, PaperListFile);
    try {
        auto bank =
            Database::open(bankTemp, QByteArray(Database::BankPassword), Database::OpenMode::CreateIfMissing);
        BankSchema::createQuestionBank(*bank);
        {
            Database::Transaction transaction(*bank);
            bank->execute(QStringLiteral("DELETE FROM tb_memo"));
            insertRows(*bank, content.memo);
            for (const TableData& table : content.questions)
                insertRows(*bank, table);
            insertRows(*bank, content.journal);
            insertRows(*bank, content.paperCounts);
            transaction.commit();
        }
        finish(bank);

        auto lists = Database::open(listsTemp, {}, Database::OpenMode::CreateIfMissing);
        BankSchema::createPaperLists(*lists, content.paperLists.columns);
        {
            Database::Transaction transaction(*lists);
            lists->execute(QStringLiteral("DELETE FROM memo_temp"));
            insertRows(*lists, content.paperLists);
            transaction.commit();
        }
        finish(lists);

        // Both files or neither: what would stop the second move is found before the first.
        for (const QString& target : {questionBankPath(folder), paperListPath(folder)}) {
            const QFileInfo info(target);
            if (info.exists() && !info.isFile())
                throw AppError(
                    QStringLiteral("%1 exists and is not a file").arg(QDir::toNativeSeparators(target)));
        }
        moveIntoPlace(bankTemp, questionBankPath(folder));
        moveIntoPlace(listsTemp, paperListPath(folder));
    } catch (...) {
        removeWithSidecars(bankTemp);
        removeWithSidecars(listsTemp);
        throw;
    }
}

} // namespace tarnex::bank
