#include "SheetReader.h"

#include "platform/CodePage.h"

#include <QStringDecoder>

namespace tarnex::bank {
namespace {

QString decodeCsv(const QByteArray& data)
{
    if (data.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(data.mid(3));
    if (data.startsWith("\xFF\xFE") || data.startsWith("\xFE\xFF")) {
        QStringDecoder decoder(data.startsWith("\xFF\xFE") ? QStringConverter::Utf16LE
                                                           : QStringConverter::Utf16BE);
        QString text = decoder.decode(data.mid(2));
        // The decoder passes a lone surrogate through; it is no character of any cell.
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
                ++i;
            else if (text.at(i).isSurrogate())
                text[i] = QChar::ReplacementCharacter;
        }
        return text;
    }
    QStringDecoder utf8(QStringConverter::Utf8);
    const QString text = utf8.decode(data);
    if (!utf8.hasError())
        return text;
    // Older spreadsheet programs write CSV in the ANSI code page of a Chinese system.
    return CodePage::decode(data, CodePage::Ansi);
}

// Whether the first record separates its fields by tabs and none by commas (outside quotes).
bool firstLineIsTabSeparated(const QString& text)
{
    bool quoted = false;
    bool tabs = false;
    for (const QChar c : text) {
        if (c == u'"')
            quoted = !quoted;
        else if (quoted)
            continue;
        else if (c == u'\n' || c == u'\r')
            break;
        else if (c == u',')
            return false;
        else if (c == u'\t')
            tabs = true;
    }
    return tabs;
}

} // namespace

Sheet readCsv(const QByteArray& data, Diagnostics& diagnostics)
{
    const QString text = decodeCsv(data);
    qsizetype pos = 0;
    QChar separator = u',';
    // Excel's hint line "sep=;" names the separator and is no row.
    if (text.startsWith(QLatin1String("sep="), Qt::CaseInsensitive) && text.size() > 4 &&
        text.at(4) != u'\r' && text.at(4) != u'\n') {
        separator = text.at(4);
        pos = 5;
        while (pos < text.size() && text.at(pos) != u'\n')
            ++pos;
        ++pos;
    } else if (firstLineIsTabSeparated(text)) {
        separator = u'\t'; // "Unicode text" of Excel
    }

    Sheet sheet;
    SheetRow row{1, {}};
    int column = 0;
    QString field;
    bool quoted = false;    // inside a quoted field
    bool fieldText = false; // the field has started (a quote now is literal)
    auto endField = [&] {
        if (!field.isEmpty())
            row.cells[column] = field;
        field.clear();
        ++column;
        fieldText = false;
    };
    auto endRow = [&] {
        endField();
        sheet.rows.push_back(std::move(row));
        row = SheetRow{int(sheet.rows.size()) + 1, {}};
        column = 0;
    };
    const qsizetype size = text.size();
    for (; pos < size; ++pos) {
        const QChar c = text.at(pos);
        if (quoted) {
            if (c != u'"') {
                field += c;
            } else if (pos + 1 < size && text.at(pos + 1) == u'"') {
                field += c;
                ++pos;
            } else {
                quoted = false;
            }
            continue;
        }
        if (c == separator) {
            endField();
        } else if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && pos + 1 < size && text.at(pos + 1) == u'\n')
                ++pos;
            endRow();
        } else if (c == u'"' && !fieldText) {
            quoted = true;
            fieldText = true;
        } else {
            // Text after a closing quote is kept, as spreadsheet programs do.
            field += c;
            fieldText = true;
        }
    }
    if (quoted)
        diagnostics.error(row.number, QStringLiteral("a quoted cell is not closed: a \" is missing"));
    if (!field.isEmpty() || column > 0 || quoted || fieldText)
        endRow();
    return sheet;
}

} // namespace tarnex::bank
