#include "AppPaths.h"

#include <QCoreApplication>
#include <QDir>

namespace tarnex::AppPaths {
namespace {
QString& overrideDir()
{
    static QString dir;
    return dir;
}
} // namespace

QString programDir()
{
    if (!overrideDir().isEmpty())
        return overrideDir();
    return QCoreApplication::applicationDirPath();
}

QString programFile(const QString& fileName)
{
    return QDir(programDir()).filePath(fileName);
}

QString executablePath()
{
    return QCoreApplication::applicationFilePath();
}

void setProgramDirForTesting(const QString& dir)
{
    overrideDir() = dir;
}

} // namespace tarnex::AppPaths
