#pragma once

#include <QByteArray>
#include <QRgb>
#include <QSizeF>
#include <QString>

#include <cstdint>
#include <vector>

namespace tarnex::rtf {

// Character formatting as the reader tracks it; fonts are resolved to a family index into the
// reader's font list, colours to their values.
struct CharProps
{
    enum Vertical : std::uint8_t { Baseline, Super, Sub };

    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    bool hidden = false;
    bool hasColor = false;
    bool hasBackground = false;
    Vertical vertical = Baseline;
    int halfPoints = 24;
    int font = -1; // the \f number
    QRgb color = 0;
    QRgb background = 0;

    bool operator==(const CharProps&) const = default;
};

struct ParaProps
{
    enum Align : std::uint8_t { Left, Center, Right, Justify };

    Align align = Left;
    bool inTable = false;
    bool lineMultiple = false;
    int nesting = 1; // \itap: 1 for a plain table paragraph, more inside nested tables
    int leftIndent = 0; // twips
    int rightIndent = 0;
    int firstIndent = 0;
    int spaceBefore = 0;
    int spaceAfter = 0;
    int lineSpacing = 0; // \sl: 0 single, > 0 at least, < 0 exactly; with lineMultiple 240 = single

    bool operator==(const ParaProps&) const = default;
};

struct Picture
{
    enum Kind : std::uint8_t { Png, Jpeg, Other };

    Kind kind = Other;
    QByteArray data;
    QSizeF size; // display size in pixels at 96 dpi; empty when the document gives none
};

// A piece of a paragraph: text in one format, or one picture.
struct Run
{
    QString text;
    CharProps props;
    int picture = -1; // index into the reader's pictures when the run is a picture
};

struct Paragraph
{
    ParaProps props;
    CharProps markProps; // the format of the paragraph mark, which sets an empty line's height
    std::vector<Run> runs;

    bool isEmpty() const { return runs.empty(); }
};

// How a cell joins its neighbours: the first cell of a merged range, or one that continues the
// range to its left (horizontal) or above (vertical).
enum class CellMerge : std::uint8_t
{
    None,
    First,
    Next
};

struct TableCell
{
    std::vector<Paragraph> paragraphs;
    int width = 0;  // twips, 0 when the row definition gives none
    int right = -1; // the cell's right edge in twips from the margin; -1 when the row gives none
    CellMerge horizontal = CellMerge::None;
    CellMerge vertical = CellMerge::None;
};

struct TableRow
{
    std::vector<TableCell> cells;
    bool borders = false;
};

struct FontEntry
{
    int number = 0;     // the \f number
    int codePage = 0;   // of its \fcharset or \cpg; 0 for the document's default
    QString family;
};

// What the reader knows besides the content: the font table and the pictures.
struct Resources
{
    std::vector<FontEntry> fonts;
    std::vector<Picture> pictures;

    // The entry of a \f number, or null.
    const FontEntry* font(int number) const
    {
        for (const FontEntry& f : fonts) {
            if (f.number == number)
                return &f;
        }
        return nullptr;
    }
};

// Receives the content of a document in order. Consecutive rows form one table; a paragraph
// between rows ends the table.
class Sink
{
public:
    virtual ~Sink() = default;
    virtual void paragraph(const Paragraph& paragraph, const Resources& resources) = 0;
    virtual void tableRow(const TableRow& row, const Resources& resources) = 0;
    // Called once after the last paragraph or row.
    virtual void end() {}
    // Whether the pictures' data is wanted; a sink for plain text spares the reader decoding it.
    virtual bool wantsPictures() const { return true; }
};

} // namespace tarnex::rtf
