#include "SheetReader.h"

#include "platform/AppError.h"
#include "platform/TextUtil.h"

#include <QHash>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <zip.h>

#include <algorithm>
#include <cmath>
#include <optional>

namespace tarnex::bank {
namespace {

// No part of a question workbook comes near this; a larger one is refused rather than inflated.
constexpr qint64 MaxPartSize = 64 * 1024 * 1024;
constexpr int MaxColumns = 16384; // XFD
constexpr int MaxRows = 1048576;

// A zip archive in memory, read through libzip.
class ZipArchive
{
public:
    explicit ZipArchive(const QByteArray& data)
    {
        zip_error_t error;
        zip_error_init(&error);
        zip_source_t* source =
            zip_source_buffer_create(data.constData(), zip_uint64_t(data.size()), 0, &error);
        if (source)
            m_archive = zip_open_from_source(source, ZIP_RDONLY, &error);
        if (!m_archive) {
            const QString why = QString::fromLocal8Bit(zip_error_strerror(&error));
            if (source)
                zip_source_free(source);
            zip_error_fini(&error);
            throw AppError(
                QStringLiteral("not an .xlsx workbook: the zip archive cannot be opened (%1)").arg(why));
        }
        zip_error_fini(&error);
    }

    ~ZipArchive() { zip_discard(m_archive); }
    ZipArchive(const ZipArchive&) = delete;
    ZipArchive& operator=(const ZipArchive&) = delete;

    // The bytes of a member, or nothing when the archive has none of that name (case ignored, as
    // the part names of a package are).
    std::optional<QByteArray> read(const QString& name)
    {
        const QByteArray encoded = name.toUtf8();
        const zip_int64_t index =
            zip_name_locate(m_archive, encoded.constData(), ZIP_FL_NOCASE | ZIP_FL_ENC_UTF_8);
        if (index < 0)
            return std::nullopt;
        zip_stat_t stat;
        zip_stat_init(&stat);
        if (zip_stat_index(m_archive, zip_uint64_t(index), 0, &stat) == 0 && (stat.valid & ZIP_STAT_SIZE) &&
            stat.size > zip_uint64_t(MaxPartSize))
            throw AppError(QStringLiteral("%1 is too large (%2 bytes)").arg(name).arg(stat.size));
        zip_file_t* file = zip_fopen_index(m_archive, zip_uint64_t(index), 0);
        if (!file)
            throw AppError(QStringLiteral("%1 cannot be read: %2")
                               .arg(name, QString::fromLocal8Bit(zip_strerror(m_archive))));
        QByteArray bytes;
        char buffer[65536];
        for (;;) {
            const zip_int64_t n = zip_fread(file, buffer, sizeof buffer);
            if (n < 0) {
                const QString why = QString::fromLocal8Bit(zip_file_strerror(file));
                zip_fclose(file);
                throw AppError(QStringLiteral("%1 cannot be read: %2").arg(name, why));
            }
            if (n == 0)
                break;
            if (bytes.size() + n > MaxPartSize) {
                zip_fclose(file);
                throw AppError(QStringLiteral("%1 is too large").arg(name));
            }
            bytes.append(buffer, qsizetype(n));
        }
        zip_fclose(file);
        return bytes;
    }

private:
    zip_t* m_archive = nullptr;
};

[[noreturn]] void xmlFailure(const QString& part, const QXmlStreamReader& xml)
{
    throw AppError(QStringLiteral("%1 line %2: %3").arg(part).arg(xml.lineNumber()).arg(xml.errorString()));
}

// A part name relative to the folder of the part that refers to it ("worksheets/sheet1.xml" from
// "xl/workbook.xml"), or absolute ("/xl/worksheets/sheet1.xml").
QString resolvePart(const QString& from, const QString& target)
{
    QStringList parts;
    if (!target.startsWith(u'/')) {
        parts = from.split(u'/');
        parts.removeLast();
    }
    for (const QString& piece : target.split(u'/', Qt::SkipEmptyParts)) {
        if (piece == u"..") {
            if (!parts.isEmpty())
                parts.removeLast();
        } else if (piece != u".") {
            parts.append(piece);
        }
    }
    return parts.join(u'/');
}

// The folder of a part's relationships: "xl/_rels/workbook.xml.rels" for "xl/workbook.xml".
QString relationshipsOf(const QString& part)
{
    const qsizetype slash = part.lastIndexOf(u'/');
    return part.left(slash + 1) + QStringLiteral("_rels/") + part.mid(slash + 1) + QStringLiteral(".rels");
}

struct Relationship
{
    QString type;
    QString target;
};

QHash<QString, Relationship> readRelationships(ZipArchive& zip, const QString& part)
{
    QHash<QString, Relationship> relationships;
    const QString name = relationshipsOf(part);
    const std::optional<QByteArray> data = zip.read(name);
    if (!data)
        return relationships;
    QXmlStreamReader xml(*data);
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == u"Relationship") {
            const QXmlStreamAttributes attributes = xml.attributes();
            if (attributes.value(QLatin1String("TargetMode")) == u"External")
                continue;
            relationships.insert(attributes.value(QLatin1String("Id")).toString(),
                                 {attributes.value(QLatin1String("Type")).toString(),
                                  resolvePart(part, attributes.value(QLatin1String("Target")).toString())});
        }
    }
    if (xml.hasError())
        xmlFailure(name, xml);
    return relationships;
}

