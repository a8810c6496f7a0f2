#pragma once

#include <cstdint>
#include <string_view>

namespace tarnex::rtf {

// The control words the reader acts on. Every other word is ignored.
enum class Keyword : std::uint16_t {
    Unknown,
    // header
    Mac, Pc, Pca, AnsiCpg, Deff, Uc, U,
    // destinations
    FontTable, ColorTable, Pict, ShpPict, NonShpPict, FldInst, Upr, SkipDestination,
    // font and colour tables
    F, FCharset, Cpg, Red, Green, Blue,
    // character formatting
    Plain, B, I, Ul, UlNone, UlStyle, Strike, StrikeD, V, Fs, Cf, Cb, Highlight, Super, Sub,
    NoSuperSub, Up, Dn,
    // paragraphs and breaks
    Pard, Par, Line, Tab, Page, Ql, Qc, Qr, Qj, Li, Ri, Fi, Sb, Sa, Sl, SlMult, InTbl, Itap,
    // tables
    Trowd, Cellx, Cell, Row, NestCell, NestRow, TrLeft, BorderSide, BorderNone, BorderStyle,
    MergeFirst, MergeNext, VMergeFirst, VMergeNext,
    // pictures
    PngBlip, JpegBlip, OtherBlip, PicW, PicH, PicWGoal, PicHGoal, PicScaleX, PicScaleY,
    // single characters
    EmDash, EnDash, Bullet, LQuote, RQuote, LDblQuote, RDblQuote, EnSpace, EmSpace, QmSpace, Zwj,
    Zwnj, LtrMark, RtlMark,
};

Keyword lookupKeyword(std::string_view name);

} // namespace tarnex::rtf
