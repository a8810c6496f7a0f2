#include "StoredText.h"

#include "platform/CodePage.h"

#include <array>

namespace tarnex {
namespace {

constexpr char Alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr int LineLength = 76;

constexpr std::array<int, 128> makeDecodeTable()
{
    std::array<int, 128> table{};
    for (auto& v : table)
        v = -1;
    for (int i = 0; i < 64; ++i)
        table[static_cast<unsigned char>(Alphabet[i])] = i;
    return table;
}
constexpr auto DecodeTable = makeDecodeTable();

} // namespace

QString EncodeStoredText(const QString& text)
{
    const QByteArray bytes = CodePage::encode(text, CodePage::Ansi);
    QString out;
    out.reserve((bytes.size() + 2) / 3 * 4 + (bytes.size() / 57 + 1) * 2);
    int column = 0;
    auto put = [&](char c) {
        out.append(QLatin1Char(c));
        if (++column == LineLength) {
            out.append(u"\r\n");
            column = 0;
        }
    };
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype size = bytes.size();
    qsizetype i = 0;
    for (; i + 2 < size; i += 3) {
        const unsigned v = (data[i] << 16) | (data[i + 1] << 8) | data[i + 2];
        put(Alphabet[(v >> 18) & 63]);
        put(Alphabet[(v >> 12) & 63]);
        put(Alphabet[(v >> 6) & 63]);
        put(Alphabet[v & 63]);
    }
    if (size - i == 1) {
        const unsigned v = data[i] << 16;
        put(Alphabet[(v >> 18) & 63]);
        put(Alphabet[(v >> 12) & 63]);
        put('=');
        put('=');
    } else if (size - i == 2) {
        const unsigned v = (data[i] << 16) | (data[i + 1] << 8);
        put(Alphabet[(v >> 18) & 63]);
        put(Alphabet[(v >> 12) & 63]);
        put(Alphabet[(v >> 6) & 63]);
        put('=');
    }
    return out;
}

QString DecodeStoredText(const QString& stored)
{
    // Keep only alphabet characters and "=", then decode groups of four. A group whose third
    // character is "=" gives one byte, whose fourth is "=" two; a trailing partial group gives
    // the bytes its characters fully determine.
    QByteArray chars;
    chars.reserve(stored.size());
    for (const QChar c : stored) {
        const char16_t u = c.unicode();
        if (u == u'=' || (u < 128 && DecodeTable[u] >= 0))
            chars.append(char(u));
    }

    QByteArray bytes;
    bytes.reserve(chars.size() / 4 * 3 + 3);
    auto value = [](char c) { return c == '=' ? 0 : DecodeTable[static_cast<unsigned char>(c)]; };
    for (qsizetype i = 0; i < chars.size(); i += 4) {
        const qsizetype n = std::min<qsizetype>(4, chars.size() - i);
        const char c0 = chars[i];
        const char c1 = n > 1 ? chars[i + 1] : '=';
        const char c2 = n > 2 ? chars[i + 2] : '=';
        const char c3 = n > 3 ? chars[i + 3] : '=';
        if (c0 == '=' || c1 == '=')
            continue; // a group that cannot carry a byte
        const unsigned v = (value(c0) << 18) | (value(c1) << 12) | (value(c2) << 6) | value(c3);
        bytes.append(char((v >> 16) & 0xFF));
        if (c2 == '=')
            continue;
        bytes.append(char((v >> 8) & 0xFF));
        if (c3 == '=')
            continue;
        bytes.append(char(v & 0xFF));
    }
    return CodePage::decode(bytes, CodePage::Ansi);
}

} // namespace tarnex