std::optional<QString> targetOfType(const QHash<QString, Relationship>& relationships, QStringView typeSuffix)
{
    for (const Relationship& relationship : relationships) {
        if (relationship.type.endsWith(typeSuffix))
            return relationship.target;
    }
    return std::nullopt;
}

// Text in OOXML escapes characters that XML cannot carry as _xHHHH_.
QString unescapeText(QString text)
{
    if (!text.contains(QLatin1String("_x")))
        return text;
    static const QRegularExpression escape(QStringLiteral("_x([0-9A-Fa-f]{4})_"));
    QString out;
    qsizetype last = 0;
    for (auto it = escape.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        out += QStringView(text).mid(last, match.capturedStart() - last);
        out += QChar(char16_t(match.captured(1).toUShort(nullptr, 16)));
        last = match.capturedEnd();
    }
    out += QStringView(text).mid(last);
    return out;
}

// The text of a string item (<si> or <is>): its <t> elements, directly or in runs <r>, without
// the phonetic runs <rPh>. The reader stands on the item's start and ends on its end.
QString readStringItem(QXmlStreamReader& xml)
{
    QString text;
    const QString item = xml.name().toString();
    while (xml.readNext() != QXmlStreamReader::Invalid) {
        if (xml.isEndElement() && xml.name() == item)
            break;
        if (!xml.isStartElement())
            continue;
        if (xml.name() == u"rPh" || xml.name() == u"phoneticPr")
            xml.skipCurrentElement();
        else if (xml.name() == u"t")
            text += xml.readElementText(QXmlStreamReader::SkipChildElements);
    }
    return unescapeText(text);
}

QStringList readSharedStrings(ZipArchive& zip, const QString& part)
{
    QStringList strings;
    const std::optional<QByteArray> data = zip.read(part);
    if (!data)
        return strings;
    QXmlStreamReader xml(*data);
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == u"si")
            strings.append(readStringItem(xml));
    }
    if (xml.hasError())
        xmlFailure(part, xml);
    return strings;
}

// The column of a cell reference ("C12" -> 2), or -1 for one that is not a reference.
int columnOf(QStringView reference)
{
    int column = 0;
    qsizetype i = 0;
    for (; i < reference.size() && reference[i].isLetter(); ++i) {
        const char16_t c = reference[i].toUpper().unicode();
        if (c < u'A' || c > u'Z')
            return -1;
        column = column * 26 + (c - u'A' + 1);
        if (column > MaxColumns)
            return -1;
    }
    if (i == 0)
        return -1;
    for (; i < reference.size(); ++i) {
        if (!reference[i].isDigit())
            return -1;
    }
    return column - 1;
}

// A number as its cell shows it in the General format: whole numbers without a decimal part.
QString numberText(const QString& raw)
{
    bool ok = false;
    const double value = raw.toDouble(&ok);
    if (ok && std::isfinite(value) && std::abs(value) < 1e15 && value == std::floor(value))
        return QString::number(qint64(value));
    return raw;
}

struct SheetPlace
{
    QString part;
    QString name;
};

SheetPlace firstSheet(ZipArchive& zip, const QString& workbookPart)
{
    const std::optional<QByteArray> data = zip.read(workbookPart);
    if (!data)
        throw AppError(QStringLiteral("not an .xlsx workbook: it has no part %1").arg(workbookPart));
    QXmlStreamReader xml(*data);
    QString relationId;
    QString name;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == u"sheet") {
            name = xml.attributes().value(QLatin1String("name")).toString();
            for (const QXmlStreamAttribute& attribute : xml.attributes()) {
                if (attribute.name() == u"id" && !attribute.namespaceUri().isEmpty())
                    relationId = attribute.value().toString();
            }
            break;
        }
    }
    if (xml.hasError())
        xmlFailure(workbookPart, xml);
    if (relationId.isEmpty())
        throw AppError(QStringLiteral("%1 names no worksheet").arg(workbookPart));
    const QHash<QString, Relationship> relationships = readRelationships(zip, workbookPart);
    const auto it = relationships.constFind(relationId);
    if (it == relationships.constEnd())
        throw AppError(QStringLiteral("%1: the worksheet %2 has no part (relationship %3)")
                           .arg(workbookPart, name, relationId));
    return {it->target, name};
}

