// Throughput of the receive assembler over a long stream of mixed replies
// with garbage between them, fed in chunks the size a read event delivers.
#include "protocol/FrameAssembler.h"
#include "protocol/Frames.h"

#include <benchmark/benchmark.h>

#include <random>

using namespace qireq;

namespace {

QByteArray MixedStream(int frames)
{
    std::mt19937 random(7);
    auto below = [&random](int limit) {
        return std::uniform_int_distribution<int>(0, limit - 1)(random);
    };
    const QByteArray eqBlock(reinterpret_cast<const char*>(ResetBlock.data()), kEqBlockSize);
    QByteArray stream;
    for (int i = 0; i < frames; ++i) {
        switch (below(5)) {
        case 0: stream += PingRequest(); break;
        case 1: stream += eqBlock; break;
        case 2: stream += QByteArray::fromHex("01 20 03 40 11 11 0A 03 05 01 32 1E 28 01 01 05 60"); break;
        case 3: stream += BuildFrame(0x23, QByteArray(20, '\x10')); break;
        default: stream += BuildFrame(0x1F, QByteArray(18, 'A')); break;
        }
        const int garbage = below(8);
        for (int g = 0; g < garbage; ++g)
            stream += static_cast<char>(0x02 + below(250));
    }
    return stream;
}

void BM_AssemblerThroughput(benchmark::State& state)
{
    const QByteArray stream = MixedStream(20000);
    const auto chunk = static_cast<qsizetype>(state.range(0));
    FrameAssembler assembler;
    std::size_t frames = 0;
    assembler.SetFrameHandler([&frames](const QByteArray& frame) {
        frames += static_cast<std::size_t>(frame.size() > 0);
    });
    for (auto _ : state) {
        for (qsizetype at = 0; at < stream.size(); at += chunk)
            assembler.Feed(stream.constData() + at, std::min(chunk, stream.size() - at));
        benchmark::DoNotOptimize(frames);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * stream.size());
    state.counters["frames/s"] =
        benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_AssemblerThroughput)->Arg(1)->Arg(9)->Arg(1024);

}  // namespace

BENCHMARK_MAIN();
