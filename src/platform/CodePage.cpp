#include "CodePage.h"

#include <QtEndian>

#include <cerrno>
#include <iconv.h>
#include <map>
#include <utility>

namespace tarnex::CodePage {
namespace {

#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
constexpr const char* Utf16Name = "UTF-16LE";
#else
constexpr const char* Utf16Name = "UTF-16BE";
#endif

QByteArray iconvName(int codePage)
{
    return "CP" + QByteArray::number(codePage);
}

// Opening an iconv descriptor costs far more than a conversion, and the RTF reader converts many
// short runs, so descriptors are kept per thread and reset before each use.
class Converter
{
public:
    static iconv_t get(int codePage, bool toCodePage)
    {
        thread_local Converter cache;
        auto key = std::make_pair(codePage, toCodePage);
        auto it = cache.m_handles.find(key);
        if (it == cache.m_handles.end()) {
            const QByteArray name = iconvName(codePage);
            iconv_t cd = toCodePage ? iconv_open(name.constData(), Utf16Name)
                                    : iconv_open(Utf16Name, name.constData());
            it = cache.m_handles.emplace(key, cd).first;
        }
        if (it->second != reinterpret_cast<iconv_t>(-1))
            iconv(it->second, nullptr, nullptr, nullptr, nullptr);
        return it->second;
    }

    ~Converter()
    {
        for (auto& [key, cd] : m_handles) {
            if (cd != reinterpret_cast<iconv_t>(-1))
                iconv_close(cd);
        }
    }

private:
    std::map<std::pair<int, bool>, iconv_t> m_handles;
};

bool isInvalid(iconv_t cd)
{
    return cd == reinterpret_cast<iconv_t>(-1);
}

} // namespace

QByteArray encode(const QString& text, int codePage)
{
    if (text.isEmpty())
        return {};
    iconv_t cd = Converter::get(codePage, true);
    if (isInvalid(cd))
        return text.toLatin1();

    QByteArray out;
    out.reserve(text.size() * 2);
    const char* in = reinterpret_cast<const char*>(text.utf16());
    size_t inLeft = size_t(text.size()) * 2;
    char buffer[4096];
    while (inLeft > 0) {
        char* outPtr = buffer;
        size_t outLeft = sizeof buffer;
        const size_t rc = iconv(cd, const_cast<char**>(&in), &inLeft, &outPtr, &outLeft);
        out.append(buffer, outPtr - buffer);
        if (rc != size_t(-1))
            continue;
        if (errno == E2BIG)
            continue;
        // A character the code page lacks (or a lone surrogate): one '?' for the whole character.
        out.append('?');
        // A lone high surrogate is one character; the unit after it is not swallowed with it.
        const char16_t unit = qFromUnaligned<char16_t>(in);
        const bool pair = QChar::isHighSurrogate(unit) && inLeft >= 4 &&
                          QChar::isLowSurrogate(qFromUnaligned<char16_t>(in + 2));
        const size_t skip = pair ? 4 : 2;
        in += skip;
        inLeft -= std::min(skip, inLeft);
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    return out;
}

QString decode(const QByteArray& bytes, int codePage)
{
    if (bytes.isEmpty())
        return {};
    iconv_t cd = Converter::get(codePage, false);
    if (isInvalid(cd))
        return QString::fromLatin1(bytes);

    QString out;
    out.reserve(bytes.size());
    const char* in = bytes.constData();
    size_t inLeft = size_t(bytes.size());
    char16_t buffer[2048];
    while (inLeft > 0) {
        char* outPtr = reinterpret_cast<char*>(buffer);
        size_t outLeft = sizeof buffer;
        const size_t rc = iconv(cd, const_cast<char**>(&in), &inLeft, &outPtr, &outLeft);
        out.append(reinterpret_cast<const QChar*>(buffer), (reinterpret_cast<char16_t*>(outPtr) - buffer));
        if (rc != size_t(-1))
            continue;
        if (errno == E2BIG)
            continue;
        // Invalid or truncated sequence: replace the offending byte and go on after it.
        out.append(u'?');
        ++in;
        --inLeft;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    return out;
}

bool isSupported(int codePage)
{
    return !isInvalid(Converter::get(codePage, false));
}

bool isLeadByte(int codePage, unsigned char byte)
{
    switch (codePage) {
    case 932:
        return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
    case 936:
    case 949:
    case 950:
        return byte >= 0x81 && byte <= 0xFE;
    default:
        return false;
    }
}

} // namespace tarnex::CodePage
