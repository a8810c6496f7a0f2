#include "ExchangeText.h"

#include "Exchange.h"
#include "platform/AppError.h"
#include "richtext/RtfDocumentBuilder.h"
#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QSet>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextFrame>
#include <QTextTable>
#include <QUrl>

namespace tarnex::bank {
namespace {

constexpr char16_t LineSeparator = 0x2028;
constexpr char16_t ObjectReplacement = 0xFFFC;
const QLatin1String PluginFile("@@PLUGINFILE@@");

// A picture larger than this is refused rather than decoded (the bank stores it as hex in RTF).
constexpr qint64 MaxPicturePixels = qint64(4096) * 4096;

QByteArray pictureBytes(const QString& source, const PictureFiles& files)
{
    if (source.startsWith(PluginFile)) {
        QString path = QUrl::fromPercentEncoding(source.mid(PluginFile.size()).toUtf8());
        if (!path.startsWith(u'/'))
            path.prepend(u'/');
        const auto it = files.constFind(path);
        if (it == files.constEnd())
            throw AppError(QStringLiteral("the picture %1 is not among the files of this text").arg(path));
        return *it;
    }
    if (source.startsWith(QLatin1String("data:"), Qt::CaseInsensitive)) {
        const qsizetype comma = source.indexOf(u',');
        if (comma < 0)
            throw AppError(QStringLiteral("a data: picture without data"));
        const QString header = source.mid(5, comma - 5);
        const QByteArray payload = source.mid(comma + 1).toLatin1();
        if (header.endsWith(QLatin1String(";base64"), Qt::CaseInsensitive))
            return QByteArray::fromBase64(payload);
        return QByteArray::fromPercentEncoding(payload);
    }
    throw AppError(QStringLiteral("the picture %1 is not embedded in the file").arg(source.left(200)));
}

QImage decodePicture(const QString& source, const PictureFiles& files)
{
    QByteArray bytes = pictureBytes(source, files);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QSize size = reader.size();
    if (size.isValid() && qint64(size.width()) * size.height() > MaxPicturePixels)
        throw AppError(QStringLiteral("the picture %1 is too large (%2 x %3 pixels)")
                           .arg(source.left(200))
                           .arg(size.width())
                           .arg(size.height()));
    const QImage image = reader.read();
    if (image.isNull())
        throw AppError(
            QStringLiteral("the picture %1 cannot be read: %2").arg(source.left(200), reader.errorString()));
    return image;
}

// Gives every picture of the document its image as a resource, so the RTF writer finds it.
void attachPictures(QTextDocument& document, const PictureFiles& files)
{
    QSet<QString> done;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (!format.isImageFormat())
                continue;
            const QString name = format.toImageFormat().name();
            if (done.contains(name))
                continue;
            document.addResource(QTextDocument::ImageResource, QUrl(name), decodePicture(name, files));
            done.insert(name);
        }
    }
}

// "<p><br></p>" is how HTML editors write an empty paragraph; Qt reads it as a line break.
void emptyBreakOnlyBlocks(QTextDocument& document)
{
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block.text() == QString(QChar(LineSeparator))) {
            QTextCursor cursor(block);
            cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
            cursor.removeSelectedText();
        }
    }
}

bool hasContent(const QTextDocument& document)
{
    return document.characterCount() > 1 || document.rootFrame()->childFrames().size() > 0;
}

QString escaped(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'&':
            out += QLatin1String("&amp;");
            break;
        case u'<':
            out += QLatin1String("&lt;");
            break;
        case u'>':
            out += QLatin1String("&gt;");
            break;
        case u'"':
            out += QLatin1String("&quot;");
            break;
        case 0x00A0:
            out += QLatin1String("&nbsp;");
            break;
        case LineSeparator:
        case u'\n':
            out += QLatin1String("<br>");
            break;
        case ObjectReplacement:
            break;
        default:
            if (c.unicode() >= 0x20 || c == u'\t')
                out += c;
        }
    }
    return out;
}

// Blanks that HTML would fold away (runs, at the ends, tabs) need white-space: pre-wrap.
bool needsPreWrap(const QString& text)
{
    return text.contains(QLatin1String("  ")) || text.contains(u'\t') || text.startsWith(u' ') ||
           text.endsWith(u' ');
}

class HtmlWriter
{
public:
    explicit HtmlWriter(const QTextDocument& document) : m_document(document) {}

