#include "WinePrefix.h"

#include <QDir>

namespace tarnex::WinePrefix {

QString driveC()
{
#ifdef Q_OS_WIN
    return QStringLiteral("C:/");
#else
    const QString prefix = qEnvironmentVariable("WINEPREFIX");
    const QDir base(prefix.isEmpty() ? QDir::home().filePath(QStringLiteral(".wine")) : prefix);
    return QDir::cleanPath(base.filePath(QStringLiteral("drive_c")));
#endif
}

QString hostPath(const QString& windowsPath)
{
    if (windowsPath.size() < 2 || windowsPath.at(0).toUpper() != u'C' || windowsPath.at(1) != u':')
        return {};
    QString rest = windowsPath.mid(2);
    rest.replace(QChar(u'\\'), QChar(u'/'));
    while (rest.startsWith(u'/'))
        rest.remove(0, 1);
    return rest.isEmpty() ? driveC() : QDir(driveC()).filePath(rest);
}

} // namespace tarnex::WinePrefix
