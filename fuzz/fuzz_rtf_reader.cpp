// Feeds arbitrary bytes to the RTF reader, both into a document and as plain text, and writes
// and reads back what it read. Any crash, hang, sanitizer report or broken invariant is a bug.
#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"

#include <QTextDocument>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString text = tarnex::rtfToPlainText(bytes);

    QTextDocument document;
    tarnex::readRtf(bytes, &document);
    if (tarnex::isRtf(bytes) != bytes.trimmed().startsWith("{\\rtf"))
        std::abort();

    // What we write must read back to the same text.
    const QByteArray written = tarnex::writeRtf(document);
    QTextDocument again;
    tarnex::readRtf(written, &again);
    if (tarnex::documentPlainText(again) != tarnex::documentPlainText(document))
        std::abort();
    (void)text;
    return 0;
}
