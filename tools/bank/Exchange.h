#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <vector>

namespace tarnex::bank {

// A question on its way between the bank and an exchange file (the spreadsheet template or Moodle
// XML), with its columns already in the bank's formats.
struct ExchangeQuestion
{
    QString kind;   // the table: dds, duo, sf, jsfx, anli, ws
    QString number; // tihao, trimmed; empty when the file gives none
    int row = 0;    // where it stands in the file: the spreadsheet row or the line of the question
    QString name;   // the Moodle question's name, for messages; empty for a spreadsheet row
    QByteArray tou; // stored rich text (RTF); empty for none
    QByteArray wei;
    QByteArray ping;
    QString da;
    std::array<QString, 5> subAnswers; // da1..da5
    QString leixing;
};

struct ExchangePaper
{
    QString subject; // kemu
    QString name;    // tao
    std::vector<ExchangeQuestion> questions;
};

// The errors and notes of reading or importing one file, each at a row (line) of it; row 0 is
// the file as a whole.
struct Diagnostics
{
    struct Entry
    {
        int row = 0;
        QString text;
    };
    std::vector<Entry> errors;
    std::vector<Entry> notes;

    void error(int row, const QString& text) { errors.push_back({row, text}); }
    void note(int row, const QString& text) { notes.push_back({row, text}); }
    bool hasErrors() const { return !errors.empty(); }
    // "file:row: text" (or "file: text" for the whole file), one line each.
    static QStringList format(const QString& file, const std::vector<Entry>& entries);
};

// Where a question stands, for a message: "" for a spreadsheet row, "question "NAME": " for Moodle.
QString questionPrefix(const ExchangeQuestion& question);

// The Chinese name of a kind as the exam screen's index shows it ("单选题" for dds).
QString kindTitle(const QString& kind);

// An option's letter at the start of a line: "A." "B、" "C．" "D:" "(A)" "（B）", upper or lower
// case, half or full width. The letter in lower case and the length of the marker with the blanks
// after it, or nothing for a line that does not start with a marker.
struct OptionMarker
{
    QChar letter;
    qsizetype length = 0;
};
std::optional<OptionMarker> optionMarkerAt(QStringView line);

// The option letters an option text marks at the starts of its lines, in lower case and in the
// order a, b, c, d; empty when no line starts with a marker.
QString markedOptionLetters(const QString& optionText);

// Upper-case letters for a stored answer ("abd" -> "ABD").
QString displayLetters(const QString& letters);

} // namespace tarnex::bank
