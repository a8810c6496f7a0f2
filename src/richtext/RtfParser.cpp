#include "RtfParser.h"

#include "platform/CodePage.h"

#include <algorithm>
#include <array>

namespace tarnex::rtf {
namespace {

// Deeper groups are read as part of their parent: real documents nest a few dozen levels, and a
// bound keeps hostile input from growing the state stack without limit.
constexpr int MaxDepth = 256;

constexpr char16_t LineSeparator = 0x2028;

constexpr std::array<signed char, 256> makeHexTable()
{
    std::array<signed char, 256> table{};
    for (auto& v : table)
        v = -1;
    for (int i = 0; i < 10; ++i)
        table['0' + i] = static_cast<signed char>(i);
    for (int i = 0; i < 6; ++i) {
        table['a' + i] = static_cast<signed char>(10 + i);
        table['A' + i] = static_cast<signed char>(10 + i);
    }
    return table;
}
constexpr auto HexTable = makeHexTable();

// Whether the bytes end in the first byte of a double-byte character whose second byte is still
// to come (it may follow after a group boundary).
bool endsWithLeadByte(const QByteArray& bytes, int codePage)
{
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype size = bytes.size();
    qsizetype i = 0;
    while (i < size)
        i += CodePage::isLeadByte(codePage, data[i]) ? 2 : 1;
    return i == size + 1;
}

// Twips to pixels at 96 dpi.
double twipsToPixels(double twips)
{
    return twips / 15.0;
}

} // namespace

int codePageOfCharset(int charset)
{
    switch (charset) {
    case 0: return 1252;
    case 2: return 1252; // symbol fonts: their glyphs sit on the Latin code points
    case 77: return 10000;
    case 128: return 932;
    case 129: return 949;
    case 130: return 1361;
    case 134: return 936;
    case 136: return 950;
    case 161: return 1253;
    case 162: return 1254;
    case 163: return 1258;
    case 177: return 1255;
    case 178: return 1256;
    case 186: return 1257;
    case 204: return 1251;
    case 222: return 874;
    case 238: return 1250;
    case 254: return 437;
    case 255: return 850;
    default: return 0;
    }
}

Parser::Parser(const QByteArray& data, Sink& sink)
    : m_tokenizer(data), m_sink(sink), m_keepPictureData(sink.wantsPictures()), m_defaultCodePage(CodePage::Ansi)
{
    m_states.reserve(64);
    m_states.emplace_back();
}

void Parser::run()
{
    for (Token t = m_tokenizer.next(); t.type != Token::End && !m_done; t = m_tokenizer.next()) {
        if (t.type == Token::GroupStart) {
            groupStart();
            continue;
        }
        if (t.type == Token::GroupEnd) {
            groupEnd();
            continue;
        }
        if (m_unicodeSkipLeft > 0) {
            // The fallback of a \u character: each byte, escape or control word counts one.
            if (t.type != Token::Text) {
                --m_unicodeSkipLeft;
                continue;
            }
            const size_t n = std::min<size_t>(size_t(m_unicodeSkipLeft), t.text.size());
            m_unicodeSkipLeft -= int(n);
            t.text.remove_prefix(n);
            if (t.text.empty())
                continue;
        }
        const bool star = m_star;
        m_star = false;
        switch (t.type) {
        case Token::Word:
            if (star) {
                // An ignorable destination: only the shape picture and the Unicode half of \upr
                // are read.
                if (t.name == "shppict")
                    startPicture(PictureSlot::Shape);
                else if (t.name != "ud")
                    skipGroup();
                break;
            }
            word(t);
            break;
        case Token::Symbol:
            symbol(t.symbol);
            break;
        case Token::Byte: {
            const char c = static_cast<char>(t.byte);
            text(std::string_view(&c, 1));
            break;
        }
        case Token::Text:
            text(t.text);
            break;
        case Token::Binary:
            binary(t.text);
            break;
        default:
            break;
        }
    }
    finish();
    m_sink.end();
}

void Parser::groupStart()
{
    m_unicodeSkipLeft = 0;
    m_star = false;
    if (m_skipNextGroup) {
        // The ANSI half of \upr: its Unicode half follows in \*\ud.
        m_skipNextGroup = false;
        m_tokenizer.skipGroup();
        return;
    }
    if (int(m_states.size()) > MaxDepth) {
        ++m_overflowDepth;
        return;
    }
    m_states.push_back(m_states.back());
}

void Parser::groupEnd()
{
    m_unicodeSkipLeft = 0;
    m_star = false;
    m_skipNextGroup = false;
    if (m_overflowDepth > 0) {
        --m_overflowDepth;
        return;
    }
    if (m_states.size() <= 1) {
        m_done = true;
        return;
    }
    const State leaving = m_states.back();
    m_states.pop_back();
    const State& parent = m_states.back();
    if (leaving.destination == Destination::FontTable)
        finishFontEntry();
    if (leaving.destination == Destination::Picture && parent.destination != Destination::Picture)
        finishPicture();
    if (leaving.slot == PictureSlot::NonShape && parent.slot != PictureSlot::NonShape)
        flushCandidate();
    if (m_states.size() == 1) {
        // The document's group is closed; anything after it is not RTF. Its last formatting
        // still applies to a last paragraph that has no \par.
        m_states.back().chars = leaving.chars;
        m_states.back().para = leaving.para;
        m_done = true;
    }
}

void Parser::skipGroup()
{
    m_tokenizer.skipGroup();
    groupEnd();
}

void Parser::word(const Token& t)
{
    const Keyword k = lookupKeyword(t.name);
    State& s = state();
    switch (k) {
    case Keyword::Unknown:
        return;
    case Keyword::SkipDestination:
    case Keyword::FldInst:
        skipGroup();
        return;
    case Keyword::Upr:
        m_skipNextGroup = true;
        return;
    case Keyword::Uc:
        s.unicodeSkip = std::clamp(t.param, 0, 16);
        return;
    case Keyword::U: {
        // A signed 16-bit value. Control characters, the paragraph separator (a block break to
        // Qt) and the object replacement character (which stands for pictures) are not text.
        const int value = t.param < 0 ? t.param + 65536 : t.param;
        const char16_t c = char16_t(value);
        const bool text = value >= 0x20 && value <= 0xFFFF && c != 0x2029 && c != 0xFFFC;
        if (s.destination == Destination::Text) {
            if (text)
                appendChar(c);
        } else if (s.destination == Destination::FontTable && m_font) {
            m_font->family += CodePage::decode(m_fontName, m_font->codePage ? m_font->codePage : m_defaultCodePage);
            m_fontName.clear();
            if (text)
                m_font->family += QChar(c);
        }
        m_unicodeSkipLeft = s.unicodeSkip;
        return;
    }
    case Keyword::AnsiCpg:
        if (t.param > 0 && CodePage::isSupported(t.param))
            m_defaultCodePage = t.param;
        m_cachedFont = -2;
        return;
    case Keyword::Mac:
        m_defaultCodePage = 10000;
        m_cachedFont = -2;
        return;
    case Keyword::Pc:
        m_defaultCodePage = 437;
        m_cachedFont = -2;
        return;
    case Keyword::Pca:
        m_defaultCodePage = 850;
        m_cachedFont = -2;
        return;
    case Keyword::Deff:
        m_defaultFont = t.param;
        s.chars.font = t.param;
        return;
    case Keyword::FontTable:
        s.destination = Destination::FontTable;
        return;
    case Keyword::ColorTable:
        s.destination = Destination::ColorTable;
        m_colors.clear();
        m_colorGiven = false;
        return;
    case Keyword::Pict:
        // A sink without pictures still gets a run for each, so that paragraphs and cells
        // holding only a picture come out the same; only the data is not kept.
        flushBytes();
        s.destination = Destination::Picture;
        m_picture = Picture{};
        m_pictureNibble = -1;
        m_picW = m_picH = m_picWGoal = m_picHGoal = 0;
        m_scaleX = m_scaleY = 100;
        return;
    case Keyword::ShpPict:
        startPicture(PictureSlot::Shape);
        return;
    case Keyword::NonShpPict:
        startPicture(PictureSlot::NonShape);
        return;
    default:
        break;
    }

    switch (s.destination) {
    case Destination::Text:
        textWord(k, t);
        return;
    case Destination::FontTable:
        if (k == Keyword::F) {
            finishFontEntry();
            m_font = FontEntry{t.param, 0, {}};
        } else if (k == Keyword::FCharset && m_font) {
            m_font->codePage = codePageOfCharset(t.param);
        } else if (k == Keyword::Cpg && m_font && CodePage::isSupported(t.param)) {
            m_font->codePage = t.param;
        }
        return;
    case Destination::ColorTable: {
        const int value = std::clamp(t.param, 0, 255);
        if (k == Keyword::Red)
            m_red = value;
        else if (k == Keyword::Green)
            m_green = value;
        else if (k == Keyword::Blue)
            m_blue = value;
        else
            return;
        m_colorGiven = true;
        return;
    }
    case Destination::Picture:
        pictureWord(k, t);
        return;
    }
}

void Parser::textWord(Keyword k, const Token& t)
{
    State& s = state();
    CharProps& c = s.chars;
    ParaProps& p = s.para;
    const bool on = !t.hasParam || t.param != 0;
    switch (k) {
    case Keyword::Plain:
        c = CharProps{};
        c.font = m_defaultFont;
        return;
    case Keyword::B: c.bold = on; return;
    case Keyword::I: c.italic = on; return;
    case Keyword::Ul: c.underline = on; return;
    case Keyword::UlStyle: c.underline = on; return;
    case Keyword::UlNone: c.underline = false; return;
    case Keyword::Strike: c.strike = on; return;
    case Keyword::StrikeD: c.strike = on; return;
    case Keyword::V: c.hidden = on; return;
    case Keyword::F: c.font = t.param; return;
    case Keyword::Fs: c.halfPoints = t.hasParam ? std::clamp(t.param, 2, 3276) : 24; return;
    case Keyword::Cf: c.color = colorAt(t.param, &c.hasColor); return;
    case Keyword::Cb:
    case Keyword::Highlight: c.background = colorAt(t.param, &c.hasBackground); return;
    case Keyword::Super: c.vertical = CharProps::Super; return;
    case Keyword::Sub: c.vertical = CharProps::Sub; return;
    case Keyword::NoSuperSub: c.vertical = CharProps::Baseline; return;
    case Keyword::Up: c.vertical = t.param > 0 || !t.hasParam ? CharProps::Super : CharProps::Baseline; return;
    case Keyword::Dn: c.vertical = t.param > 0 || !t.hasParam ? CharProps::Sub : CharProps::Baseline; return;
    case Keyword::Pard: p = ParaProps{}; return;
    case Keyword::Ql: p.align = ParaProps::Left; return;
    case Keyword::Qc: p.align = ParaProps::Center; return;
    case Keyword::Qr: p.align = ParaProps::Right; return;
    case Keyword::Qj: p.align = ParaProps::Justify; return;
    case Keyword::Li: p.leftIndent = t.param; return;
    case Keyword::Ri: p.rightIndent = t.param; return;
    case Keyword::Fi: p.firstIndent = t.param; return;
    case Keyword::Sb: p.spaceBefore = t.param; return;
    case Keyword::Sa: p.spaceAfter = t.param; return;
    case Keyword::Sl: p.lineSpacing = t.param; return;
    case Keyword::SlMult: p.lineMultiple = on; return;
    case Keyword::InTbl: p.inTable = on; return;
    case Keyword::Itap:
        p.nesting = std::max(t.param, 0);
        p.inTable = p.nesting > 0;
        return;
    case Keyword::Par:
    case Keyword::Page:
        endParagraph();
        return;
    case Keyword::Line: appendChar(LineSeparator); return;
    case Keyword::Tab: appendChar(u'\t'); return;
    case Keyword::EmDash: appendChar(0x2014); return;
    case Keyword::EnDash: appendChar(0x2013); return;
    case Keyword::Bullet: appendChar(0x2022); return;
    case Keyword::LQuote: appendChar(0x2018); return;
    case Keyword::RQuote: appendChar(0x2019); return;
    case Keyword::LDblQuote: appendChar(0x201C); return;
    case Keyword::RDblQuote: appendChar(0x201D); return;
    case Keyword::EnSpace: appendChar(0x2002); return;
    case Keyword::EmSpace: appendChar(0x2003); return;
    case Keyword::QmSpace: appendChar(0x2005); return;
    case Keyword::Zwj: appendChar(0x200D); return;
    case Keyword::Zwnj: appendChar(0x200C); return;
    case Keyword::LtrMark: appendChar(0x200E); return;
    case Keyword::RtlMark: appendChar(0x200F); return;
    default:
        tableWord(k, t);
        return;
    }
}

void Parser::tableWord(Keyword k, const Token& t)
{
    switch (k) {
    case Keyword::Trowd:
        m_cellDefinitions.clear();
        m_nextCell = {};
        m_rowLeft = 0;
        m_rowBorders = false;
        m_inBorderDefinition = false;
        return;
    case Keyword::TrLeft:
        m_rowLeft = t.param;
        return;
    case Keyword::Cellx:
        m_nextCell.right = t.param;
        if (m_cellDefinitions.size() < 1000)
            m_cellDefinitions.push_back(m_nextCell);
        m_nextCell = {};
        m_inBorderDefinition = false;
        return;
    case Keyword::MergeFirst:
        m_nextCell.horizontal = CellMerge::First;
        return;
    case Keyword::MergeNext:
        m_nextCell.horizontal = CellMerge::Next;
        return;
    case Keyword::VMergeFirst:
        m_nextCell.vertical = CellMerge::First;
        return;
    case Keyword::VMergeNext:
        m_nextCell.vertical = CellMerge::Next;
        return;
    case Keyword::BorderSide:
        m_inBorderDefinition = true;
        return;
    case Keyword::BorderNone:
        m_inBorderDefinition = false;
        return;
    case Keyword::BorderStyle:
        if (m_inBorderDefinition)
            m_rowBorders = true;
        return;
    case Keyword::Cell:
        endCell();
        return;
    case Keyword::Row:
        endRow(true);
        return;
    case Keyword::NestCell:
        // Nested tables are not kept: their cells flow into the outer cell as text.
        appendChar(u'\t');
        return;
    case Keyword::NestRow:
        endParagraph();
        return;
    default:
        return;
    }
}

void Parser::pictureWord(Keyword k, const Token& t)
{
    const int v = std::clamp(t.param, 0, 1 << 24);
    switch (k) {
    case Keyword::PngBlip: m_picture.kind = Picture::Png; return;
    case Keyword::JpegBlip: m_picture.kind = Picture::Jpeg; return;
    case Keyword::OtherBlip: m_picture.kind = Picture::Other; return;
    case Keyword::PicW: m_picW = v; return;
    case Keyword::PicH: m_picH = v; return;
    case Keyword::PicWGoal: m_picWGoal = v; return;
    case Keyword::PicHGoal: m_picHGoal = v; return;
    case Keyword::PicScaleX: m_scaleX = std::clamp(v, 1, 10000); return;
    case Keyword::PicScaleY: m_scaleY = std::clamp(v, 1, 10000); return;
    default: return;
    }
}

void Parser::symbol(char c)
{
    if (c == '*') {
        m_star = true;
        return;
    }
    if (state().destination != Destination::Text)
        return;
    switch (c) {
    case '~': appendChar(0x00A0); return;
    case '_': appendChar(0x2011); return;
    case '-': return; // an optional hyphen shows only at a line break
    default: return;
    }
}

void Parser::text(std::string_view bytes)
{
    switch (state().destination) {
    case Destination::Text:
        addBytes(bytes.data(), qsizetype(bytes.size()));
        return;
    case Destination::FontTable:
        fontText(bytes);
        return;
    case Destination::ColorTable:
        colorText(bytes);
        return;
    case Destination::Picture:
        pictureText(bytes);
        return;
    }
}

void Parser::binary(std::string_view bytes)
{
    if (state().destination == Destination::Picture && m_keepPictureData)
        m_picture.data.append(bytes.data(), qsizetype(bytes.size()));
}

int Parser::codePageOf(int fontNumber)
{
    if (fontNumber != m_cachedFont) {
        const FontEntry* font = m_resources.font(fontNumber);
        m_cachedFont = fontNumber;
        m_cachedCodePage = font && font->codePage ? font->codePage : m_defaultCodePage;
    }
    return m_cachedCodePage;
}

void Parser::addBytes(const char* bytes, qsizetype count)
{
    const CharProps& props = state().chars;
    if (count <= 0 || props.hidden)
        return;
    const int codePage = codePageOf(props.font);
    if (!m_bytes.isEmpty() && (m_bytesCodePage != codePage || !(m_bytesProps == props))) {
        // The second byte of a character split by a group boundary joins its first byte.
        if (m_bytesCodePage == codePage && endsWithLeadByte(m_bytes, codePage)) {
            m_bytes.append(*bytes);
            ++bytes;
            --count;
        }
        flushBytes();
        if (count == 0)
            return;
    }
    if (m_bytes.isEmpty()) {
        flushCandidate();
        m_bytesProps = props;
        m_bytesCodePage = codePage;
    }
    m_bytes.append(bytes, count);
}

void Parser::flushBytes()
{
    if (m_bytes.isEmpty())
        return;
    bool ascii = true;
    for (const char b : m_bytes)
        ascii &= static_cast<unsigned char>(b) < 0x80;
    QString decoded = ascii ? QString::fromLatin1(m_bytes) : CodePage::decode(m_bytes, m_bytesCodePage);
    m_bytes.clear();
    // Control characters are no text (some code pages decode printable bytes to them).
    if (std::any_of(decoded.cbegin(), decoded.cend(), [](QChar ch) { return ch.unicode() < 0x20 && ch != u'\t'; }))
        decoded.removeIf([](QChar ch) { return ch.unicode() < 0x20 && ch != u'\t'; });
    if (decoded.isEmpty())
        return;

    flushCandidate();
    std::vector<Run>& runs = m_paragraph.runs;
    if (!runs.empty() && runs.back().picture < 0 && runs.back().props == m_bytesProps)
        runs.back().text += decoded;
    else
        runs.push_back(Run{std::move(decoded), m_bytesProps});
}

void Parser::appendText(const QString& text)
{
    const CharProps& props = state().chars;
    if (props.hidden)
        return;
    flushBytes();
    flushCandidate();
    std::vector<Run>& runs = m_paragraph.runs;
    if (!runs.empty() && runs.back().picture < 0 && runs.back().props == props)
        runs.back().text += text;
    else
        runs.push_back(Run{text, props});
}

void Parser::appendChar(char16_t c)
{
    if (state().destination == Destination::Text)
        appendText(QString(QChar(c)));
}

void Parser::endParagraph()
{
    flushBytes();
    flushCandidate();
    const State& s = state();
    m_paragraph.props = s.para;
    m_paragraph.markProps = s.chars;
    if (s.para.inTable) {
        m_cellParagraphs.push_back(std::move(m_paragraph));
    } else {
        endPendingRow();
        m_sink.paragraph(m_paragraph, m_resources);
    }
    m_paragraph = Paragraph{};
}

void Parser::endCell()
{
    flushBytes();
    flushCandidate();
    const State& s = state();
    m_paragraph.props = s.para;
    m_paragraph.props.inTable = true;
    m_paragraph.markProps = s.chars;
    m_cellParagraphs.push_back(std::move(m_paragraph));
    m_paragraph = Paragraph{};
    m_rowCells.push_back(TableCell{std::move(m_cellParagraphs), 0});
    m_cellParagraphs.clear();
}

void Parser::endRow(bool takeParagraph)
{
    flushBytes();
    flushCandidate();
    if (!m_cellParagraphs.empty() || (takeParagraph && !m_paragraph.isEmpty())) {
        if (takeParagraph) {
            endCell();
        } else {
            m_rowCells.push_back(TableCell{std::move(m_cellParagraphs), 0});
            m_cellParagraphs.clear();
        }
    }
    if (m_rowCells.empty())
        return;
    TableRow row;
    row.cells = std::move(m_rowCells);
    row.borders = m_rowBorders;
    int left = m_rowLeft;
    for (size_t i = 0; i < row.cells.size() && i < m_cellDefinitions.size(); ++i) {
        const CellDefinition& definition = m_cellDefinitions[i];
        TableCell& cell = row.cells[i];
        cell.width = std::max(0, definition.right - left);
        cell.right = definition.right;
        cell.horizontal = definition.horizontal;
        cell.vertical = definition.vertical;
        left = definition.right;
    }
    m_rowCells.clear();
    m_sink.tableRow(row, m_resources);
}

void Parser::endPendingRow()
{
    if (!m_rowCells.empty() || !m_cellParagraphs.empty())
        endRow(false);
}

void Parser::finish()
{
    flushBytes();
    flushCandidate();
    if (!m_paragraph.isEmpty()) {
        if (state().para.inTable || !m_rowCells.empty())
            endRow(true);
        else
            endParagraph();
    }
    endPendingRow();
}

void Parser::fontText(std::string_view bytes)
{
    for (const char b : bytes) {
        if (b == ';')
            finishFontEntry();
        else if (m_font)
            m_fontName.append(b);
    }
}

void Parser::finishFontEntry()
{
    if (!m_font)
        return;
    m_font->family += CodePage::decode(m_fontName, m_font->codePage ? m_font->codePage : m_defaultCodePage);
    m_font->family = m_font->family.trimmed();
    if (!m_resources.font(m_font->number) && m_resources.fonts.size() < 4096)
        m_resources.fonts.push_back(std::move(*m_font));
    m_font.reset();
    m_fontName.clear();
    m_cachedFont = -2;
}

void Parser::colorText(std::string_view bytes)
{
    for (const char b : bytes) {
        if (b != ';')
            continue;
        if (m_colors.size() < 4096)
            m_colors.push_back(m_colorGiven ? std::optional<QRgb>(qRgb(m_red, m_green, m_blue)) : std::nullopt);
        m_red = m_green = m_blue = 0;
        m_colorGiven = false;
    }
}

QRgb Parser::colorAt(int index, bool* found) const
{
    if (index >= 0 && size_t(index) < m_colors.size() && m_colors[size_t(index)]) {
        *found = true;
        return *m_colors[size_t(index)];
    }
    *found = false;
    return 0;
}

void Parser::startPicture(PictureSlot slot)
{
    state().slot = slot;
}

void Parser::pictureText(std::string_view bytes)
{
    if (!m_keepPictureData)
        return;
    for (const char b : bytes) {
        const int v = HexTable[static_cast<unsigned char>(b)];
        if (v < 0)
            continue;
        if (m_pictureNibble < 0) {
            m_pictureNibble = v;
        } else {
            m_picture.data.append(char(m_pictureNibble * 16 + v));
            m_pictureNibble = -1;
        }
    }
}

void Parser::finishPicture()
{
    Picture picture = std::move(m_picture);
    m_picture = Picture{};
    const double sx = m_scaleX / 100.0;
    const double sy = m_scaleY / 100.0;
    if (m_picWGoal > 0 && m_picHGoal > 0)
        picture.size = QSizeF(twipsToPixels(m_picWGoal) * sx, twipsToPixels(m_picHGoal) * sy);
    else if (picture.kind != Picture::Other && m_picW > 0 && m_picH > 0)
        picture.size = QSizeF(m_picW * sx, m_picH * sy); // bitmaps give their size in pixels
    else if (m_picW > 0 && m_picH > 0)
        picture.size = QSizeF(m_picW / 2540.0 * 96 * sx, m_picH / 2540.0 * 96 * sy); // metafiles: 0.01 mm
    picture.size = picture.size.boundedTo(QSizeF(20000, 20000));

    // The picture group sits inside the group that chose its slot, so the slot is the parent's.
    if (state().slot == PictureSlot::None) {
        appendPicture(std::move(picture));
        return;
    }
    flushBytes();
    // Of a shape picture and its fallback, a PNG or JPEG wins over a metafile; else the first.
    if (!m_candidate || (m_candidate->kind == Picture::Other && picture.kind != Picture::Other))
        m_candidate = std::move(picture);
}

void Parser::appendPicture(Picture picture)
{
    flushBytes();
    if (m_resources.pictures.size() >= 10000)
        return;
    m_resources.pictures.push_back(std::move(picture));
    Run run;
    run.props = state().chars;
    run.picture = int(m_resources.pictures.size()) - 1;
    m_paragraph.runs.push_back(std::move(run));
}

void Parser::flushCandidate()
{
    if (!m_candidate)
        return;
    Picture picture = std::move(*m_candidate);
    m_candidate.reset();
    appendPicture(std::move(picture));
}

} // namespace tarnex::rtf
