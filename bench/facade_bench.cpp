// What the modern C++ face adds to a call: a simulated property get and put through a face view
// next to the same members of the object interface.
#include <benchmark/benchmark.h>

#include "zpv4870/driver.hpp"

namespace {

zpv4870::Driver& Session() {
    static zpv4870::Driver drv("", {.simulate = true, .driver_setup = "Model=ZPV-4832-Advanced"});
    return drv;
}

void BM_FaceGet(benchmark::State& state) {
    const auto phase = Session().ivi().output_phases().phase(1);
    phase.voltage_level(230.5);
    for (auto _ : state) benchmark::DoNotOptimize(phase.voltage_level());
}
BENCHMARK(BM_FaceGet);

// The same phase through the object interface.
CComPtr<IIviACPwrOutputPhase> ObjectPhase() {
    CComPtr<IIviACPwr> root;
    Session().object()->QueryInterface(&root);
    CComPtr<IIviACPwrOutputPhases> phases;
    root->get_OutputPhases(&phases);
    CComPtr<IIviACPwrOutputPhase> phase;
    phases->get_Item(CComBSTR(L"OutputPhase1"), &phase);
    return phase;
}

void BM_ObjectGet(benchmark::State& state) {
    const auto phase = ObjectPhase();
    double value = 0;
    for (auto _ : state) {
        phase->get_VoltageLevel(&value);
        benchmark::DoNotOptimize(value);
    }
}
BENCHMARK(BM_ObjectGet);

void BM_FacePut(benchmark::State& state) {
    const auto phase = Session().ivi().output_phases().phase(1);
    double v = 0;
    for (auto _ : state) phase.voltage_level(v += 0.5);
}
BENCHMARK(BM_FacePut);

void BM_ObjectPut(benchmark::State& state) {
    const auto phase = ObjectPhase();
    double v = 0;
    for (auto _ : state) phase->put_VoltageLevel(v += 0.5);
}
BENCHMARK(BM_ObjectPut);

}  // namespace

BENCHMARK_MAIN();
