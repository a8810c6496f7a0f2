#pragma once

#include <QString>

namespace tarnex::AppPaths {

// The folder of the running executable, where every data file of the program lives. Never the
// current directory. Tests point it at a folder of their own with setProgramDirForTesting().
QString programDir();

// The full path of a file in the program folder.
QString programFile(const QString& fileName);

// The full path of the running executable.
QString executablePath();

void setProgramDirForTesting(const QString& dir);

} // namespace tarnex::AppPaths
