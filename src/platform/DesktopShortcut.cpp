#include "DesktopShortcut.h"

#include "AppPaths.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace tarnex {
namespace {

QString& overrideFolder()
{
    static QString folder;
    return folder;
}

// Quoting of an argument of the Exec key (Desktop Entry Specification, "The Exec key"): the
// argument goes in double quotes, with '"', '`', '$' and '\' escaped by a backslash; then every
// backslash is doubled once more, because the value as a whole is a string whose escapes are
// undone first. A literal '%' is written as "%%" since '%' starts a field code.
QString quotedExecArgument(const QString& argument)
{
    QString quoted;
    quoted.reserve(argument.size() + 8);
    quoted += u'"';
    for (const QChar c : argument) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += u'\\';
        quoted += c;
    }
    quoted += u'"';
    quoted.replace(QStringLiteral("\\"), QStringLiteral("\\\\"));
    quoted.replace(QStringLiteral("%"), QStringLiteral("%%"));
    return quoted;
}

// Escapes of a plain string value (the Path key): backslash and the control characters that
// cannot stand on one line.
QString escapedString(const QString& value)
{
    QString escaped;
    escaped.reserve(value.size());
    for (const QChar c : value) {
        if (c == u'\\')
            escaped += QStringLiteral("\\\\");
        else if (c == u'\n')
            escaped += QStringLiteral("\\n");
        else if (c == u'\r')
            escaped += QStringLiteral("\\r");
        else if (c == u'\t')
            escaped += QStringLiteral("\\t");
        else
            escaped += c;
    }
    return escaped;
}

} // namespace

QByteArray desktopEntryText(const QString& executable)
{
    const QString folder = QFileInfo(executable).absolutePath();
    QString text;
    text += QStringLiteral("[Desktop Entry]\n");
    text += QStringLiteral("Type=Application\n");
    text += QStringLiteral("Version=1.0\n");
    text += QStringLiteral("Name=Velquarn\n");
    text += QStringLiteral("Exec=") + quotedExecArgument(executable) + u'\n';
    text += QStringLiteral("Path=") + escapedString(folder) + u'\n';
    text += QStringLiteral("Terminal=false\n");
    // The same program started for authoring, offered in the entry's menu.
    text += QStringLiteral("Actions=author;\n");
    text += QStringLiteral("\n[Desktop Action author]\n");
    text += QStringLiteral("Name=编辑试题\n");
    text += QStringLiteral("Exec=") + quotedExecArgument(executable) + QStringLiteral(" --author\n");
    return text.toUtf8();
}

QString desktopFolder()
{
    if (!overrideFolder().isEmpty())
        return overrideFolder();
    return QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
}

void setDesktopFolderForTesting(const QString& folder)
{
    overrideFolder() = folder;
}

QString placeDesktopShortcut()
{
    const QString folder = desktopFolder();
    const QString path = QDir(folder).filePath(QStringLiteral("Velquarn.desktop"));
    // A missing desktop is not ours to create; an existing entry is the user's, wherever it points.
    if (folder.isEmpty() || !QFileInfo(folder).isDir() || QFileInfo::exists(path) ||
        QFileInfo(path).isSymLink())
        return path;

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return path;
    const QByteArray entry = desktopEntryText(AppPaths::executablePath());
    if (file.write(entry) != entry.size()) {
        file.cancelWriting();
        return path;
    }
    // Desktop environments only launch entries that are executable.
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                        QFileDevice::ReadGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther |
                        QFileDevice::ExeOther);
    file.commit();
    return path;
}

} // namespace tarnex