    void frame(const QTextFrame* frame)
    {
        bool afterTable = false;
        for (auto it = frame->begin(); !it.atEnd(); ++it) {
            if (const auto* table = qobject_cast<const QTextTable*>(it.currentFrame())) {
                this->table(table);
                afterTable = true;
                continue;
            }
            if (const QTextFrame* child = it.currentFrame()) {
                this->frame(child);
                afterTable = false;
                continue;
            }
            const QTextBlock block = it.currentBlock();
            // Qt keeps a block before a leading table and one after every table; HTML gets them
            // back from the table itself. Text in the block after a table is text that follows
            // the table outside any paragraph.
            if (rtf::isBlockBeforeLeadingTable(it)) {
                afterTable = false;
            } else if (afterTable) {
                afterTable = false;
                if (block.length() > 1)
                    paragraph(block, 0, false);
            } else {
                paragraph(block, 0);
            }
        }
    }

    // A block as <p>; with asParagraph false its content alone, for text after a table.
    void paragraph(const QTextBlock& block, qsizetype skip, bool asParagraph = true)
    {
        QString inner;
        QString text;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat format = fragment.charFormat();
            QString part = fragment.text();
            const qsizetype dropped = std::min(skip, part.size());
            part.remove(0, dropped);
            skip -= dropped;
            if (part.isEmpty())
                continue;
            if (format.isImageFormat()) {
                for (qsizetype i = 0; i < part.size(); ++i)
                    inner += picture(format.toImageFormat());
                continue;
            }
            text += part;
            QString run = escaped(part);
            if (format.fontUnderline())
                run = QStringLiteral("<u>") + run + QStringLiteral("</u>");
            if (format.fontItalic())
                run = QStringLiteral("<i>") + run + QStringLiteral("</i>");
            if (format.fontWeight() >= QFont::DemiBold)
                run = QStringLiteral("<b>") + run + QStringLiteral("</b>");
            inner += run;
        }
        if (!asParagraph) {
            m_html += needsPreWrap(text)
                          ? QStringLiteral("<span style=\"white-space: pre-wrap;\">%1</span>").arg(inner)
                          : inner;
            return;
        }
        QStringList styles;
        const Qt::Alignment align = block.blockFormat().alignment();
        if (align & Qt::AlignHCenter)
            styles.append(QStringLiteral("text-align: center;"));
        else if (align & Qt::AlignRight)
            styles.append(QStringLiteral("text-align: right;"));
        if (needsPreWrap(text))
            styles.append(QStringLiteral("white-space: pre-wrap;"));
        m_html += styles.isEmpty() ? QStringLiteral("<p>")
                                   : QStringLiteral("<p style=\"%1\">").arg(styles.join(u' '));
        m_html += inner.isEmpty() ? QStringLiteral("<br>") : inner;
        m_html += QStringLiteral("</p>");
    }

    HtmlText take() { return {std::move(m_html), std::move(m_files)}; }

private:
    void table(const QTextTable* table)
    {
        m_html +=
            table->format().border() > 0 ? QStringLiteral("<table border=\"1\">") : QStringLiteral("<table>");
        for (int r = 0; r < table->rows(); ++r) {
            m_html += QStringLiteral("<tr>");
            for (int c = 0; c < table->columns(); ++c) {
                const QTextTableCell cell = table->cellAt(r, c);
                if (cell.row() != r || cell.column() != c)
                    continue;
                m_html += QStringLiteral("<td");
                if (cell.rowSpan() > 1)
                    m_html += QStringLiteral(" rowspan=\"%1\"").arg(cell.rowSpan());
                if (cell.columnSpan() > 1)
                    m_html += QStringLiteral(" colspan=\"%1\"").arg(cell.columnSpan());
                m_html += u'>';
                for (auto it = cell.begin(); !it.atEnd(); ++it) {
                    if (const QTextFrame* child = it.currentFrame())
                        frame(child);
                    else
                        paragraph(it.currentBlock(), 0);
                }
                m_html += QStringLiteral("</td>");
            }
            m_html += QStringLiteral("</tr>");
        }
        m_html += QStringLiteral("</table>");
    }

    QString picture(const QTextImageFormat& format)
    {
        const QImage image = documentImage(m_document, format.name());
        if (image.isNull())
            return {};
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        const QString name = QStringLiteral("picture%1.png").arg(m_files.size() + 1);
        m_files.emplace_back(name, png);
        QString tag = QStringLiteral("<img src=\"%1/%2\" alt=\"\"").arg(PluginFile, name);
        if (format.width() > 0)
            tag += QStringLiteral(" width=\"%1\"").arg(qRound(format.width()));
        if (format.height() > 0)
            tag += QStringLiteral(" height=\"%1\"").arg(qRound(format.height()));
        return tag + u'>';
    }

    const QTextDocument& m_document;
    QString m_html;
    std::vector<std::pair<QString, QByteArray>> m_files;
};

} // namespace

