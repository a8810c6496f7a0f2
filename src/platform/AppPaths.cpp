#include "AppPaths.h"

#include "AppError.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace tarnex::AppPaths {
namespace {

QString& overrideDir()
{
    static QString dir;
    return dir;
}

QString& decidedDir()
{
    static QString dir;
    return dir;
}

constexpr QFileDevice::Permissions PrivateFile =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser | QFileDevice::WriteUser;
constexpr QFileDevice::Permissions PrivateFolder = PrivateFile | QFileDevice::ExeOwner | QFileDevice::ExeUser;

// A copy is made under a name of its own and renamed into place, so that an interrupted first
// start never leaves half a bank behind and two starts at once cannot both place one.
QString partName(const QString& target)
{
    return target + QStringLiteral(".part-%1").arg(QCoreApplication::applicationPid());
}

AppError copyError(const QString& source, const QString& target, const QString& reason)
{
    return AppError(QStringLiteral("无法把“%1”复制到“%2”：%3").arg(source, target, reason));
}

void copyFileInto(const QString& source, const QString& target)
{
    QFile file(source);
    if (!file.copy(target))
        throw copyError(source, target, file.errorString());
    QFile::setPermissions(target, PrivateFile);
}

void copyTreeInto(const QString& source, const QString& target)
{
    if (!QDir().mkpath(target))
        throw copyError(source, target, QStringLiteral("无法创建文件夹。"));
    QFile::setPermissions(target, PrivateFolder);
    QDirIterator it(source, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    while (it.hasNext()) {
        const QFileInfo entry(it.next());
        const QString into = QDir(target).filePath(entry.fileName());
        if (entry.isDir() && !entry.isSymLink())
            copyTreeInto(entry.filePath(), into);
        else
            copyFileInto(entry.filePath(), into);
    }
}

// Places a copy of `source` (a file or a folder) at `target`, which does not exist yet. Losing a
// race against another start of the program is no failure: its copy is as good as ours.
void placeCopy(const QString& source, const QString& target)
{
    const QString part = partName(target);
    const bool folder = QFileInfo(source).isDir();
    if (QFileInfo(part).isDir())
        QDir(part).removeRecursively();
    else
        QFile::remove(part);
    try {
        if (folder)
            copyTreeInto(source, part);
        else
            copyFileInto(source, part);
    } catch (const AppError&) {
        folder ? QDir(part).removeRecursively() : QFile::remove(part);
        throw;
    }
    // Renaming never replaces: Qt refuses an existing target, file or folder.
    const bool placed = folder ? QDir().rename(part, target) : QFile::rename(part, target);
    if (!placed) {
        folder ? QDir(part).removeRecursively() : QFile::remove(part);
        if (!QFileInfo::exists(target))
            throw copyError(source, target, QStringLiteral("无法改名。"));
    }
}

void seedProgramDir(const QString& from, const QString& to)
{
    const bool fresh = !QFileInfo::exists(to);
    if (!QDir().mkpath(to))
        throw AppError(QStringLiteral("无法创建程序文件夹“%1”。").arg(to));
    // The answers and the ID-card number of one person are not for the others at the computer.
    if (fresh)
        QFile::setPermissions(to, PrivateFolder);
    for (const QString& name : deliveredDataFiles()) {
        const QFileInfo source(QDir(from).filePath(name));
        const QFileInfo target(QDir(to).filePath(name));
        if (!source.exists() || target.exists() || target.isSymLink())
            continue;
        placeCopy(source.filePath(), target.filePath());
    }
}

QString programDirFor(const QString& executableFolder)
{
    const bool installed =
        QFileInfo::exists(QDir(executableFolder).filePath(QString::fromLatin1(InstalledMarker)));
    if (!installed && QFileInfo(executableFolder).isWritable())
        return executableFolder;
    const QString user = userProgramDir();
    seedProgramDir(executableFolder, user);
    return user;
}

} // namespace

QString programDir()
{
    if (!overrideDir().isEmpty())
        return overrideDir();
    if (decidedDir().isEmpty())
        decidedDir() = programDirFor(executableDir());
    return decidedDir();
}

QString programFile(const QString& fileName)
{
    return QDir(programDir()).filePath(fileName);
}

QString executablePath()
{
    if (QCoreApplication::instance() != nullptr)
        return QCoreApplication::applicationFilePath();
        // A command-line tool may run without an application object.
#ifdef Q_OS_LINUX
    const QString path = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    if (!path.isEmpty())
        return path;
#endif
    throw AppError(QStringLiteral("无法确定程序所在的文件夹。"));
}

QString executableDir()
{
    return QFileInfo(executablePath()).absolutePath();
}

QString userProgramDir()
{
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (data.isEmpty())
        throw AppError(QStringLiteral("无法确定用户的数据文件夹（$XDG_DATA_HOME 或 ~/.local/share）。"));
    return QDir(data).filePath(QStringLiteral("velquarn"));
}

const QStringList& deliveredDataFiles()
{
    static const QStringList names = {u"kstk.dat"_qs, u"titao.dat"_qs, u"kjkm.dat"_qs, u"ci.ini"_qs,
                                      u"zhangtao"_qs};
    return names;
}

void setProgramDirForTesting(const QString& dir)
{
    overrideDir() = dir;
}

} // namespace tarnex::AppPaths
