#pragma once

#include "RtfContent.h"
#include "RtfKeywords.h"
#include "RtfTokenizer.h"

#include <QByteArray>

#include <optional>
#include <vector>

namespace tarnex::rtf {

// The code page of an RTF \fcharset value; 0 when the charset means the document's default.
int codePageOfCharset(int charset);

// Reads an RTF document and hands its paragraphs and table rows to a sink in order.
class Parser
{
public:
    Parser(const QByteArray& data, Sink& sink);

    void run();

private:
    enum class Destination : std::uint8_t { Text, FontTable, ColorTable, Picture };
    enum class PictureSlot : std::uint8_t { None, Shape, NonShape };

    struct State
    {
        Destination destination = Destination::Text;
        PictureSlot slot = PictureSlot::None;
        int unicodeSkip = 1;
        CharProps chars;
        ParaProps para;
    };

    State& state() { return m_states.back(); }

    void groupStart();
    void groupEnd();
    void word(const Token& token);
    void textWord(Keyword keyword, const Token& token);
    void tableWord(Keyword keyword, const Token& token);
    void pictureWord(Keyword keyword, const Token& token);
    void symbol(char c);
    void text(std::string_view bytes);
    void binary(std::string_view bytes);
    void skipGroup();

    int codePageOf(int fontNumber);
    void addBytes(const char* bytes, qsizetype count);
    void flushBytes();
    void appendText(const QString& text);
    void appendChar(char16_t c);

    void endParagraph();
    void endCell();
    void endRow(bool takeParagraph);
    void endPendingRow();
    void finish();

    void fontText(std::string_view bytes);
    void finishFontEntry();
    void colorText(std::string_view bytes);
    QRgb colorAt(int index, bool* found) const;

    void startPicture(PictureSlot slot);
    void pictureText(std::string_view bytes);
    void finishPicture();
    void appendPicture(Picture picture);
    void flushCandidate();

    Tokenizer m_tokenizer;
    Sink& m_sink;
    const bool m_keepPictureData;
    Resources m_resources;
    std::vector<State> m_states;
    int m_overflowDepth = 0;
    int m_unicodeSkipLeft = 0;
    bool m_star = false;
    bool m_skipNextGroup = false;
    bool m_done = false;

    int m_defaultCodePage;
    int m_defaultFont = -1;
    int m_cachedFont = -2;
    int m_cachedCodePage = 0;

    QByteArray m_bytes;
    CharProps m_bytesProps;
    int m_bytesCodePage = 0;

    Paragraph m_paragraph;
    std::vector<Paragraph> m_cellParagraphs;
    std::vector<TableCell> m_rowCells;
    struct CellDefinition
    {
        int right = 0;
        CellMerge horizontal = CellMerge::None;
        CellMerge vertical = CellMerge::None;
    };
    std::vector<CellDefinition> m_cellDefinitions;
    CellDefinition m_nextCell; // the merge flags given before the next \cellx
    int m_rowLeft = 0;
    bool m_rowBorders = false;
    bool m_inBorderDefinition = false;

    std::optional<FontEntry> m_font;
    QByteArray m_fontName;

    std::vector<std::optional<QRgb>> m_colors;
    int m_red = 0, m_green = 0, m_blue = 0;
    bool m_colorGiven = false;

    Picture m_picture;
    int m_pictureNibble = -1;
    int m_picW = 0, m_picH = 0, m_picWGoal = 0, m_picHGoal = 0, m_scaleX = 100, m_scaleY = 100;
    std::optional<Picture> m_candidate;
};

} // namespace tarnex::rtf
