// The RTF reader and writer: a typical 10 KB question stem (the target is under a millisecond into
// a document) and a 1 MB document of Chinese text and tables (reported in bytes per second).
#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"
#include "rtf_sample.h"

#include <QGuiApplication>
#include <QTextDocument>

#include <benchmark/benchmark.h>

namespace {

const QByteArray& stem()
{
    static const QByteArray data = tarnex::bench::sampleRtf(10 * 1024, false);
    return data;
}

const QByteArray& stemWithTable()
{
    static const QByteArray data = tarnex::bench::sampleRtf(10 * 1024, true);
    return data;
}

const QByteArray& megabyte()
{
    static const QByteArray data = tarnex::bench::sampleRtf(1024 * 1024, true);
    return data;
}

void readInto(benchmark::State& state, const QByteArray& data)
{
    QTextDocument document;
    for (auto _ : state) {
        tarnex::readRtf(data, &document);
        benchmark::DoNotOptimize(document.characterCount());
    }
    state.SetBytesProcessed(state.iterations() * data.size());
}

void plainText(benchmark::State& state, const QByteArray& data)
{
    for (auto _ : state) {
        const QString text = tarnex::rtfToPlainText(data);
        benchmark::DoNotOptimize(text.size());
    }
    state.SetBytesProcessed(state.iterations() * data.size());
}

void BM_ReadStem10K(benchmark::State& state)
{
    readInto(state, stem());
}
void BM_ReadStemWithTable10K(benchmark::State& state)
{
    readInto(state, stemWithTable());
}
void BM_PlainTextStem10K(benchmark::State& state)
{
    plainText(state, stem());
}
void BM_Read1MB(benchmark::State& state)
{
    readInto(state, megabyte());
}
void BM_PlainText1MB(benchmark::State& state)
{
    plainText(state, megabyte());
}

void BM_Write1MB(benchmark::State& state)
{
    QTextDocument document;
    tarnex::readRtf(megabyte(), &document);
    qsizetype written = 0;
    for (auto _ : state) {
        const QByteArray rtf = tarnex::writeRtf(document);
        written = rtf.size();
        benchmark::DoNotOptimize(rtf.data());
    }
    state.SetBytesProcessed(state.iterations() * written);
}

} // namespace

BENCHMARK(BM_ReadStem10K)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReadStemWithTable10K)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PlainTextStem10K)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Read1MB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainText1MB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Write1MB)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
