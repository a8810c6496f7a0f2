#include "TemplateWriter.h"

#include "ExchangeText.h"
#include "TemplateReader.h"
#include "platform/AppError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <xlsxwriter.h>

#include <filesystem>

namespace tarnex::bank::Template {
namespace {

// The most characters a cell holds (Excel's limit, checked by libxlsxwriter).
constexpr qsizetype MaxCellText = 32767;

QString richCell(const QByteArray& stored, bool* lost)
{
    const QString text = plainTextOfStored(stored);
    if (lost && !stored.isEmpty() && storedFromPlainText(text) != stored)
        *lost = true;
    return text;
}

QString temporaryPath(const QString& path)
{
    const QFileInfo info(path);
    for (;;) {
        const QString candidate =
            info.dir().filePath(QStringLiteral(".%1.%2.part")
                                    .arg(info.fileName())
                                    .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0')));
        if (!QFileInfo::exists(candidate))
            return candidate;
    }
}

class Workbook
{
public:
    explicit Workbook(const QString& path) : m_path(QFile::encodeName(path))
    {
        lxw_workbook_options options{};
        m_workbook = workbook_new_opt(m_path.constData(), &options);
        if (!m_workbook)
            throw AppError(
                QStringLiteral("cannot create the workbook %1").arg(QDir::toNativeSeparators(path)));
    }
    ~Workbook()
    {
        if (m_workbook)
            workbook_close(m_workbook);
    }
    Workbook(const Workbook&) = delete;
    Workbook& operator=(const Workbook&) = delete;

    lxw_workbook* get() const { return m_workbook; }

    void close()
    {
        const lxw_error error = workbook_close(m_workbook);
        m_workbook = nullptr;
        if (error != LXW_NO_ERROR)
            throw AppError(
                QStringLiteral("cannot write the workbook: %1").arg(QString::fromUtf8(lxw_strerror(error))));
    }

private:
    QByteArray m_path;
    lxw_workbook* m_workbook = nullptr;
};

void check(lxw_error error, const QString& what)
{
    if (error != LXW_NO_ERROR)
        throw AppError(QStringLiteral("%1: %2").arg(what, QString::fromUtf8(lxw_strerror(error))));
}

QByteArray sheetName(lxw_workbook* workbook, const QString& paper)
{
    QString name = paper.left(LXW_SHEETNAME_MAX);
    name.removeIf([](QChar c) { return QStringLiteral("[]:*?/\\").contains(c) || c.unicode() < 0x20; });
    QByteArray encoded = name.trimmed().toUtf8();
    if (encoded.isEmpty() || name.startsWith(u'\'') || name.endsWith(u'\'') ||
        workbook_validate_sheet_name(workbook, encoded.constData()) != LXW_NO_ERROR)
        encoded = QStringLiteral("题目").toUtf8();
    return encoded;
}

} // namespace

QStringList cellsOf(const ExchangeQuestion& question, bool* lostFormatting)
{
    QString answer;
    if (question.kind == u"sf")
        answer = question.da == u"a"   ? QStringLiteral("正确")
                 : question.da == u"b" ? QStringLiteral("错误")
                                       : question.da;
    else
        answer = displayLetters(question.da);
    QStringList cells = {kindTitle(question.kind),
                         question.number,
                         richCell(question.tou, lostFormatting),
                         richCell(question.wei, lostFormatting),
                         answer,
                         richCell(question.ping, lostFormatting),
                         question.kind == u"jsfx" ? question.leixing : QString()};
    for (const QString& sub : question.subAnswers)
        cells.append(displayLetters(sub));
    return cells;
}

void writeWorkbook(const ExchangePaper& paper, const QString& path, QStringList* warnings)
{
    const QString temporary = temporaryPath(path);
    try {
        Workbook workbook(temporary);
        lxw_worksheet* sheet =
            workbook_add_worksheet(workbook.get(), sheetName(workbook.get(), paper.name).constData());
        if (!sheet)
            throw AppError(
                QStringLiteral("cannot add a worksheet to %1").arg(QDir::toNativeSeparators(path)));
        lxw_format* header = workbook_add_format(workbook.get());
        format_set_bold(header);
        format_set_bottom(header, LXW_BORDER_THIN);
        lxw_format* body = workbook_add_format(workbook.get());
        format_set_text_wrap(body);
        format_set_align(body, LXW_ALIGN_VERTICAL_TOP);

        const QStringList& names = columns();
        static const double widths[] = {9, 6, 50, 36, 8, 40, 8, 10, 10, 10, 10, 10};
        for (int c = 0; c < names.size(); ++c) {
            check(worksheet_set_column(sheet, lxw_col_t(c), lxw_col_t(c), widths[c], body),
                  QStringLiteral("column width"));
            check(worksheet_write_string(sheet, 0, lxw_col_t(c), names.at(c).toUtf8().constData(), header),
                  QStringLiteral("header"));
        }
        worksheet_freeze_panes(sheet, 1, 0);

        int lost = 0;
        lxw_row_t row = 1;
        for (const ExchangeQuestion& question : paper.questions) {
            bool lostHere = false;
            const QStringList cells = cellsOf(question, &lostHere);
            lost += lostHere ? 1 : 0;
            for (int c = 0; c < cells.size(); ++c) {
                if (cells.at(c).isEmpty())
                    continue;
                if (cells.at(c).size() > MaxCellText)
                    throw AppError(
                        QStringLiteral(
                            "%1 / %2 question %3: %4 has %5 characters, more than a cell holds (%6)")
                            .arg(paper.subject, paper.name, question.number, names.at(c))
                            .arg(cells.at(c).size())
                            .arg(MaxCellText));
                check(
                    worksheet_write_string(sheet, row, lxw_col_t(c), cells.at(c).toUtf8().constData(), body),
                    QStringLiteral("question %1").arg(question.number));
            }
            ++row;
        }
        workbook.close();
        if (lost > 0 && warnings)
            warnings->append(
                QStringLiteral("%1 / %2: %3 question(s) have formatting, pictures or tables that a "
                               "workbook cell cannot carry; their plain text is written")
                    .arg(paper.subject, paper.name)
                    .arg(lost));
        std::error_code error;
        std::filesystem::rename(QFileInfo(temporary).filesystemFilePath(),
                                QFileInfo(path).filesystemFilePath(), error);
        if (error)
            throw AppError(QStringLiteral("cannot move the workbook to %1: %2")
                               .arg(QDir::toNativeSeparators(path), QString::fromStdString(error.message())));
    } catch (...) {
        QFile::remove(temporary);
        throw;
    }
}

} // namespace tarnex::bank::Template
