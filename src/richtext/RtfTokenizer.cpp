#include "RtfTokenizer.h"
#include "platform/TextUtil.h"

#include <algorithm>
#include <climits>

namespace tarnex::rtf {
namespace {

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Control words longer than this are not RTF; the rest of the letters are read as part of the
// name all the same so that the stream stays in step.
constexpr std::ptrdiff_t MaxNameLength = 32;

} // namespace

Token Tokenizer::next()
{
    while (m_pos < m_end) {
        const char c = *m_pos;
        switch (c) {
        case '{':
            ++m_pos;
            return {Token::GroupStart};
        case '}':
            ++m_pos;
            return {Token::GroupEnd};
        case '\\':
            ++m_pos;
            if (m_pos >= m_end)
                return {Token::End};
            if (isLetter(*m_pos))
                return controlWord();
            return controlSymbol();
        case '\r':
        case '\n':
            ++m_pos;
            continue;
        default: {
            const char* start = m_pos;
            while (m_pos < m_end) {
                const char d = *m_pos;
                if (d == '{' || d == '}' || d == '\\' || d == '\r' || d == '\n')
                    break;
                ++m_pos;
            }
            Token t{Token::Text};
            t.text = std::string_view(start, size_t(m_pos - start));
            return t;
        }
        }
    }
    return {Token::End};
}

Token Tokenizer::controlWord()
{
    const char* start = m_pos;
    while (m_pos < m_end && isLetter(*m_pos))
        ++m_pos;
    Token t{Token::Word};
    t.name = std::string_view(start, size_t(std::min(m_pos - start, MaxNameLength)));

    bool negative = false;
    if (m_pos < m_end && *m_pos == '-' && m_pos + 1 < m_end && isDigit(m_pos[1])) {
        negative = true;
        ++m_pos;
    }
    if (m_pos < m_end && isDigit(*m_pos)) {
        long long value = 0;
        while (m_pos < m_end && isDigit(*m_pos)) {
            if (value < INT_MAX)
                value = value * 10 + (*m_pos - '0');
            ++m_pos;
        }
        value = std::min<long long>(value, INT_MAX);
        t.hasParam = true;
        t.param = int(negative ? -value : value);
    }
    if (m_pos < m_end && *m_pos == ' ')
        ++m_pos;

    if (t.name == "bin") {
        // The data follows the delimiter at once and may hold any byte, braces included.
        const std::ptrdiff_t length = std::clamp<std::ptrdiff_t>(t.hasParam ? t.param : 0, 0, m_end - m_pos);
        t.type = Token::Binary;
        t.text = std::string_view(m_pos, size_t(length));
        m_pos += length;
    }
    return t;
}

Token Tokenizer::controlSymbol()
{
    const char c = *m_pos++;
    switch (c) {
    case '\'': {
        if (m_end - m_pos >= 2 && hexDigitValue(m_pos[0]) >= 0 && hexDigitValue(m_pos[1]) >= 0)
            return hexRun();
        Token t{Token::Byte};
        const int high = m_pos < m_end ? hexDigitValue(*m_pos) : -1;
        if (high < 0) // a broken escape: drop it
            return next();
        ++m_pos;
        const int low = m_pos < m_end ? hexDigitValue(*m_pos) : -1;
        if (low < 0) {
            t.byte = static_cast<unsigned char>(high);
            return t;
        }
        ++m_pos;
        t.byte = static_cast<unsigned char>(high * 16 + low);
        return t;
    }
    case '\\':
    case '{':
    case '}': {
        Token t{Token::Byte};
        t.byte = static_cast<unsigned char>(c);
        return t;
    }
    case '\r':
    case '\n': {
        // A backslash before a line end is a paragraph mark.
        Token t{Token::Word};
        t.name = "par";
        return t;
    }
    default: {
        Token t{Token::Symbol};
        t.symbol = c;
        return t;
    }
    }
}

// Text in a code page other than ASCII is mostly runs of \'hh escapes (two for each Chinese
// character); handing them over as one run spares the reader a token per byte.
Token Tokenizer::hexRun()
{
    m_hexBytes.clear();
    for (;;) {
        m_hexBytes.append(char(hexDigitValue(m_pos[0]) * 16 + hexDigitValue(m_pos[1])));
        m_pos += 2;
        const bool another = m_end - m_pos >= 4 && m_pos[0] == '\\' && m_pos[1] == '\'' &&
                             hexDigitValue(m_pos[2]) >= 0 && hexDigitValue(m_pos[3]) >= 0;
        if (!another)
            break;
        m_pos += 2;
    }
    Token t{Token::Text};
    t.text = std::string_view(m_hexBytes.constData(), size_t(m_hexBytes.size()));
    return t;
}

void Tokenizer::skipGroup()
{
    int depth = 1;
    while (m_pos < m_end) {
        const char c = *m_pos;
        if (c == '{') {
            ++depth;
            ++m_pos;
        } else if (c == '}') {
            ++m_pos;
            if (--depth == 0)
                return;
        } else if (c == '\\') {
            ++m_pos;
            if (m_pos < m_end && isLetter(*m_pos))
                controlWord(); // steps over the data of \bin as well
            else if (m_pos < m_end)
                ++m_pos;
        } else {
            ++m_pos;
        }
    }
}

} // namespace tarnex::rtf