Sheet readWorksheet(ZipArchive& zip, const QString& part, const QStringList& sharedStrings)
{
    const std::optional<QByteArray> data = zip.read(part);
    if (!data)
        throw AppError(QStringLiteral("the worksheet part %1 is missing").arg(part));
    Sheet sheet;
    QXmlStreamReader xml(*data);
    int rowNumber = 0;
    SheetRow* row = nullptr;
    int nextColumn = 0;
    auto fail = [&](const QString& why) {
        throw AppError(QStringLiteral("%1 line %2: %3").arg(part).arg(xml.lineNumber()).arg(why));
    };
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == u"row") {
            const QStringView r = xml.attributes().value(QLatin1String("r"));
            bool ok = true;
            const int number = r.isEmpty() ? rowNumber + 1 : r.toInt(&ok);
            if (!ok || number <= rowNumber || number > MaxRows)
                fail(QStringLiteral("row number \"%1\" out of order or out of range").arg(r.toString()));
            rowNumber = number;
            sheet.rows.push_back({number, {}});
            row = &sheet.rows.back();
            nextColumn = 0;
            continue;
        }
        if (xml.name() != u"c")
            continue;
        if (!row)
            fail(QStringLiteral("a cell outside any row"));
        const QXmlStreamAttributes attributes = xml.attributes();
        const QStringView reference = attributes.value(QLatin1String("r"));
        const int column = reference.isEmpty() ? nextColumn : columnOf(reference);
        if (column < 0 || column >= MaxColumns)
            fail(QStringLiteral("\"%1\" is not a cell reference").arg(reference.toString()));
        nextColumn = column + 1;
        const QString type = attributes.value(QLatin1String("t")).toString();

        QString value;
        bool inlineText = false;
        while (xml.readNext() != QXmlStreamReader::Invalid) {
            if (xml.isEndElement() && xml.name() == u"c")
                break;
            if (!xml.isStartElement())
                continue;
            if (xml.name() == u"v") {
                value = xml.readElementText(QXmlStreamReader::SkipChildElements);
            } else if (xml.name() == u"is") {
                value = readStringItem(xml);
                inlineText = true;
            } else {
                xml.skipCurrentElement();
            }
        }
        if (xml.hasError())
            break;

        QString text;
        if (type == u"s") {
            bool ok = false;
            const int index = value.trimmed().toInt(&ok);
            if (!ok || index < 0 || index >= sharedStrings.size())
                fail(
                    QStringLiteral("cell %1 refers to shared string \"%2\", which the workbook does not have")
                        .arg(reference.toString(), value));
            text = sharedStrings.at(index);
        } else if (type == u"inlineStr" || inlineText) {
            text = value;
        } else if (type == u"str") {
            text = unescapeText(value);
        } else if (type == u"b") {
            text = value.trimmed() == u"1" ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
        } else if (type == u"e" || type == u"d") {
            text = value;
        } else {
            text = numberText(value.trimmed());
        }
        if (!text.isEmpty())
            row->cells[column] = text;
    }
    if (xml.hasError())
        xmlFailure(part, xml);
    return sheet;
}

} // namespace

Sheet readXlsx(const QByteArray& data, Diagnostics& diagnostics)
{
    if (data.startsWith("\xD0\xCF\x11\xE0")) {
        diagnostics.error(0, QStringLiteral("this is an old .xls workbook or a password-protected one; "
                                            "save it as .xlsx (Excel 2007 and later) or as CSV"));
        return {};
    }
    try {
        ZipArchive zip(data);
        QString workbookPart = QStringLiteral("xl/workbook.xml");
        if (const auto target = targetOfType(readRelationships(zip, {}), u"/officeDocument"))
            workbookPart = *target;
        const SheetPlace sheet = firstSheet(zip, workbookPart);
        const auto relationships = readRelationships(zip, workbookPart);
        const QStringList strings =
            readSharedStrings(zip, targetOfType(relationships, u"/sharedStrings").value_or(QString()));
        return readWorksheet(zip, sheet.part, strings);
    } catch (const AppError& error) {
        diagnostics.error(0, error.message());
        return {};
    }
}

} // namespace tarnex::bank
