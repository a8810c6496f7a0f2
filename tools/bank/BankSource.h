#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

namespace tarnex::bank {

// The readable source format of a question bank (docs/bank-format.md), at the level of its
// syntax: files of sections holding fields. What the sections mean is BankBuilder's business.

struct SourcePlace
{
    QString file;
    int line = 0;
    QString toString() const { return file + u':' + QString::number(line); }
};

struct SourceField
{
    QString name; // the column, without the form suffix: "tou"
    QString form; // the suffix after the dot: "" (plain), "html", "rtf", "raw"
    // The value: the text in UTF-8; for the "rtf" form the stored bytes (the exact form may hold
    // bytes that are not UTF-8).
    QByteArray value;
    bool exact = false; // written as name= "..."
    SourcePlace place;

    QString text() const { return QString::fromUtf8(value); }
    QString fullName() const { return form.isEmpty() ? name : name + u'.' + form; }
};

struct SourceSection
{
    QString kind;     // "memo", "papers", "paper", "dds", ...
    QString argument; // what follows the kind in the header, exactly as written
    bool hasArgument = false;
    SourcePlace place;
    std::vector<SourceField> fields;
};

struct SourceFile
{
    QString path;
    std::vector<SourceSection> sections;
};

// Parses one source file. Throws AppError "file:line: message" for anything that is not the format.
SourceFile parseSource(const QByteArray& data, const QString& path);

// Reads every *.txt file under the folder (subfolders included), in sorted path order.
std::vector<SourceFile> readSourceFolder(const QString& folder);

// The body of an exact-form value: "..." with the escapes the reader understands. Bytes that are
// not UTF-8 are written as \xHH.
QByteArray exactLiteral(const QByteArray& value);

// Whether a text survives the plain form (name: value with continuation lines) unchanged.
bool fitsBlockForm(const QString& text);

// Writes source text, choosing the plain form where it carries the value exactly and the exact
// form elsewhere.
class SourceWriter
{
public:
    void comment(const QString& text);
    void section(const QString& kind, const QString& argument = {});
    void blankLine();
    // A text field: the plain form when the text fits it, else the exact form.
    void textField(const QString& name, const QString& text);
    // A byte field (the "rtf" form): the plain form when the bytes are UTF-8 text that fits it.
    void bytesField(const QString& name, const QByteArray& bytes);
    void exactField(const QString& name, const QByteArray& bytes);

    const QByteArray& data() const { return m_data; }

private:
    QByteArray m_data;
};

} // namespace tarnex::bank
