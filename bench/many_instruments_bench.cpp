// One process driving several instruments at once, one session per thread, as a test program on a
// bench of instruments does: the aggregate rate of frequency queries through the C interface
// against as many plain socket clients in parallel (the floor). Each instrument is a simulator
// process of its own, set to a frequency of its own, and every answer is checked against it.
// Threads(N) runs N sessions on N instruments. On loopback by default; with
// ZPV4870_BENCH_ADDRESSES (comma-separated, port 5025) on instruments already running there, as
// bench/many_instruments_on_lan.sh starts them on the virtual LAN of the tests.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "raw_clients.h"
#include "simulator_process.h"
#include "zpv4870.h"

namespace {

constexpr int kMostInstruments = 4;

double FrequencyOf(int instrument) { return 51.0 + instrument; }

// The instruments, started once and each set to its own frequency.
class Bench {
public:
    static Bench& Get() {
        static Bench bench;
        return bench;
    }
    std::uint16_t Port(int instrument) const {
        return addresses_.empty() ? simulators_[instrument]->Port("port") : kSocketPort;
    }
    const char* Address(int instrument) const {
        return addresses_.empty() ? "127.0.0.1" : addresses_[static_cast<std::size_t>(instrument)].c_str();
    }
    bool ok() const { return ok_; }

private:
    static constexpr std::uint16_t kSocketPort = 5025;

    Bench() {
        if (const char* given = std::getenv("ZPV4870_BENCH_ADDRESSES"); given && *given) {
            std::string list = given;
            for (std::size_t start = 0, comma; start <= list.size(); start = comma + 1) {
                comma = std::min(list.find(',', start), list.size());
                addresses_.push_back(list.substr(start, comma - start));
            }
            ok_ = addresses_.size() >= kMostInstruments;
        }
        for (int i = 0; ok_ && i < kMostInstruments; ++i) {
            if (addresses_.empty()) {
                simulators_.push_back(std::make_unique<bench::SimulatorProcess>());
                ok_ = simulators_.back()->ok();
                if (!ok_) return;
            }
            const int fd = bench::Connect(Port(i), Address(i));
            const std::string set = "OUTP:FREQ " + std::to_string(FrequencyOf(i)) + "\n";
            ok_ = fd >= 0 && write(fd, set.data(), set.size()) == static_cast<ssize_t>(set.size());
            if (fd >= 0) close(fd);
        }
    }
    std::vector<std::unique_ptr<bench::SimulatorProcess>> simulators_;
    std::vector<std::string> addresses_;
    bool ok_ = true;
};

std::string Resource(int instrument) {
    return "TCPIP0::" + std::string(Bench::Get().Address(instrument)) + "::" + std::to_string(Bench::Get().Port(instrument)) +
           "::SOCKET";
}

std::once_flag started;

void BM_DriverSessionsInParallel(benchmark::State& state) {
    std::call_once(started, [] { Bench::Get(); });
    const int instrument = state.thread_index();
    if (!Bench::Get().ok()) {
        state.SkipWithError("the simulators did not start");
        return;
    }
    ViSession vi = 0;
    if (ZPV4870_InitWithOptions(Resource(instrument).c_str(), VI_FALSE, VI_FALSE, "", &vi) != VI_SUCCESS) {
        state.SkipWithError("ZPV4870_InitWithOptions failed");
        return;
    }
    long wrong = 0;
    for (auto _ : state) {
        ViReal64 frequency = 0;
        if (ZPV4870_GetAttributeViReal64(vi, "", ZPV4870_ATTR_OUTPUT_PHASES_FREQUENCY, &frequency) != VI_SUCCESS ||
            frequency != FrequencyOf(instrument))
            ++wrong;
    }
    ZPV4870_close(vi);
    state.counters["wrong"] = benchmark::Counter(static_cast<double>(wrong), benchmark::Counter::kAvgThreads);
    if (wrong) state.SkipWithError("an answer was wrong or missing");
    state.SetItemsProcessed(state.iterations());
}

void BM_RawClientsInParallel(benchmark::State& state) {
    std::call_once(started, [] { Bench::Get(); });
    const int instrument = state.thread_index();
    const int fd = Bench::Get().ok() ? bench::Connect(Bench::Get().Port(instrument), Bench::Get().Address(instrument)) : -1;
    if (fd < 0) {
        state.SkipWithError("cannot connect");
        return;
    }
    static constexpr char kQuery[] = "OUTP:FREQ?\n";
    long wrong = 0;
    char reply[256];
    for (auto _ : state) {
        std::size_t got = 0;
        if (write(fd, kQuery, sizeof kQuery - 1) != sizeof kQuery - 1) ++wrong;
        while (got == 0 || reply[got - 1] != '\n') {
            const ssize_t n = read(fd, reply + got, sizeof reply - 1 - got);
            if (n <= 0) break;
            got += static_cast<std::size_t>(n);
        }
        reply[got] = '\0';
        if (std::strtod(reply, nullptr) != FrequencyOf(instrument)) ++wrong;
    }
    close(fd);
    state.counters["wrong"] = benchmark::Counter(static_cast<double>(wrong), benchmark::Counter::kAvgThreads);
    if (wrong) state.SkipWithError("an answer was wrong or missing");
    state.SetItemsProcessed(state.iterations());
}

BENCHMARK(BM_DriverSessionsInParallel)->DenseThreadRange(1, kMostInstruments)->UseRealTime();
BENCHMARK(BM_RawClientsInParallel)->DenseThreadRange(1, kMostInstruments)->UseRealTime();

}  // namespace
BENCHMARK_MAIN();
