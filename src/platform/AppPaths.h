#pragma once

#include <QString>
#include <QStringList>

namespace tarnex::AppPaths {

// The program folder, where every data file of the program (the bank, ci.ini, kjkm.dat,
// zhangtao/) is read and written; never the current directory. It is the executable's folder
// when that folder can be written and is not an installed copy; otherwise it is the user's own
// folder (userProgramDir()), made on first use with copies of the delivered data files. Decided
// once per process. Throws AppError when the user's folder cannot be made. Tests point it at a
// folder of their own with setProgramDirForTesting().
QString programDir();

// The full path of a file in the program folder.
QString programFile(const QString& fileName);

// The folder of the running executable: the program's parts (plugins) live there, and in an
// installed copy also the delivered data files the user's folder is seeded from.
QString executableDir();

// The full path of the running executable.
QString executablePath();

// The user's own program folder: $XDG_DATA_HOME/velquarn, by default ~/.local/share/velquarn.
QString userProgramDir();

// The file an installation places beside the executable: a folder holding it is shared by every
// user of the computer and is never written by the program, even where the user could.
inline constexpr char InstalledMarker[] = "velquarn-installed";

// The data files the executable's folder delivers and a user's folder receives copies of
// (a name may be a folder, copied whole).
const QStringList& deliveredDataFiles();

void setProgramDirForTesting(const QString& dir);

} // namespace tarnex::AppPaths
