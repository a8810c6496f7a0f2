#pragma once

#include <QString>

namespace tarnex::WinePrefix {

// The folder that stands for drive C of the accounting package. On Windows that is drive C; on
// other systems the package lives under Wine, and it is drive C of the user's Wine prefix:
// $WINEPREFIX/drive_c, or ~/.wine/drive_c when WINEPREFIX is not set.
QString driveC();

// The host path of a Windows path on drive C ("C:\UFSMART\Admin" becomes <driveC>/UFSMART/Admin).
// A path on any other drive, or without one, has no place on the host and gives "".
QString hostPath(const QString& windowsPath);

} // namespace tarnex::WinePrefix
