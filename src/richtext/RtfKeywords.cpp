#include "RtfKeywords.h"

#include <algorithm>
#include <array>
#include <utility>

namespace tarnex::rtf {
namespace {

using K = Keyword;
using Entry = std::pair<std::string_view, Keyword>;

// Destinations whose content is not part of the text: headers, document information, style and
// list definitions, field instructions, embedded object data, shape properties.
constexpr std::string_view SkippedDestinations[] = {
    "annotation", "atnauthor", "atnid", "author", "bkmkend", "bkmkstart", "blipuid", "buptim",
    "colorschememapping", "comment", "creatim", "datastore", "docvar", "doccomm", "falt", "filetbl",
    "footer", "footerf", "footerl", "footerr", "footnote", "ftncn", "ftnsep", "ftnsepc", "generator",
    "header", "headerf", "headerl", "headerr", "info", "keywords", "latentstyles", "listoverridetable",
    "listtable", "mmathPr", "nesttableprops", "objclass", "objdata", "objname",
    "operator", "panose", "pgdsctbl", "picprop", "pn", "pnseclvl", "pntxta", "pntxtb", "printim",
    "private", "revtbl", "revtim", "rsidtbl", "rxe", "shpinst", "sn", "sp", "stylesheet", "subject",
    "sv", "tc", "themedata", "title", "txe", "userprops", "wgrffmtfilter", "xe", "xmlnstbl",
};

constexpr Entry Words[] = {
    {"mac", K::Mac}, {"pc", K::Pc}, {"pca", K::Pca},
    {"ansicpg", K::AnsiCpg}, {"deff", K::Deff}, {"uc", K::Uc}, {"u", K::U},
    {"fonttbl", K::FontTable}, {"colortbl", K::ColorTable}, {"pict", K::Pict}, {"shppict", K::ShpPict},
    {"nonshppict", K::NonShpPict}, {"fldinst", K::FldInst}, {"upr", K::Upr},
    {"f", K::F}, {"fcharset", K::FCharset}, {"cpg", K::Cpg}, {"red", K::Red}, {"green", K::Green},
    {"blue", K::Blue},
    {"plain", K::Plain}, {"b", K::B}, {"i", K::I}, {"ul", K::Ul}, {"ulnone", K::UlNone},
    {"uld", K::UlStyle}, {"uldash", K::UlStyle}, {"uldashd", K::UlStyle}, {"uldashdd", K::UlStyle},
    {"uldb", K::UlStyle}, {"ulhwave", K::UlStyle}, {"ulldash", K::UlStyle}, {"ulth", K::UlStyle},
    {"ulthd", K::UlStyle}, {"ulthdash", K::UlStyle}, {"ulthdashd", K::UlStyle},
    {"ulthdashdd", K::UlStyle}, {"ulthldash", K::UlStyle}, {"ululdbwave", K::UlStyle},
    {"ulw", K::UlStyle}, {"ulwave", K::UlStyle}, {"strike", K::Strike}, {"striked", K::StrikeD},
    {"v", K::V}, {"fs", K::Fs}, {"cf", K::Cf}, {"cb", K::Cb}, {"chcbpat", K::Cb},
    {"highlight", K::Highlight}, {"super", K::Super}, {"sub", K::Sub}, {"nosupersub", K::NoSuperSub},
    {"up", K::Up}, {"dn", K::Dn},
    {"pard", K::Pard}, {"par", K::Par}, {"line", K::Line}, {"tab", K::Tab}, {"page", K::Page},
    {"sect", K::Page}, {"ql", K::Ql}, {"qc", K::Qc}, {"qr", K::Qr}, {"qj", K::Qj}, {"qd", K::Qj},
    {"li", K::Li}, {"lin", K::Li}, {"ri", K::Ri}, {"rin", K::Ri}, {"fi", K::Fi}, {"sb", K::Sb},
    {"sa", K::Sa}, {"sl", K::Sl}, {"slmult", K::SlMult}, {"intbl", K::InTbl}, {"itap", K::Itap},
    {"trowd", K::Trowd}, {"cellx", K::Cellx}, {"cell", K::Cell}, {"row", K::Row},
    {"nestcell", K::NestCell}, {"nestrow", K::NestRow}, {"trleft", K::TrLeft},
    {"clmgf", K::MergeFirst}, {"clmrg", K::MergeNext}, {"clvmgf", K::VMergeFirst},
    {"clvmrg", K::VMergeNext},
    {"clbrdrt", K::BorderSide}, {"clbrdrl", K::BorderSide}, {"clbrdrb", K::BorderSide},
    {"clbrdrr", K::BorderSide}, {"trbrdrt", K::BorderSide}, {"trbrdrl", K::BorderSide},
    {"trbrdrb", K::BorderSide}, {"trbrdrr", K::BorderSide}, {"trbrdrh", K::BorderSide},
    {"trbrdrv", K::BorderSide}, {"brdrnone", K::BorderNone}, {"brdrnil", K::BorderNone},
    {"brdrs", K::BorderStyle}, {"brdrth", K::BorderStyle}, {"brdrdb", K::BorderStyle},
    {"brdrdot", K::BorderStyle}, {"brdrdash", K::BorderStyle}, {"brdrsh", K::BorderStyle},
    {"brdrhair", K::BorderStyle}, {"brdrtriple", K::BorderStyle}, {"brdrdashsm", K::BorderStyle},
    {"pngblip", K::PngBlip}, {"jpegblip", K::JpegBlip}, {"wmetafile", K::OtherBlip},
    {"emfblip", K::OtherBlip}, {"macpict", K::OtherBlip}, {"pmmetafile", K::OtherBlip},
    {"dibitmap", K::OtherBlip}, {"wbitmap", K::OtherBlip}, {"picw", K::PicW}, {"pich", K::PicH},
    {"picwgoal", K::PicWGoal}, {"pichgoal", K::PicHGoal}, {"picscalex", K::PicScaleX},
    {"picscaley", K::PicScaleY},
    {"emdash", K::EmDash}, {"endash", K::EnDash}, {"bullet", K::Bullet}, {"lquote", K::LQuote},
    {"rquote", K::RQuote}, {"ldblquote", K::LDblQuote}, {"rdblquote", K::RDblQuote},
    {"enspace", K::EnSpace}, {"emspace", K::EmSpace}, {"qmspace", K::QmSpace}, {"zwj", K::Zwj},
    {"zwnj", K::Zwnj}, {"ltrmark", K::LtrMark}, {"rtlmark", K::RtlMark},
};

constexpr size_t TableSize = std::size(Words) + std::size(SkippedDestinations);

std::array<Entry, TableSize> makeTable()
{
    std::array<Entry, TableSize> table{};
    size_t n = 0;
    for (const Entry& e : Words)
        table[n++] = e;
    for (std::string_view name : SkippedDestinations)
        table[n++] = {name, K::SkipDestination};
    std::sort(table.begin(), table.end(), [](const Entry& a, const Entry& b) { return a.first < b.first; });
    return table;
}

} // namespace

Keyword lookupKeyword(std::string_view name)
{
    static const std::array<Entry, TableSize> table = makeTable();
    const auto it = std::lower_bound(table.begin(), table.end(), name,
                                     [](const Entry& e, std::string_view n) { return e.first < n; });
    return it != table.end() && it->first == name ? it->second : K::Unknown;
}

} // namespace tarnex::rtf
