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

void BM_SimulatedGet(benchmark::State& state) {
    SimulatedSession s;
    s.phase->put_VoltageLevel(230.5);
    double v = 0;
    for (auto _ : state) {
        s.phase->get_VoltageLevel(&v);
        benchmark::DoNotOptimize(v);
    }
}
BENCHMARK(BM_SimulatedGet);

void BM_SimulatedPut(benchmark::State& state) {
    SimulatedSession s;
    double v = 0;
    for (auto _ : state) s.phase->put_VoltageLevel(v += 0.5);
}
BENCHMARK(BM_SimulatedPut);

void BM_FlagGet(benchmark::State& state) {
    SimulatedSession s;
    VARIANT_BOOL flag;
    for (auto _ : state) {
        s.operation->get_RangeCheck(&flag);
        benchmark::DoNotOptimize(flag);
    }
}
BENCHMARK(BM_FlagGet);

// The same get and put recorded in a trace on tmpfs (flushed after every record, the default).
void BM_TracedGet(benchmark::State& state) {
    SimulatedSession s(L"Simulate=true, DriverSetup=Trace=true, TraceName=/dev/shm/zpv4870-bench-trace");
    s.phase->put_VoltageLevel(230.5);
    double v = 0;
    for (auto _ : state) {
        s.phase->get_VoltageLevel(&v);
        benchmark::DoNotOptimize(v);
    }
}
BENCHMARK(BM_TracedGet);

void BM_TracedPut(benchmark::State& state) {
    SimulatedSession s(L"Simulate=true, DriverSetup=Trace=true, TraceName=/dev/shm/zpv4870-bench-trace");
    double v = 0;
    for (auto _ : state) s.phase->put_VoltageLevel(v += 0.5);
}
BENCHMARK(BM_TracedPut);

}  // namespace

BENCHMARK_MAIN();
