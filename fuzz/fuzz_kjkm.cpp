// libFuzzer target for the subject-file parser: any bytes give a node list whose depths form a
// tree (a root first, each node at most one level below the one before), and a file that parses
// without error has one node per line.
#include "exam/SubjectFile.h"
#include "platform/TextUtil.h"

#include <QByteArray>
#include <QStringList>

#include <cstddef>
#include <cstdint>
#include <cstdlib>


extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const tarnex::SubjectList list = tarnex::parseSubjectFile(bytes);

    int previous = -1;
    for (const tarnex::SubjectNode& node : list.nodes) {
        if (node.depth < 0 || node.depth > previous + 1)
            std::abort();
        if (!node.text.isEmpty() && (node.text.front() == u'\t' || node.text.front() == u' '))
            std::abort();
        previous = node.depth;
    }
    if (!list.nodes.isEmpty() && list.nodes.front().depth != 0)
        std::abort();
    const qsizetype lines = tarnex::splitListLines(tarnex::decodeSubjectText(bytes)).size();
    if (list.ok() ? list.nodes.size() != lines : list.nodes.size() >= lines)
        std::abort();
    return 0;
}
