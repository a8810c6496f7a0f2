#include "ExchangeExport.h"

#include "BankFiles.h"
#include "MoodleWriter.h"
#include "TemplateWriter.h"
#include "data/BankSchema.h"
#include "platform/AppError.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace tarnex::bank {
namespace {

ExchangeQuestion questionOf(const TableData& table, int row)
{
    ExchangeQuestion question;
    question.kind = table.name;
    auto text = [&](const QString& column) {
        return table.columnIndex(column) < 0 ? QString() : table.text(row, column);
    };
    auto bytes = [&](const QString& column) {
        return table.columnIndex(column) < 0 ? QByteArray() : table.bytes(row, column);
    };
    question.number = text(QStringLiteral("tihao"));
    question.row = row + 1;
    question.tou = bytes(QStringLiteral("tou"));
    question.wei = bytes(QStringLiteral("wei"));
    question.ping = bytes(QStringLiteral("ping"));
    question.da = text(QStringLiteral("da"));
    question.leixing = text(QStringLiteral("leixing"));
    for (int i = 0; i < 5; ++i)
        question.subAnswers[size_t(i)] = text(QStringLiteral("da%1").arg(i + 1));
    return question;
}

void writeFile(const QString& path, const QByteArray& data)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size() || !file.commit())
        throw AppError(
            QStringLiteral("cannot write %1: %2").arg(QDir::toNativeSeparators(path), file.errorString()));
}

} // namespace

QString safeFileName(const QString& name)
{
    QString safe = name;
    for (QChar& c : safe) {
        if (c.unicode() < 0x20 || QStringLiteral("/\\:*?\"<>|").contains(c))
            c = u'_';
    }
    while (safe.endsWith(u'.') || safe.endsWith(u' '))
        safe.chop(1);
    while (safe.startsWith(u'.') || safe.startsWith(u' '))
        safe.remove(0, 1);
    return safe.isEmpty() ? QStringLiteral("_") : safe;
}

std::vector<ExchangePaper> papersOfBank(const BankTables& bank)
{
    std::vector<ExchangePaper> papers;
    auto paperOf = [&](const QString& subject, const QString& name) -> ExchangePaper& {
        for (ExchangePaper& paper : papers) {
            if (paper.subject == subject && paper.name == name)
                return paper;
        }
        papers.push_back({subject, name, {}});
        return papers.back();
    };
    for (const QString& kind : BankSchema::questionTables()) {
        const TableData& table = bank.questionTable(kind);
        for (int row = 0; row < int(table.rows.size()); ++row)
            paperOf(table.text(row, QStringLiteral("kemu")), table.text(row, QStringLiteral("tao")))
                .questions.push_back(questionOf(table, row));
    }
    return papers;
}

QStringList writeExchangeFiles(const std::vector<ExchangePaper>& papers, const QString& folder,
                               ExchangeFormat format, QStringList* warnings)
{
    // File name -> the papers it holds, in order.
    std::vector<std::pair<QString, std::vector<const ExchangePaper*>>> files;
    auto fileFor = [&](const QString& base) -> std::vector<const ExchangePaper*>& {
        for (auto& [name, list] : files) {
            if (name == base)
                return list;
        }
        files.push_back({base, {}});
        return files.back().second;
    };
    QStringList taken;
    for (const ExchangePaper& paper : papers) {
        if (format == ExchangeFormat::Moodle) {
            fileFor(safeFileName(paper.subject) + QStringLiteral(".xml")).push_back(&paper);
            continue;
        }
        // Two names that differ only in characters a file name cannot hold get their own files.
        const QString stem = safeFileName(paper.subject) + u'-' + safeFileName(paper.name);
        QString name = stem + QStringLiteral(".xlsx");
        for (int n = 2; taken.contains(name, Qt::CaseInsensitive); ++n)
            name = QStringLiteral("%1-%2.xlsx").arg(stem).arg(n);
        taken.append(name);
        fileFor(name).push_back(&paper);
    }

    if (!QDir().mkpath(folder))
        throw AppError(QStringLiteral("cannot create the folder %1").arg(QDir::toNativeSeparators(folder)));
    for (const auto& [name, list] : files) {
        const QString path = QDir(folder).filePath(name);
        if (QFileInfo::exists(path))
            throw AppError(QStringLiteral("%1 exists already; export into a folder without it")
                               .arg(QDir::toNativeSeparators(path)));
    }
    QStringList written;
    for (const auto& [name, list] : files) {
        const QString path = QDir(folder).filePath(name);
        if (format == ExchangeFormat::Xlsx) {
            Template::writeWorkbook(*list.front(), path, warnings);
        } else {
            std::vector<ExchangePaper> subjectPapers;
            for (const ExchangePaper* paper : list)
                subjectPapers.push_back(*paper);
            writeFile(path, writeMoodle(subjectPapers, warnings));
        }
        written.append(name);
    }
    return written;
}

} // namespace tarnex::bank
