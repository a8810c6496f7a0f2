// libFuzzer target for the INI reader and writer behind ci.ini: any bytes read back to exactly
// themselves; writing a counter leaves the other counters as they were, reads back as written,
// and survives a save-and-reread of the bytes.
#include "platform/IniFile.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

using tarnex::IniFile;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    IniFile ini = IniFile::fromBytes(bytes);
    if (ini.toBytes() != bytes)
        std::abort();

    const QString section = QStringLiteral("ci");
    const int liu = ini.readInt(section, QStringLiteral("liu"), 1);
    const QString other = ini.readString(QStringLiteral("other"), QStringLiteral("key"));
    const int value = int(size % 7) - 2;
    ini.writeInt(section, QStringLiteral("san"), value);
    if (ini.readInt(section, QStringLiteral("san"), 1) != value)
        std::abort();
    if (ini.readInt(section, QStringLiteral("liu"), 1) != liu)
        std::abort();
    if (ini.readString(QStringLiteral("other"), QStringLiteral("key")) != other)
        std::abort();

    const IniFile reread = IniFile::fromBytes(ini.toBytes());
    if (reread.readInt(section, QStringLiteral("san"), 1) != value ||
        reread.readInt(section, QStringLiteral("liu"), 1) != liu)
        std::abort();
    return 0;
}
