// Inputs a caller controls cost time in proportion to their size: a configuration store of many
// thousand entries read, checked and searched (as every Initialize does), a long channel name
// parsed, and an option string of many keys split. Complexity() fits the growth.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <new>
#include <string>

#include "capi/rep_cap_selector.h"
#include "core/option_string.h"
#include "platform/config/config_store.h"

// Heap bytes in use and their peak, for what a short selector may cost.
namespace {
std::atomic<std::size_t> gLive{0}, gPeak{0};
}  // namespace

void* operator new(std::size_t size) {
    void* p = std::malloc(size + sizeof(std::max_align_t));
    if (!p) throw std::bad_alloc();
    *static_cast<std::size_t*>(p) = size;
    const std::size_t live = gLive += size;
    std::size_t peak = gPeak;
    while (live > peak && !gPeak.compare_exchange_weak(peak, live)) {}
    return static_cast<char*>(p) + sizeof(std::max_align_t);
}
// The block came from malloc in operator new above; the compiler sees only the inlined pair.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* p) noexcept {
    if (!p) return;
    void* block = static_cast<char*>(p) - sizeof(std::max_align_t);
    gLive -= *static_cast<std::size_t*>(block);
    std::free(block);
}
void operator delete(void* p, std::size_t) noexcept { operator delete(p); }

namespace {

// n hardware assets, n driver sessions on them and n logical names for those.
std::string StoreOf(std::int64_t n) {
    std::string text = "<IviConfigurationStore>\n<SoftwareModule name=\"ZPV4870\"/>\n";
    for (std::int64_t i = 0; i < n; ++i) {
        const std::string k = std::to_string(i);
        text += "<HardwareAsset name=\"A" + k + "\" resourceDescriptor=\"TCPIP0::10.0.0.1::5025::SOCKET\"/>\n";
        text += "<DriverSession name=\"S" + k + "\" softwareModule=\"ZPV4870\" hardwareAsset=\"A" + k + "\"/>\n";
        text += "<LogicalName name=\"L" + k + "\" session=\"S" + k + "\"/>\n";
    }
    return text + "</IviConfigurationStore>\n";
}

void BM_StoreReadCheckedAndResolved(benchmark::State& state) {
    const std::string text = StoreOf(state.range(0));
    const std::string wanted = "L" + std::to_string(state.range(0) - 1);
    for (auto _ : state) {
        const zpv::config::LoadResult loaded = zpv::config::ParseStore(text, "store.xml");
        if (!loaded.error.empty()) state.SkipWithError(loaded.error.c_str());
        benchmark::DoNotOptimize(loaded.store.FindSession(wanted));
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_StoreReadCheckedAndResolved)->Arg(2000)->Arg(20000)->Unit(benchmark::kMillisecond)->Complexity();

void ParseEachIteration(benchmark::State& state, const std::string& text) {
    for (auto _ : state) {
        zpv::repcap::CRepCapSelector selector(text.c_str());
        benchmark::DoNotOptimize(selector.Parse(0, true));
    }
    state.SetComplexityN(state.range(0));
}

// "OutputPhase1:L:L:..." of n bytes: one path of many levels.
void BM_SelectorOfManyLevels(benchmark::State& state) {
    std::string text = "OutputPhase1";
    while (text.size() < static_cast<std::size_t>(state.range(0))) text += ":L";
    ParseEachIteration(state, text);
}
BENCHMARK(BM_SelectorOfManyLevels)->Arg(6400)->Arg(64000)->Unit(benchmark::kMillisecond)->Complexity();

// "P0,P1,..." of n bytes: many paths of one level each.
void BM_SelectorOfManyPaths(benchmark::State& state) {
    std::string text;
    for (int i = 0; text.size() < static_cast<std::size_t>(state.range(0)); ++i) text += "P" + std::to_string(i) + ",";
    ParseEachIteration(state, text);
}
BENCHMARK(BM_SelectorOfManyPaths)->Arg(6400)->Arg(64000)->Unit(benchmark::kMillisecond)->Complexity();

// Selectors under 1 kB built to multiply into many names (ranges times levels): the most heap any
// of them takes while it is parsed ("peak_bytes").
void BM_ShortSelectorsThatWouldMultiply(benchmark::State& state) {
    const char* floods[] = {"[A1-A1000]:[B1-B1000]:[C1-C1000]", "[A1-A300,B1-B300]:[C1-C300]:[D1-D300]:E",
                            "A1-A1000,B1-B1000,C1-C1000", "[a0-a999]:[b0-b999],[c0-c999]:[d0-d999]",
                            "A1-A1023", "[A1-A32]:[B1-B32]"};
    std::size_t worst = 0;
    for (auto _ : state)
        for (const char* text : floods) {
            const std::size_t before = gLive;
            gPeak = before;
            {
                zpv::repcap::CRepCapSelector selector(text);
                benchmark::DoNotOptimize(selector.Parse(0, true));
            }
            worst = std::max(worst, gPeak - before);
        }
    state.counters["peak_bytes"] = static_cast<double>(worst);
}
BENCHMARK(BM_ShortSelectorsThatWouldMultiply)->Unit(benchmark::kMicrosecond);

// "Key0=1, Key1=1, ..." with n keys.
void BM_OptionStringOfManyKeys(benchmark::State& state) {
    std::string text;
    for (std::int64_t i = 0; i < state.range(0); ++i) text += "Key" + std::to_string(i) + "=1, ";
    for (auto _ : state) benchmark::DoNotOptimize(zpv::driver::SplitOptionEntries(text));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_OptionStringOfManyKeys)->Arg(4000)->Arg(40000)->Unit(benchmark::kMillisecond)->Complexity();

}  // namespace

BENCHMARK_MAIN();
