#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace tarnex {

// An INI file in the Windows private-profile format, such as ci.ini. Reading keeps every byte
// of the file (sections, keys, comments, blank and odd lines, their order and their line
// breaks); a write changes only the line of the key it writes, so saving gives back the file as
// it was apart from that. The text is in the ANSI code page (936).
//
// Lookups follow GetPrivateProfileString: section and key names compare case-insensitively and
// trimmed, the first section and the first key of a name win, the value is trimmed and loses one
// pair of enclosing quotes, and lines before the first section or without '=' hold no key.
class IniFile
{
public:
    // Reads the file; a missing or unreadable file reads as empty.
    explicit IniFile(QString path);
    // The file held in memory from its bytes (what a read would give), to be saved under path.
    static IniFile fromBytes(const QByteArray& bytes, QString path = QString());

    QString path() const { return m_path; }
    QByteArray toBytes() const;

    QString readString(const QString& section, const QString& key,
                       const QString& defaultValue = QString()) const;
    // GetPrivateProfileInt: a missing key or an empty value gives the default; otherwise leading
    // blanks, an optional sign and the leading decimal digits (none: 0), wrapping at 32 bits.
    int readInt(const QString& section, const QString& key, int defaultValue) const;

    // Replaces the key's value in its line, or adds the key at the end of its section, or adds the
    // section with the key at the end of the file. A line break in the value becomes a blank, as
    // the value ends with its line.
    void writeString(const QString& section, const QString& key, const QString& value);
    void writeInt(const QString& section, const QString& key, int value);

    // Writes the file whole through a temporary file; throws AppError "Unable to write to <path>".
    void save() const;

    // The integer GetPrivateProfileInt makes of a value text.
    static int parseInt(const QString& value);

private:
    enum class LineKind
    {
        Other,
        Section,
        Key
    };
    struct Line
    {
        QByteArray text;   // the line's bytes without its break
        QByteArray ending; // "\r\n", "\n", "\r" or empty (last line without break)
        LineKind kind = LineKind::Other;
        QString name;  // section or key name, trimmed
        QString value; // key value as read
    };

    IniFile() = default;
    void parse(const QByteArray& bytes);
    static void classify(Line& line);
    qsizetype findSection(const QString& section) const;
    // The line of the key in the section starting at sectionLine, or -1.
    qsizetype findKey(qsizetype sectionLine, const QString& key) const;
    QByteArray newLineBreak() const;
    Line makeLine(const QString& text) const;

    QString m_path;
    QList<Line> m_lines;
};

} // namespace tarnex