QByteArray storedFromPlainText(const QString& text)
{
    if (text.isEmpty())
        return {};
    QTextDocument document;
    document.setPlainText(text);
    return writeRtf(document);
}

QString plainTextOfStored(const QByteArray& stored)
{
    QString text = rtfToPlainText(stored);
    while (text.endsWith(u'\n'))
        text.chop(1);
    return text;
}

QByteArray storedFromHtml(const QString& html, const PictureFiles& files)
{
    if (html.trimmed().isEmpty())
        return {};
    QTextDocument document;
    document.setHtml(html);
    emptyBreakOnlyBlocks(document);
    attachPictures(document, files);
    if (!hasContent(document))
        return {};
    return writeRtf(document);
}

QByteArray storedFromOptionsHtml(const std::vector<HtmlSource>& options)
{
    QTextDocument document;
    QTextCursor cursor(&document);
    // Each option's pictures are renamed so that two options may use the same file name.
    QHash<QString, QImage> pictures;
    for (size_t i = 0; i < options.size(); ++i) {
        if (i > 0)
            cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
        cursor.insertText(QStringLiteral("%1. ").arg(QChar(char16_t(u'A' + i))), QTextCharFormat());
        QTextDocument part;
        part.setHtml(options[i].html);
        emptyBreakOnlyBlocks(part);
        struct Image
        {
            int position;
            int length;
            QTextImageFormat format;
        };
        std::vector<Image> images;
        for (QTextBlock block = part.begin(); block.isValid(); block = block.next()) {
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QTextFragment fragment = it.fragment();
                if (fragment.charFormat().isImageFormat())
                    images.push_back(
                        {fragment.position(), fragment.length(), fragment.charFormat().toImageFormat()});
            }
        }
        for (Image& image : images) {
            const QString name = QStringLiteral("option%1/%2").arg(i).arg(pictures.size());
            pictures.insert(name, decodePicture(image.format.name(), options[i].files));
            image.format.setName(name);
            QTextCursor select(&part);
            select.setPosition(image.position);
            select.setPosition(image.position + image.length, QTextCursor::KeepAnchor);
            select.setCharFormat(image.format);
        }
        cursor.insertFragment(QTextDocumentFragment(&part));
    }
    for (auto it = pictures.constBegin(); it != pictures.constEnd(); ++it)
        document.addResource(QTextDocument::ImageResource, QUrl(it.key()), it.value());
    return writeRtf(document);
}

HtmlText htmlOfStored(const QByteArray& stored)
{
    if (stored.isEmpty())
        return {};
    QTextDocument document;
    readRtf(stored, &document);
    HtmlWriter writer(document);
    writer.frame(document.rootFrame());
    return writer.take();
}

std::optional<std::vector<HtmlText>> optionsHtmlOfStored(const QByteArray& stored)
{
    QTextDocument document;
    readRtf(stored, &document);
    if (!document.rootFrame()->childFrames().isEmpty())
        return std::nullopt; // options in a table are not one per paragraph

    struct Option
    {
        std::vector<std::pair<QTextBlock, qsizetype>> blocks; // block and marker length
    };
    std::vector<Option> options;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const auto marker = optionMarkerAt(block.text());
        if (marker) {
            if (marker->letter != QChar(u'a' + int(options.size())))
                return std::nullopt;
            options.push_back({{{block, marker->length}}});
        } else if (!options.empty()) {
            options.back().blocks.emplace_back(block, 0);
        } else if (!block.text().trimmed().isEmpty()) {
            return std::nullopt;
        }
    }
    std::vector<HtmlText> result;
    for (Option& option : options) {
        HtmlWriter writer(document);
        for (const auto& [block, skip] : option.blocks)
            writer.paragraph(block, skip);
        result.push_back(writer.take());
    }
    return result;
}

} // namespace tarnex::bank
