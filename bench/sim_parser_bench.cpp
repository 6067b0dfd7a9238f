// The simulator's cost per program message grows linearly with the message: relative headers that
// resolve to nothing (refused at the first), and a long valid message of relative headers (each
// unit parsed and run). Complexity() fits the growth over 24 kB to 2.4 MB.
#include <benchmark/benchmark.h>

#include <string>

#include "zpv4870sim/instrument.h"

namespace {

std::string Repeated(const std::string& first, const std::string& unit, std::size_t bytes) {
    std::string message = first;
    while (message.size() < bytes) message += unit;
    return message;
}

void Run(benchmark::State& state, const std::string& message) {
    zpv::sim::Instrument instrument;
    for (auto _ : state) {
        benchmark::DoNotOptimize(instrument.Execute(message));
        instrument.Execute("*CLS");
    }
    state.SetComplexityN(static_cast<std::int64_t>(message.size()));
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(message.size()));
}

void BM_UnresolvableRelativeHeaders(benchmark::State& state) {
    Run(state, Repeated("", "SYST:ALAR 1;", static_cast<std::size_t>(state.range(0))));
}
BENCHMARK(BM_UnresolvableRelativeHeaders)->Arg(24000)->Arg(240000)->Arg(2400000)->Complexity();

void BM_ValidRelativeHeaders(benchmark::State& state) {
    Run(state, Repeated("OUTP:FREQ 40", ";FREQ 50", static_cast<std::size_t>(state.range(0))));
}
BENCHMARK(BM_ValidRelativeHeaders)->Arg(24000)->Arg(240000)->Arg(2400000)->Complexity()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
