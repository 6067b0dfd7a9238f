// Large replies the way a user's program meets them: the simulator runs as a process of its own
// and every call is whole ("SIM:BLOCK? N" written, the block read). The driver's byte array
// (SOCKET, VXI-11, HiSLIP), its text reply, and its C read into the caller's buffer, beside our raw
// clients (bench/raw_clients.h). Times are wall; CPU is the whole client process's, user and
// kernel, split in the counters. bench/large_reply_report.py runs it and prints the table.
// One 50 MB read's rise of the process's high-water mark is its own case, run alone:
//   large_reply_bench --benchmark_filter=Peak
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <string>
#include <vector>

#include "ZPV4870.h"
#include "raw_clients.h"
#include "simulator_process.h"
#include "zpv4870.h"

namespace {

bench::SimulatorProcess& Simulator() {
    static bench::SimulatorProcess simulator;
    return simulator;
}

enum Transport : long { kSocket, kVxi11, kHislip };

std::wstring Resource(long transport) {
    const auto& s = Simulator();
    switch (transport) {
        case kVxi11: return L"TCPIP0::127.0.0.1::inst0::INSTR";
        case kHislip: return L"TCPIP0::127.0.0.1::hislip0," + std::to_wstring(s.Port("hislip")) + L"::INSTR";
        default: return L"TCPIP0::127.0.0.1::" + std::to_wstring(s.Port("port")) + L"::SOCKET";
    }
}

std::string Query(long bytes) { return "SIM:BLOCK? " + std::to_string(bytes) + "\n"; }

// User and kernel CPU of the whole process since construction, per iteration, as counters.
class CpuSplit {
public:
    CpuSplit() { getrusage(RUSAGE_SELF, &before_); }
    void Report(benchmark::State& state) const {
        rusage after{};
        getrusage(RUSAGE_SELF, &after);
        const double n = static_cast<double>(state.iterations());
        state.counters["user_us"] = (Micros(after.ru_utime) - Micros(before_.ru_utime)) / n;
        state.counters["sys_us"] = (Micros(after.ru_stime) - Micros(before_.ru_stime)) / n;
        state.counters["faults"] = static_cast<double>(after.ru_minflt - before_.ru_minflt) / n;
        state.SetBytesProcessed(state.iterations() * state.range(0));
    }

private:
    static double Micros(const timeval& t) { return static_cast<double>(t.tv_sec) * 1e6 + static_cast<double>(t.tv_usec); }
    rusage before_{};
};

void Sizes(benchmark::internal::Benchmark* bench) {
    for (long bytes : {100000L, 1000000L, 10000000L}) bench->Arg(bytes);
    bench->UseRealTime()->MeasureProcessCPUTime()->Unit(benchmark::kMicrosecond);
}
void SizesOnEveryTransport(benchmark::internal::Benchmark* bench) {
    bench->ArgsProduct({{100000, 1000000, 10000000}, {kSocket, kVxi11, kHislip}});
    bench->UseRealTime()->MeasureProcessCPUTime()->Unit(benchmark::kMicrosecond);
}

// A driver object on the simulator, with the system interface for direct I/O.
struct DriverSession {
    explicit DriverSession(long transport) {
        CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        CLSID clsid;
        CLSIDFromProgID(L"ZPV4870.ZPV4870", &clsid);
        CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IZPV4870, reinterpret_cast<void**>(&driver));
        CComBSTR name(Resource(transport).c_str()), options(L"");
        ok = Simulator().ok() && driver && SUCCEEDED(driver->Initialize(name, VARIANT_FALSE, VARIANT_FALSE, options)) &&
             SUCCEEDED(driver->get_System(&system)) && SUCCEEDED(system->put_IOTimeout(20000));
    }
    ~DriverSession() {
        system.Release();
        if (driver) driver->Close();
        driver.Release();
        CoUninitialize();
    }
    // Asks for a block of `bytes` and reads the whole reply, as bytes or as text; its size, or 0
    // on failure.
    ULONG ReadBlock(long bytes, bool asText = false) {
        const std::string query = Query(bytes);
        CComBSTR wide(std::wstring(query.begin(), query.end()).c_str());
        if (FAILED(system->WriteString(wide))) return 0;
        if (asText) {
            BSTR text = nullptr;
            if (FAILED(system->ReadString(&text))) return 0;
            const ULONG size = SysStringLen(text);
            SysFreeString(text);
            return size;
        }
        SAFEARRAY* reply = nullptr;
        if (FAILED(system->ReadBytes(&reply))) return 0;
        const ULONG size = reply->rgsabound[0].cElements;
        SafeArrayDestroy(reply);
        return size;
    }

