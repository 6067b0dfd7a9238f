// Cost of one simulated property access through the whole method frame (lock, call context, error
// information, out-pointer checks, stored value).
#include <benchmark/benchmark.h>

#include "ZPV4870.h"

namespace {

struct SimulatedSession {
    explicit SimulatedSession(const wchar_t* options = L"Simulate=true") {
        CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        CLSID clsid;
        CLSIDFromProgID(L"ZPV4870.ZPV4870", &clsid);
        CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IIviDriver, reinterpret_cast<void**>(&driver));
        CComBSTR resource(L""), optionString(options);
        driver->Initialize(resource, VARIANT_FALSE, VARIANT_FALSE, optionString);
        CComPtr<IIviACPwr> acPwr;
        driver->QueryInterface(&acPwr);
        acPwr->get_OutputPhases(&phases);
        CComBSTR name(L"OutputPhase1");
        phases->get_Item(name, &phase);
        driver->QueryInterface(&operation);
    }
    ~SimulatedSession() {
        driver->Close();
        CoUninitialize();
    }
    CComPtr<IIviDriver> driver;
    CComPtr<IIviACPwrOutputPhases> phases;
    CComPtr<IIviACPwrOutputPhase> phase;
    CComPtr<IIviDriverOperation> operation;
};

constexpr const wchar_t* kUntraced = L"Simulate=true";
// The same calls recorded in a trace on tmpfs (flushed after every record, the default).
constexpr const wchar_t* kTraced = L"Simulate=true, DriverSetup=Trace=true, TraceName=/dev/shm/zpv4870-bench-trace";

void Get(benchmark::State& state, const wchar_t* options) {
    SimulatedSession s(options);
    s.phase->put_VoltageLevel(230.5);
    double v = 0;
    for (auto _ : state) {
        s.phase->get_VoltageLevel(&v);
        benchmark::DoNotOptimize(v);
    }
}

void Put(benchmark::State& state, const wchar_t* options) {
    SimulatedSession s(options);
    double v = 0;
    for (auto _ : state) s.phase->put_VoltageLevel(v += 0.5);
}

void BM_FlagGet(benchmark::State& state) {
    SimulatedSession s;
    VARIANT_BOOL flag;
    for (auto _ : state) {
        s.operation->get_RangeCheck(&flag);
        benchmark::DoNotOptimize(flag);
    }
}

BENCHMARK_CAPTURE(Get, BM_SimulatedGet, kUntraced)->Name("BM_SimulatedGet");
BENCHMARK_CAPTURE(Put, BM_SimulatedPut, kUntraced)->Name("BM_SimulatedPut");
BENCHMARK(BM_FlagGet);
BENCHMARK_CAPTURE(Get, BM_TracedGet, kTraced)->Name("BM_TracedGet");
BENCHMARK_CAPTURE(Put, BM_TracedPut, kTraced)->Name("BM_TracedPut");

}  // namespace

BENCHMARK_MAIN();
