// Feeds arbitrary text to DecodeStoredText; text that came out of it must survive an encoding
// round trip.
#include "data/StoredText.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString stored = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString text = tarnex::DecodeStoredText(stored);
    const QString encoded = tarnex::EncodeStoredText(text);
    if (tarnex::DecodeStoredText(encoded) != text)
        std::abort();
    if (tarnex::EncodeStoredText(tarnex::DecodeStoredText(encoded)) != encoded)
        std::abort();
    return 0;
}