    CComPtr<IZPV4870> driver;
    CComPtr<IZPV4870System> system;
    bool ok = false;
};

void BM_DriverReadBytes(benchmark::State& state) {
    DriverSession session(state.range(1));
    if (!session.ok) return state.SkipWithError("Initialize failed");
    CpuSplit cpu;
    for (auto _ : state)
        if (session.ReadBlock(state.range(0)) == 0) return state.SkipWithError("read failed");
    cpu.Report(state);
}
BENCHMARK(BM_DriverReadBytes)->Apply(SizesOnEveryTransport);

void BM_DriverReadString(benchmark::State& state) {
    DriverSession session(kSocket);
    if (!session.ok) return state.SkipWithError("Initialize failed");
    CpuSplit cpu;
    for (auto _ : state)
        if (session.ReadBlock(state.range(0), true) == 0) return state.SkipWithError("read failed");
    cpu.Report(state);
}
BENCHMARK(BM_DriverReadString)->Apply(Sizes);

// The C interface's viRead into one buffer the program keeps, as the raw client does.
void BM_CViRead(benchmark::State& state) {
    if (!Simulator().ok()) return state.SkipWithError("no simulator");
    const std::wstring wide = Resource(kSocket);
    const std::string resource(wide.begin(), wide.end());
    ViSession vi = 0;
    if (ZPV4870_init(resource.c_str(), VI_FALSE, VI_FALSE, &vi) < 0) return state.SkipWithError("init failed");
    ZPV4870_SetAttributeViInt32(vi, "", ZPV4870_ATTR_SYSTEM_IO_TIMEOUT, 20000);
    const std::string query = Query(state.range(0));
    std::vector<ViByte> reply(static_cast<std::size_t>(state.range(0)) + 64);
    CpuSplit cpu;
    for (auto _ : state) {
        ViInt32 count = 0;
        if (ZPV4870_viWrite(vi, reinterpret_cast<const ViByte*>(query.data()), static_cast<ViInt32>(query.size()),
                            &count) < 0 ||
            ZPV4870_viRead(vi, reply.data(), static_cast<ViInt32>(reply.size()), &count) < 0 ||
            count < state.range(0))
            return state.SkipWithError("read failed");
    }
    cpu.Report(state);
    ZPV4870_close(vi);
}
BENCHMARK(BM_CViRead)->Apply(Sizes);

void BM_RawSocket(benchmark::State& state) {
    bench::RawSocketClient client(Simulator().Port("port"));
    if (!Simulator().ok() || !client.ok()) return state.SkipWithError("connect failed");
    const std::string query = Query(state.range(0));
    std::vector<char> reply;
    CpuSplit cpu;
    for (auto _ : state)
        if (client.Query(query, reply) == 0) return state.SkipWithError("read failed");
    cpu.Report(state);
}
BENCHMARK(BM_RawSocket)->Apply(Sizes);

void BM_RawVxi11(benchmark::State& state) {
    bench::RawVxi11Client client(Simulator().Port("vxi11"));
    if (!Simulator().ok() || !client.ok()) return state.SkipWithError("create_link failed");
    const std::string query = Query(state.range(0));
    std::vector<char> reply(static_cast<std::size_t>(state.range(0)) + 64);
    CpuSplit cpu;
    for (auto _ : state)
        if (client.Query(query, reply) == 0) return state.SkipWithError("read failed");
    cpu.Report(state);
}
BENCHMARK(BM_RawVxi11)->Apply(Sizes);

double MaxRssMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// One 50 MB reply: how far the client's memory high-water mark rises while reading it, as bytes
// (second argument 0) or as text (1).
void BM_DriverReadPeak(benchmark::State& state) {
    DriverSession session(kSocket);
    if (!session.ok) return state.SkipWithError("Initialize failed");
    const double before = MaxRssMegabytes();
    for (auto _ : state)
        if (session.ReadBlock(state.range(0), state.range(1) != 0) == 0) state.SkipWithError("read failed");
    state.counters["reply_MB"] = static_cast<double>(state.range(0)) / 1e6;
    state.counters["peak_rise_MB"] = MaxRssMegabytes() - before;
}
BENCHMARK(BM_DriverReadPeak)->Args({50000000, 0})->Args({50000000, 1})->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
