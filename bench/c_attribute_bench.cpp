// What the C interface adds to a call: ZPV4870_GetAttributeViReal64 on a simulated session next to
// the same property read through the object interface, for an attribute of the whole source and
// for a per-phase one (whose channel name is resolved on every call), and the same pair over TCP
// against the in-process simulator.
#include <benchmark/benchmark.h>

#include <string>

#include "ZPV4870.h"
#include "zpv4870.h"
#include "zpv4870sim/instrument.h"
#include "zpv4870sim/socket_server.h"

namespace {

constexpr const char* kSimulated = "Simulate=true, DriverSetup=Model=ZPV-4832-Advanced";

struct CSession {
    explicit CSession(const std::string& resource = "", const char* options = kSimulated) {
        if (ZPV4870_InitWithOptions(resource.c_str(), VI_FALSE, VI_FALSE, options, &vi) != VI_SUCCESS) vi = 0;
    }
    ~CSession() {
        if (vi) ZPV4870_close(vi);
    }
    ViSession vi = 0;
};

void ReadThroughC(benchmark::State& state, ViSession vi, const char* channel, ViAttr id) {
    if (!vi) return state.SkipWithError("no session");
    ViReal64 value = 0;
    for (auto _ : state) {
        if (ZPV4870_GetAttributeViReal64(vi, channel, id, &value) != VI_SUCCESS) state.SkipWithError("read failed");
        benchmark::DoNotOptimize(value);
    }
}

struct ObjectSession {
    explicit ObjectSession(const std::wstring& resource = L"",
                           const wchar_t* options = L"Simulate=true, DriverSetup=Model=ZPV-4832-Advanced") {
        CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        CoCreateInstance(CLSID_ZPV4870, nullptr, CLSCTX_INPROC_SERVER, IID_IZPV4870,
                         reinterpret_cast<void**>(&driver));
        CComBSTR name(resource.c_str()), opts(options);
        CComPtr<IIviDriver> inherent;
        driver->QueryInterface(&inherent);
        if (FAILED(inherent->Initialize(name, VARIANT_FALSE, VARIANT_FALSE, opts))) driver.Release();
    }
    ~ObjectSession() {
        if (!driver) return;
        CComPtr<IIviDriver> inherent;
        driver->QueryInterface(&inherent);
        inherent->Close();
    }
    CComPtr<IZPV4870> driver;
};

void BM_C_SourceAttribute(benchmark::State& state) {
    CSession session;
    ReadThroughC(state, session.vi, nullptr, ZPV4870_ATTR_MANUAL_MODE_FREQUENCY);
}

void BM_Object_SourceProperty(benchmark::State& state) {
    ObjectSession session;
    if (!session.driver) return state.SkipWithError("no session");
    double value = 0;
    for (auto _ : state) {
        // As the C call does: fetch the interface, read, release.
        CComPtr<IZPV4870ManualMode> manual;
        session.driver->QueryInterface(&manual);
        if (FAILED(manual->get_Frequency(&value))) state.SkipWithError("read failed");
        benchmark::DoNotOptimize(value);
    }
}

void BM_Object_SourcePropertyHeld(benchmark::State& state) {
    ObjectSession session;
    if (!session.driver) return state.SkipWithError("no session");
    CComPtr<IZPV4870ManualMode> manual;
    session.driver->QueryInterface(&manual);
    double value = 0;
    for (auto _ : state) {
        if (FAILED(manual->get_Frequency(&value))) state.SkipWithError("read failed");
        benchmark::DoNotOptimize(value);
    }
}

void BM_C_PhaseAttribute(benchmark::State& state) {
    CSession session;
    ReadThroughC(state, session.vi, "OutputPhase1", ZPV4870_ATTR_VOLTAGE_LEVEL);
}

void BM_Object_PhaseProperty(benchmark::State& state) {
    ObjectSession session;
    if (!session.driver) return state.SkipWithError("no session");
    CComPtr<IIviACPwr> root;
    session.driver->QueryInterface(&root);
    CComPtr<IIviACPwrOutputPhases> phases;
    root->get_OutputPhases(&phases);
    CComBSTR name(L"OutputPhase1");
    double value = 0;
    for (auto _ : state) {
        CComPtr<IIviACPwrOutputPhase> phase;
        phases->get_Item(name, &phase);
        if (FAILED(phase->get_VoltageLevel(&value))) state.SkipWithError("read failed");
        benchmark::DoNotOptimize(value);
    }
}

struct Simulator {
    Simulator() : server(instrument) { server.Start(0); }
    std::string Resource() const { return "TCPIP0::127.0.0.1::" + std::to_string(server.Port()) + "::SOCKET"; }
    zpv::sim::Instrument instrument;
    zpv::sim::SocketServer server;
};

void BM_C_SourceAttributeOverTcp(benchmark::State& state) {
    static Simulator simulator;
    CSession session(simulator.Resource(), "");
    ReadThroughC(state, session.vi, nullptr, ZPV4870_ATTR_MANUAL_MODE_FREQUENCY);
}

void BM_Object_SourcePropertyOverTcp(benchmark::State& state) {
    static Simulator simulator;
    const std::string resource = simulator.Resource();
    ObjectSession session(std::wstring(resource.begin(), resource.end()), L"");
    if (!session.driver) return state.SkipWithError("no session");
    CComPtr<IZPV4870ManualMode> manual;
    session.driver->QueryInterface(&manual);
    double value = 0;
    for (auto _ : state) {
        if (FAILED(manual->get_Frequency(&value))) state.SkipWithError("read failed");
        benchmark::DoNotOptimize(value);
    }
}

}  // namespace

BENCHMARK(BM_C_SourceAttribute);
BENCHMARK(BM_Object_SourceProperty);
BENCHMARK(BM_Object_SourcePropertyHeld);
BENCHMARK(BM_C_PhaseAttribute);
BENCHMARK(BM_Object_PhaseProperty);
BENCHMARK(BM_C_SourceAttributeOverTcp);
BENCHMARK(BM_Object_SourcePropertyOverTcp);
BENCHMARK_MAIN();
