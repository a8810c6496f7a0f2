#pragma once

// Pieces the benchmark programs share.

#include "platform/NetworkProbe.h"

#include <QByteArray>
#include <QDir>
#include <QTemporaryDir>

namespace tarnex::bench {

// Start-up without network: the web panel stays hidden and no packet is sent.
class OfflineProbe : public NetworkProbe
{
public:
    bool isReachable() override { return false; }
};

// Where the files of a benchmark go: TARNEX_BENCH_DIR, else the current directory. Run on the
// disk the program lives on, not on a tmpfs, for the durability figures to mean anything.
inline QString benchFolder()
{
    const QByteArray where = qgetenv("TARNEX_BENCH_DIR");
    return where.isEmpty() ? QDir::currentPath() : QString::fromLocal8Bit(where);
}

// An RTF document of about the given size in code page 936, as question texts are stored.
inline QByteArray rtfOfSize(int size)
{
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg936\\deff0{\\fonttbl{\\f0\\fnil\\fcharset134 "
                     "\\'cb\\'ce\\'cc\\'e5;}}\\f0\\fs18 ";
    while (rtf.size() < size)
        rtf += "\\'bb\\'e1\\'bc\\'c6\\'bb\\'f9\\'b4\\'a1 ";
    return rtf + "\\par}";
}

} // namespace tarnex::bench
