#include "IniFile.h"

#include "AppError.h"
#include "CodePage.h"
#include "TextUtil.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <utility>

namespace tarnex {
namespace {

bool sameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

QString unquoted(const QString& value)
{
    if (value.size() >= 2) {
        const QChar first = value.front();
        if ((first == u'"' || first == u'\'') && value.back() == first)
            return value.mid(1, value.size() - 2);
    }
    return value;
}

} // namespace

IniFile::IniFile(QString path) : m_path(std::move(path))
{
    QFile file(m_path);
    if (file.open(QIODevice::ReadOnly))
        parse(file.readAll());
}

IniFile IniFile::fromBytes(const QByteArray& bytes, QString path)
{
    IniFile ini;
    ini.m_path = std::move(path);
    ini.parse(bytes);
    return ini;
}

void IniFile::parse(const QByteArray& bytes)
{
    m_lines.clear();
    qsizetype start = 0;
    const qsizetype size = bytes.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char c = bytes.at(i);
        if (c != '\r' && c != '\n')
            continue;
        Line line;
        line.text = bytes.mid(start, i - start);
        if (c == '\r' && i + 1 < size && bytes.at(i + 1) == '\n') {
            line.ending = "\r\n";
            ++i;
        } else {
            line.ending = QByteArray(1, c);
        }
        classify(line);
        m_lines.append(std::move(line));
        start = i + 1;
    }
    if (start < size) {
        Line line;
        line.text = bytes.mid(start);
        classify(line);
        m_lines.append(std::move(line));
    }
}

void IniFile::classify(Line& line)
{
    // Decoded before looking for brackets: a trail byte of a two-byte character may be ']'.
    const QString text = trimmedText(CodePage::decode(line.text));
    line.kind = LineKind::Other;
    line.name.clear();
    line.value.clear();
    if (text.startsWith(u'[')) {
        const qsizetype close = text.indexOf(u']');
        if (close > 0) {
            line.kind = LineKind::Section;
            line.name = trimmedText(text.mid(1, close - 1));
        }
        return;
    }
    if (text.startsWith(u';'))
        return;
    const qsizetype equals = text.indexOf(u'=');
    if (equals < 0)
        return;
    line.kind = LineKind::Key;
    line.name = trimmedText(text.left(equals));
    line.value = unquoted(trimmedText(text.mid(equals + 1)));
}

QByteArray IniFile::toBytes() const
{
    QByteArray bytes;
    for (const Line& line : m_lines) {
        bytes += line.text;
        bytes += line.ending;
    }
    return bytes;
}

qsizetype IniFile::findSection(const QString& section) const
{
    const QString wanted = trimmedText(section);
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        if (m_lines.at(i).kind == LineKind::Section && sameName(m_lines.at(i).name, wanted))
            return i;
    }
    return -1;
}

qsizetype IniFile::findKey(qsizetype sectionLine, const QString& key) const
{
    const QString wanted = trimmedText(key);
    for (qsizetype i = sectionLine + 1; i < m_lines.size(); ++i) {
        const Line& line = m_lines.at(i);
        if (line.kind == LineKind::Section)
            break;
        if (line.kind == LineKind::Key && sameName(line.name, wanted))
            return i;
    }
    return -1;
}

QString IniFile::readString(const QString& section, const QString& key, const QString& defaultValue) const
{
    const qsizetype sectionLine = findSection(section);
    if (sectionLine < 0)
        return defaultValue;
    const qsizetype keyLine = findKey(sectionLine, key);
    if (keyLine < 0)
        return defaultValue;
    return m_lines.at(keyLine).value;
}

int IniFile::readInt(const QString& section, const QString& key, int defaultValue) const
{
    const QString value = readString(section, key);
    if (value.isEmpty())
        return defaultValue;
    return parseInt(value);
}

int IniFile::parseInt(const QString& value)
{
    qsizetype i = 0;
    const qsizetype size = value.size();
    while (i < size && (value.at(i) == u' ' || value.at(i) == u'\t'))
        ++i;
    bool negative = false;
    if (i < size && (value.at(i) == u'+' || value.at(i) == u'-')) {
        negative = value.at(i) == u'-';
        ++i;
    }
    quint32 number = 0;
    while (i < size && value.at(i) >= u'0' && value.at(i) <= u'9') {
        number = number * 10u + quint32(value.at(i).unicode() - u'0');
        ++i;
    }
    if (negative)
        number = 0u - number;
    return static_cast<int>(number);
}

QByteArray IniFile::newLineBreak() const
{
    for (const Line& line : m_lines) {
        if (!line.ending.isEmpty())
            return line.ending;
    }
    return "\r\n";
}

IniFile::Line IniFile::makeLine(const QString& text) const
{
    Line line;
    line.text = CodePage::encode(text);
    line.ending = newLineBreak();
    classify(line);
    return line;
}

void IniFile::writeString(const QString& section, const QString& key, const QString& value)
{
    QString oneLine = value;
    oneLine.replace(QLatin1Char('\r'), QLatin1Char(' '));
    oneLine.replace(QLatin1Char('\n'), QLatin1Char(' '));
    const QString sectionName = trimmedText(section);
    const QString keyName = trimmedText(key);

    const qsizetype sectionLine = findSection(sectionName);
    if (sectionLine >= 0) {
        const qsizetype keyLine = findKey(sectionLine, keyName);
        if (keyLine >= 0) {
            Line& line = m_lines[keyLine];
            // The key keeps the spelling it has in the file, the line its break.
            Line replaced = makeLine(line.name + u'=' + oneLine);
            replaced.ending = line.ending;
            line = std::move(replaced);
            return;
        }
        // After the last line of the section that is not blank, so a blank line that parts it
        // from the next section stays where it is.
        qsizetype insertAt = sectionLine + 1;
        for (qsizetype i = sectionLine + 1; i < m_lines.size() && m_lines.at(i).kind != LineKind::Section;
             ++i) {
            if (!trimmedText(CodePage::decode(m_lines.at(i).text)).isEmpty())
                insertAt = i + 1;
        }
        if (insertAt == m_lines.size() && !m_lines.isEmpty() && m_lines.back().ending.isEmpty())
            m_lines.back().ending = newLineBreak();
        m_lines.insert(insertAt, makeLine(keyName + u'=' + oneLine));
        return;
    }

    if (!m_lines.isEmpty()) {
        if (m_lines.back().ending.isEmpty())
            m_lines.back().ending = newLineBreak();
        if (!trimmedText(CodePage::decode(m_lines.back().text)).isEmpty())
            m_lines.append(makeLine(QString()));
    }
    m_lines.append(makeLine(u'[' + sectionName + u']'));
    m_lines.append(makeLine(keyName + u'=' + oneLine));
}

void IniFile::writeInt(const QString& section, const QString& key, int value)
{
    writeString(section, key, QString::number(value));
}

void IniFile::save() const
{
    const QString shownPath = QDir::toNativeSeparators(m_path);
    const QByteArray bytes = toBytes();
    // A read-only file stays as it is, as with the platform's own INI functions. The temporary
    // file would otherwise replace it, and root passes any permission check, so the write bits
    // themselves are looked at too.
    if (QFile::exists(m_path)) {
        const QFileDevice::Permissions mode = QFile::permissions(m_path);
        const bool markedReadOnly =
            !(mode & (QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther));
        if (markedReadOnly || !(mode & QFileDevice::WriteUser))
            throw AppError(QStringLiteral("Unable to write to ") + shownPath);
    }
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw AppError(QStringLiteral("Unable to write to ") + shownPath);
}

} // namespace tarnex
