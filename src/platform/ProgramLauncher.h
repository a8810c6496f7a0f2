#pragma once

#include <QString>

namespace tarnex {

// Starts a program of the accounting package from the practical page.
class ProgramLauncher
{
public:
    virtual ~ProgramLauncher() = default;
    // Starts the program file at a Windows path on drive C, detached and without arguments, and
    // returns at once. False when it was not started; the caller shows nothing either way.
    virtual bool start(const QString& windowsPath) = 0;

    // The launcher the program uses; tests install one of their own. Ownership stays with the
    // caller of set.
    static ProgramLauncher& instance();
    static void setInstanceForTesting(ProgramLauncher* launcher);
};

// The real launcher. Off Windows it hands the program to `wine` found on PATH (under the Wine
// prefix of WinePrefix::driveC(), inherited through the environment); a missing program file, a
// missing wine or a wine that cannot be started is a program not started. On Windows the shell's
// open operation starts the file.
class PackageLauncher : public ProgramLauncher
{
public:
    bool start(const QString& windowsPath) override;
};

} // namespace tarnex
