// Writes a sample rich-edit RTF document of a given size, for whole-process comparisons:
//   rtf_sample FILE [BYTES]
#include "rtf_sample.h"

#include <QFile>
#include <QString>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: rtf_sample FILE [BYTES]\n");
        return 2;
    }
    const qsizetype bytes = argc > 2 ? QByteArray(argv[2]).toLongLong() : 1024 * 1024;
    QFile file(QString::fromLocal8Bit(argv[1]));
    if (!file.open(QIODevice::WriteOnly) || file.write(tarnex::bench::sampleRtf(bytes)) < 0) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
