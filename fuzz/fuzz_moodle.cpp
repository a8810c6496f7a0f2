// libFuzzer target for the Moodle XML reader: any bytes give errors or questions in the bank's
// formats, and questions the writer exports without a warning read back with the same kinds,
// keys and texts.
#include "ExchangeText.h"
#include "MoodleReader.h"
#include "MoodleWriter.h"

#include <QRegularExpression>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace tarnex::bank;

namespace {

// Names the broken invariant before the crash report.
[[noreturn]] void fail(const char* why)
{
    std::fprintf(stderr, "invariant broken: %s\n", why);
    std::abort();
}

bool isLetters(const QString& letters)
{
    static const QRegularExpression pattern(QStringLiteral("^a?b?c?d?$"));
    return pattern.match(letters).hasMatch();
}

void checkFormats(const std::vector<ExchangePaper>& papers)
{
    for (const ExchangePaper& paper : papers) {
        if (paper.name.isEmpty())
            fail("a paper without a name");
        for (const ExchangeQuestion& question : paper.questions) {
            if (question.tou.isEmpty())
                fail("an empty stem");
            const bool choice = question.kind == u"dds" || question.kind == u"duo";
            if (choice && (question.wei.isEmpty() || question.da.isEmpty() || !isLetters(question.da)))
                fail("a choice without options or key");
            if (question.kind == u"dds" && question.da.size() != 1)
                fail("a single choice with several letters");
            if (question.kind == u"sf" && question.da != u"a" && question.da != u"b")
                fail("a true/false key not a or b");
            if (!choice && question.kind != u"sf" && question.kind != u"ws")
                fail("a kind Moodle cannot give");
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    Diagnostics diagnostics;
    std::vector<ExchangePaper> papers = readMoodle(bytes, {}, diagnostics);
    checkFormats(papers);
    if (diagnostics.hasErrors() || papers.empty())
        return 0;

    for (ExchangePaper& paper : papers)
        paper.subject = QStringLiteral("会计基础");
    QStringList warnings;
    const QByteArray written = writeMoodle(papers, &warnings);
    Diagnostics again;
    const std::vector<ExchangePaper> reread = readMoodle(written, {}, again);
    if (again.hasErrors())
        fail("the exported file reads with errors");
    checkFormats(reread);
    if (!warnings.isEmpty())
        return 0;
    if (reread.size() != papers.size())
        fail("a paper lost or added on the way");
    for (size_t p = 0; p < papers.size(); ++p) {
        if (reread[p].name != papers[p].name || reread[p].questions.size() != papers[p].questions.size())
            fail("a question lost or added on the way");
        for (size_t q = 0; q < papers[p].questions.size(); ++q) {
            const ExchangeQuestion& before = papers[p].questions[q];
            const ExchangeQuestion& after = reread[p].questions[q];
            if (before.kind != after.kind || before.da != after.da || before.number != after.number)
                fail("kind, key or number changed on the way");
            for (const auto& [one, two] : {std::pair{before.tou, after.tou}, std::pair{before.wei, after.wei},
                                           std::pair{before.ping, after.ping}}) {
                if (plainTextOfStored(one) != plainTextOfStored(two)) {
                    std::fprintf(stderr, "before: [%s]\nafter:  [%s]\n", qPrintable(plainTextOfStored(one)),
                                 qPrintable(plainTextOfStored(two)));
                    fail("a text changed on the way");
                }
            }
        }
    }
    return 0;
}
