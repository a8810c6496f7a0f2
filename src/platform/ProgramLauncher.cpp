#include "ProgramLauncher.h"

#include "WinePrefix.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#ifdef Q_OS_WIN
#include <windows.h>
#include <shellapi.h>
#endif

namespace tarnex {
namespace {

ProgramLauncher*& installedLauncher()
{
    static ProgramLauncher* launcher = nullptr;
    return launcher;
}

} // namespace

ProgramLauncher& ProgramLauncher::instance()
{
    static PackageLauncher real;
    return installedLauncher() ? *installedLauncher() : real;
}

void ProgramLauncher::setInstanceForTesting(ProgramLauncher* launcher)
{
    installedLauncher() = launcher;
}

bool PackageLauncher::start(const QString& windowsPath)
{
    const QString file = WinePrefix::hostPath(windowsPath);
    if (file.isEmpty() || !QFileInfo(file).isFile())
        return false;
#ifdef Q_OS_WIN
    const auto result = reinterpret_cast<INT_PTR>(ShellExecuteW(
        nullptr, nullptr, reinterpret_cast<LPCWSTR>(windowsPath.utf16()), nullptr, nullptr, SW_SHOWNORMAL));
    return result > 32;
#else
    const QString wine = QStandardPaths::findExecutable(QStringLiteral("wine"));
    if (wine.isEmpty())
        return false;
    // Wine is handed the program's Windows name, so the program sees itself on drive C. Its
    // console chatter has no place on the candidate's terminal.
    QProcess process;
    process.setProgram(wine);
    process.setArguments({windowsPath});
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    return process.startDetached();
#endif
}

} // namespace tarnex
