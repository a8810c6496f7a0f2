#include "NaturalOrder.h"

#include <cstring>

namespace tarnex {
namespace {
bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}
} // namespace

int compareNaturalUtf8(const char* a, int lengthA, const char* b, int lengthB)
{
    int i = 0;
    int j = 0;
    while (i < lengthA && j < lengthB) {
        if (isDigit(a[i]) && isDigit(b[j])) {
            int endA = i;
            int endB = j;
            while (endA < lengthA && isDigit(a[endA]))
                ++endA;
            while (endB < lengthB && isDigit(b[endB]))
                ++endB;
            int startA = i;
            int startB = j;
            while (startA < endA - 1 && a[startA] == '0')
                ++startA;
            while (startB < endB - 1 && b[startB] == '0')
                ++startB;
            const int digitsA = endA - startA;
            const int digitsB = endB - startB;
            if (digitsA != digitsB)
                return digitsA < digitsB ? -1 : 1;
            if (const int c = std::memcmp(a + startA, b + startB, size_t(digitsA)); c != 0)
                return c < 0 ? -1 : 1;
            i = endA;
            j = endB;
            continue;
        }
        const auto ca = static_cast<unsigned char>(a[i]);
        const auto cb = static_cast<unsigned char>(b[j]);
        if (ca != cb)
            return ca < cb ? -1 : 1;
        ++i;
        ++j;
    }
    if (i < lengthA || j < lengthB)
        return i < lengthA ? 1 : -1;
    // Same order value: break the tie by the spelling so that "007" and "7" never compare equal.
    const int common = lengthA < lengthB ? lengthA : lengthB;
    if (const int c = std::memcmp(a, b, size_t(common)); c != 0)
        return c < 0 ? -1 : 1;
    return lengthA == lengthB ? 0 : (lengthA < lengthB ? -1 : 1);
}

int compareNatural(const QString& a, const QString& b)
{
    const QByteArray ua = a.toUtf8();
    const QByteArray ub = b.toUtf8();
    return compareNaturalUtf8(ua.constData(), int(ua.size()), ub.constData(), int(ub.size()));
}

} // namespace tarnex
