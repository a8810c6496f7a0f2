#include "BankSource.h"
#include "platform/TextUtil.h"

#include "platform/AppError.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QStringDecoder>

#include <algorithm>
#include <optional>

namespace tarnex::bank {
namespace {

[[noreturn]] void failAt(const QString& path, int line, const QString& message)
{
    throw AppError(SourcePlace{path, line}.toString() + QStringLiteral(": ") + message);
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

QByteArray withoutTrailingBlanks(QByteArray line)
{
    qsizetype end = line.size();
    while (end > 0 && isBlank(line.at(end - 1)))
        --end;
    line.truncate(end);
    return line;
}

bool isValidUtf8(const QByteArray& bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(bytes);
    return !decoder.hasError();
}

// The length of the well-formed UTF-8 sequence that starts at i, or 0 when it is not one.
int utf8SequenceLength(const QByteArray& bytes, qsizetype i)
{
    const auto byte = [&](qsizetype k) { return static_cast<unsigned char>(bytes.at(k)); };
    const unsigned char b0 = byte(i);
    int length = 0;
    char32_t min = 0;
    char32_t code = 0;
    if (b0 < 0x80)
        return 1;
    if ((b0 & 0xE0) == 0xC0) {
        length = 2, min = 0x80, code = b0 & 0x1F;
    } else if ((b0 & 0xF0) == 0xE0) {
        length = 3, min = 0x800, code = b0 & 0x0F;
    } else if ((b0 & 0xF8) == 0xF0) {
        length = 4, min = 0x10000, code = b0 & 0x07;
    } else {
        return 0;
    }
    if (i + length > bytes.size())
        return 0;
    for (int k = 1; k < length; ++k) {
        const unsigned char b = byte(i + k);
        if ((b & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (b & 0x3F);
    }
    if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    return length;
}

// Parses the quoted body of an exact-form value starting at the opening quote. Returns the bytes
// and sets end to the position after the closing quote.
QByteArray parseExact(const QByteArray& line, qsizetype start, qsizetype& end, const QString& path,
                      int lineNo)
{
    QByteArray out;
    qsizetype i = start + 1;
    auto hexAt = [&](qsizetype at, int digits) {
        int value = 0;
        for (int k = 0; k < digits; ++k) {
            const int h = at + k < line.size() ? hexDigitValue(line.at(at + k)) : -1;
            if (h < 0)
                failAt(path, lineNo,
                       QStringLiteral("\\%1 needs %2 hexadecimal digits")
                           .arg(QChar(digits == 2 ? u'x' : u'u'))
                           .arg(digits));
            value = value * 16 + h;
        }
        return value;
    };
    while (i < line.size()) {
        const char c = line.at(i);
        if (c == '"') {
            end = i + 1;
            return out;
        }
        if (c != '\\') {
            out.append(c);
            ++i;
            continue;
        }
        if (i + 1 >= line.size())
            break;
        const char e = line.at(i + 1);
        i += 2;
        switch (e) {
        case 'n':
            out.append('\n');
            break;
        case 'r':
            out.append('\r');
            break;
        case 't':
            out.append('\t');
            break;
        case '\\':
            out.append('\\');
            break;
        case '"':
            out.append('"');
            break;
        case 'x':
            out.append(char(hexAt(i, 2)));
            i += 2;
            break;
        case 'u': {
            char32_t code = char32_t(hexAt(i, 4));
            i += 4;
            if (code >= 0xD800 && code <= 0xDBFF) {
                if (i + 1 < line.size() && line.at(i) == '\\' && line.at(i + 1) == 'u') {
                    const char32_t low = char32_t(hexAt(i + 2, 4));
                    if (low >= 0xDC00 && low <= 0xDFFF) {
                        code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                        i += 6;
                    }
                }
            }
            if (code >= 0xD800 && code <= 0xDFFF)
                failAt(path, lineNo, QStringLiteral("\\u escape of a lone surrogate"));
            out.append(QString::fromUcs4(&code, 1).toUtf8());
            break;
        }
        default:
            failAt(path, lineNo,
                   QStringLiteral("unknown escape \\%1 (use \\n \\r \\t \\\\ \\\" \\uXXXX \\xHH)")
                       .arg(QString::fromUtf8(&e, 1)));
        }
    }
    failAt(path, lineNo, QStringLiteral("the exact value has no closing quote"));
}

bool isControl(unsigned char c)
{
    return (c < 0x20 && c != '\t') || c == 0x7F;
}

// A control character (tab aside) never stands raw in a source: it would vanish or cut the value
// on its way into the bank. Only the quotes of an exact value, which take bytes as written, may
// hold one; everywhere else it has to be written as an escape of the exact form.
void rejectControlCharacters(const QByteArray& line, const QString& path, int lineNo)
{
    qsizetype quoteStart = -1;
    qsizetype quoteEnd = -1;
    const qsizetype equals = line.indexOf('=');
    const qsizetype colon = line.indexOf(':');
    if (equals > 0 && (colon < 0 || equals < colon) && !line.startsWith('#') && !line.startsWith(' ')) {
        qsizetype quote = equals + 1;
        while (quote < line.size() && isBlank(line.at(quote)))
            ++quote;
        if (quote < line.size() && line.at(quote) == '"') {
            quoteStart = quote;
            quoteEnd = line.lastIndexOf('"');
        }
    }
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (quoteStart >= 0 && i > quoteStart && i < quoteEnd)
            continue;
        const auto c = static_cast<unsigned char>(line.at(i));
        if (!isControl(c))
            continue;
        const QString code = QStringLiteral("%1").arg(int(c), 4, 16, QLatin1Char('0')).toUpper();
        failAt(path, lineNo,
               QStringLiteral("control character U+%1 in the text; write it as \\u%1 in the exact form "
                              "name= \"...\"")
                   .arg(code));
    }
}

} // namespace

SourceFile parseSource(const QByteArray& input, const QString& path)
{
    QByteArray data = input;
    if (data.startsWith("\xEF\xBB\xBF"))
        data.remove(0, 3);

    SourceFile file;
    file.path = path;
    SourceSection* section = nullptr;
    SourceField* open = nullptr; // the plain-form field that continuation lines extend
    QList<QByteArray> openLines;
    int pendingEmpty = 0;

    auto closeField = [&] {
        if (open)
            open->value = openLines.join('\n');
        open = nullptr;
        openLines.clear();
        pendingEmpty = 0;
    };

    const QList<QByteArray> lines = data.split('\n');
    for (qsizetype index = 0; index < lines.size(); ++index) {
        const int lineNo = int(index) + 1;
        QByteArray line = lines.at(index);
        if (line.endsWith('\r'))
            line.chop(1);
        if (!isValidUtf8(line))
            failAt(path, lineNo, QStringLiteral("the line is not UTF-8 text"));
        rejectControlCharacters(line, path, lineNo);
        if (index == lines.size() - 1 && line.isEmpty())
            break; // the break after the last line

        const QByteArray content = withoutTrailingBlanks(line);
        if (content.isEmpty()) {
            if (open)
                ++pendingEmpty;
            continue;
        }
        if (line.startsWith("  ")) {
            if (!open)
                failAt(path, lineNo,
                       QStringLiteral("a continuation line (two leading blanks) must follow a field"));
            for (; pendingEmpty > 0; --pendingEmpty)
                openLines.append(QByteArray());
            openLines.append(content.mid(2));
            continue;
        }
        closeField();

        const char first = content.at(0);
        if (first == '#')
            continue;
        if (first == '[') {
            if (!content.endsWith(']'))
                failAt(path, lineNo, QStringLiteral("a section header must end with \"]\""));
            const QByteArray inner = content.mid(1, content.size() - 2);
            const qsizetype space = inner.indexOf(' ');
            SourceSection next;
            next.kind = QString::fromUtf8(space < 0 ? inner : inner.left(space));
            next.hasArgument = space >= 0;
            if (next.hasArgument)
                next.argument = QString::fromUtf8(inner.mid(space + 1));
            next.place = {path, lineNo};
            if (next.kind.isEmpty())
                failAt(path, lineNo, QStringLiteral("a section header needs a name"));
            file.sections.push_back(std::move(next));
            section = &file.sections.back();
            continue;
        }
        if (isBlank(first))
            failAt(path, lineNo,
                   QStringLiteral("continuation lines start with exactly two blanks and follow a field"));

        const qsizetype colon = content.indexOf(':');
        const qsizetype equals = content.indexOf('=');
        qsizetype mark = -1;
        if (colon >= 0 && (equals < 0 || colon < equals))
            mark = colon;
        else if (equals >= 0)
            mark = equals;
        if (mark <= 0)
            failAt(path, lineNo,
                   QStringLiteral("expected a section header \"[name]\", a field \"name: value\" or a "
                                  "comment \"# ...\""));
        const QByteArray fullName = content.left(mark);
        if (std::any_of(fullName.begin(), fullName.end(), [](char c) { return isBlank(c); }))
            failAt(path, lineNo,
                   QStringLiteral("a field name holds no blanks: \"%1\"").arg(QString::fromUtf8(fullName)));
        if (!section)
            failAt(path, lineNo,
                   QStringLiteral("field \"%1\" outside a section").arg(QString::fromUtf8(fullName)));

        SourceField field;
        const qsizetype dot = fullName.indexOf('.');
        field.name = QString::fromUtf8(dot < 0 ? fullName : fullName.left(dot));
        field.form = dot < 0 ? QString() : QString::fromUtf8(fullName.mid(dot + 1));
        field.place = {path, lineNo};
        if (field.name.isEmpty())
            failAt(path, lineNo, QStringLiteral("a field needs a name"));

        if (content.at(mark) == '=') {
            qsizetype quote = mark + 1;
            while (quote < content.size() && isBlank(content.at(quote)))
                ++quote;
            if (quote >= content.size() || content.at(quote) != '"')
                failAt(path, lineNo, QStringLiteral("the exact form is name= \"...\""));
            qsizetype end = 0;
            field.value = parseExact(content, quote, end, path, lineNo);
            if (end != content.size())
                failAt(path, lineNo, QStringLiteral("text after the closing quote of the exact value"));
            field.exact = true;
            if (field.form != u"rtf" && !isValidUtf8(field.value))
                failAt(path, lineNo,
                       QStringLiteral("\\x escapes that are not UTF-8 are only for .rtf fields"));
            section->fields.push_back(std::move(field));
            continue;
        }

        QByteArray rest = content.mid(mark + 1);
        if (rest.startsWith(' '))
            rest.remove(0, 1);
        section->fields.push_back(std::move(field));
        open = &section->fields.back();
        if (!rest.isEmpty())
            openLines.append(rest);
    }
    closeField();
    return file;
}

std::vector<SourceFile> readSourceFolder(const QString& folder)
{
    // Work from the absolute path: the iterator yields paths relative to the current directory
    // for a relative folder, which relativeFilePath() would then take as relative to the folder.
    const QDir dir(QDir(folder).absolutePath());
    if (!dir.exists())
        throw AppError(QStringLiteral("source folder %1 does not exist").arg(folder));
    QStringList paths;
    QDirIterator it(dir.absolutePath(), {QStringLiteral("*.txt")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        paths.append(dir.relativeFilePath(it.next()));
    std::sort(paths.begin(), paths.end(),
              [](const QString& a, const QString& b) { return a.toUtf8() < b.toUtf8(); });

    std::vector<SourceFile> files;
    for (const QString& relative : std::as_const(paths)) {
        const QString path = dir.filePath(relative);
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            throw AppError(QStringLiteral("cannot read %1: %2").arg(path, file.errorString()));
        files.push_back(parseSource(file.readAll(), path));
    }
    return files;
}

QByteArray exactLiteral(const QByteArray& value)
{
    static const char Hex[] = "0123456789ABCDEF";
    QByteArray out;
    out.reserve(value.size() + 2);
    out.append('"');
    for (qsizetype i = 0; i < value.size();) {
        const auto c = static_cast<unsigned char>(value.at(i));
        const int length = utf8SequenceLength(value, i);
        if (length == 0) {
            out.append("\\x").append(Hex[c >> 4]).append(Hex[c & 15]);
            ++i;
            continue;
        }
        if (length > 1) {
            out.append(value.mid(i, length));
            i += length;
            continue;
        }
        switch (c) {
        case '"':
            out.append("\\\"");
            break;
        case '\\':
            out.append("\\\\");
            break;
        case '\n':
            out.append("\\n");
            break;
        case '\r':
            out.append("\\r");
            break;
        case '\t':
            out.append("\\t");
            break;
        default:
            if (c < 0x20 || c == 0x7F)
                out.append("\\u00").append(Hex[c >> 4]).append(Hex[c & 15]);
            else
                out.append(char(c));
        }
        ++i;
    }
    out.append('"');
    return out;
}

bool fitsBlockForm(const QString& text)
{
    if (text.startsWith(u'\n') || text.endsWith(u'\n'))
        return false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c == u'\n') {
            if (i > 0 && (text.at(i - 1) == u' ' || text.at(i - 1) == u'\t'))
                return false;
            continue;
        }
        if ((c < 0x20 && c != u'\t') || c == 0x7F || QChar::isSurrogate(c))
            return false;
    }
    return !(text.endsWith(u' ') || text.endsWith(u'\t'));
}

void SourceWriter::comment(const QString& text)
{
    for (const QString& line : text.split(u'\n'))
        m_data.append("# ").append(line.toUtf8()).append('\n');
}

void SourceWriter::section(const QString& kind, const QString& argument)
{
    m_data.append('[').append(kind.toUtf8());
    if (!argument.isEmpty())
        m_data.append(' ').append(argument.toUtf8());
    m_data.append("]\n");
}

void SourceWriter::blankLine()
{
    m_data.append('\n');
}

void SourceWriter::textField(const QString& name, const QString& text)
{
    if (!fitsBlockForm(text)) {
        exactField(name, text.toUtf8());
        return;
    }
    m_data.append(name.toUtf8()).append(':');
    if (!text.contains(u'\n')) {
        if (!text.isEmpty())
            m_data.append(' ').append(text.toUtf8());
        m_data.append('\n');
        return;
    }
    m_data.append('\n');
    for (const QString& line : text.split(u'\n')) {
        if (!line.isEmpty())
            m_data.append("  ").append(line.toUtf8());
        m_data.append('\n');
    }
}

void SourceWriter::bytesField(const QString& name, const QByteArray& bytes)
{
    if (isValidUtf8(bytes)) {
        const QString text = QString::fromUtf8(bytes);
        if (fitsBlockForm(text)) {
            textField(name, text);
            return;
        }
    }
    exactField(name, bytes);
}

void SourceWriter::exactField(const QString& name, const QByteArray& bytes)
{
    m_data.append(name.toUtf8()).append("= ").append(exactLiteral(bytes)).append('\n');
}

} // namespace tarnex::bank
