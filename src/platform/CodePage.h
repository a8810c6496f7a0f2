#pragma once

#include <QByteArray>
#include <QString>

namespace tarnex {

// Conversions between text and Windows code pages. The ANSI code page of the program is 936
// (simplified Chinese, a superset of GB2312); RTF documents may name others through their fonts.
namespace CodePage {

constexpr int Ansi = 936;

// Text to bytes in the code page. A character the code page cannot represent becomes '?',
// the way Windows converts with its default character.
QByteArray encode(const QString& text, int codePage = Ansi);

// Bytes in the code page to text. A byte sequence that is not valid in the code page becomes '?'
// for each offending byte; decoding never fails.
QString decode(const QByteArray& bytes, int codePage = Ansi);

// Whether the code page can be converted on this system.
bool isSupported(int codePage);

// True for a byte that starts a two-byte character in the double-byte code pages (932, 936,
// 949, 950); false for every byte of a single-byte code page.
bool isLeadByte(int codePage, unsigned char byte);

} // namespace CodePage
} // namespace tarnex
