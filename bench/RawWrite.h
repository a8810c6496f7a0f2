#pragma once

#include "BenchSupport.h"

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

namespace tarnex::bench {

// The floor for a durable answer: one write of state.range(0) bytes and fsync, in the same folder.
inline void rawWriteFsync(benchmark::State& state)
{
    QTemporaryDir dir(benchFolder() + QStringLiteral("/bench-raw-XXXXXX"));
    const QByteArray path = QDir(dir.path()).filePath(QStringLiteral("raw.bin")).toLocal8Bit();
    const int fd = ::open(path.constData(), O_CREAT | O_RDWR, 0600);
    const QByteArray block(int(state.range(0)), 'x');
    for (auto _ : state) {
        if (::pwrite(fd, block.constData(), size_t(block.size()), 0) != block.size() || ::fsync(fd) != 0)
            state.SkipWithError("write failed");
    }
    ::close(fd);
}

// One question row of the typical sizes: stem, options and analysis.
constexpr int TypicalRowBytes = 4096 + 600 + 1200;

} // namespace tarnex::bench
