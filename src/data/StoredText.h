#pragma once

#include <QString>

namespace tarnex {

// The stored form of the information texts of tb_memo: the text's bytes in the ANSI code page
// (936), in Base64 with "=" padding, CR LF after every 76 characters of output.
QString EncodeStoredText(const QString& text);

// The inverse. Every character outside the Base64 alphabet and "=" is skipped, so any value
// decodes without an error (junk decodes to meaningless text).
QString DecodeStoredText(const QString& stored);

} // namespace tarnex
