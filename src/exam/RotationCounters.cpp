#include "RotationCounters.h"

#include "platform/AppPaths.h"
#include "platform/IniFile.h"

namespace tarnex {
namespace {

const QString& sectionName()
{
    static const QString name = QStringLiteral("ci");
    return name;
}

// One step of a counter: up by one, and from 4 on back to 1.
int stepped(int value)
{
    return value >= 3 ? 1 : value + 1;
}

int wrapped(int value)
{
    return value >= 4 ? 1 : value;
}

} // namespace

RotationCounters RotationCounters::advanced(int bandCode) const
{
    RotationCounters next = *this;
    switch (bandCode) {
    case SanBand:
        next.san = stepped(san);
        break;
    case LiuBand:
        next.liu = stepped(liu);
        break;
    case JiuBand:
        next.jiu = stepped(jiu);
        break;
    default:
        break;
    }
    next.san = wrapped(next.san);
    next.liu = wrapped(next.liu);
    next.jiu = wrapped(next.jiu);
    return next;
}

QString RotationCounters::defaultPath()
{
    return AppPaths::programFile(QStringLiteral("ci.ini"));
}

RotationCounters RotationCounters::load(const QString& path)
{
    const IniFile ini(path);
    RotationCounters counters;
    counters.san = ini.readInt(sectionName(), QStringLiteral("san"), 1);
    counters.liu = ini.readInt(sectionName(), QStringLiteral("liu"), 1);
    counters.jiu = ini.readInt(sectionName(), QStringLiteral("jiu"), 1);
    return counters;
}

void RotationCounters::save(const QString& path) const
{
    IniFile ini(path);
    ini.writeInt(sectionName(), QStringLiteral("san"), san);
    ini.writeInt(sectionName(), QStringLiteral("liu"), liu);
    ini.writeInt(sectionName(), QStringLiteral("jiu"), jiu);
    ini.save();
}

} // namespace tarnex
