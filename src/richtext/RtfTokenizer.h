#pragma once

#include <QByteArray>

#include <cstdint>
#include <string_view>

namespace tarnex::rtf {

// One lexical element of an RTF byte stream. Views point into the tokenizer's input.
struct Token
{
    enum Type : std::uint8_t {
        End,
        GroupStart,
        GroupEnd,
        Word,    // \name or \nameN; name holds the letters
        Symbol,  // \x for a non-letter x other than ', \, { and }; symbol holds x
        Byte,    // a lone \'h, or an escaped \\ \{ \}; byte holds the value
        Text,    // a run of plain bytes (no braces, backslashes, CR or LF), or of the bytes of
                 // consecutive \'hh escapes
        Binary,  // the data of \binN; text holds the bytes
    };
    Token(Type t = End) : type(t) {}

    Type type;
    bool hasParam = false;
    unsigned char byte = 0;
    char symbol = 0;
    int param = 0;
    std::string_view name;
    std::string_view text;
};

// Splits RTF bytes into tokens. Never reads past the end; malformed input yields what it can.
class Tokenizer
{
public:
    explicit Tokenizer(const QByteArray& data)
        : m_pos(data.constData()), m_end(data.constData() + data.size())
    {
    }

    Token next();

    // Consumes everything up to and including the '}' that closes the current group, without
    // looking into it (escaped braces and \bin data do not count).
    void skipGroup();

    bool atEnd() const { return m_pos >= m_end; }

private:
    Token controlWord();
    Token controlSymbol();
    Token hexRun();

    const char* m_pos;
    const char* m_end;
    QByteArray m_hexBytes; // the bytes of the last run of \'hh escapes
};

} // namespace tarnex::rtf
