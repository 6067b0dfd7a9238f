// One "OUTP:FREQ?" round trip through the whole driver (frame, formatted I/O, socket transport)
// against the in-process simulator, next to a plain socket write and read doing the same exchange.
#include <arpa/inet.h>
#include <benchmark/benchmark.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>

#include "ZPV4870.h"
#include "zpv4870sim/instrument.h"
#include "zpv4870sim/socket_server.h"

namespace {

struct Simulator {
    Simulator() : server(instrument) { server.Start(0); }
    zpv::sim::Instrument instrument;
    zpv::sim::SocketServer server;
};

Simulator& SharedSimulator() {
    static Simulator simulator;
    return simulator;
}

// Argument 1: with DriverSetup IoLog writing every transfer to a file (argument 0: no log).
void BM_DriverFrequencyQuery(benchmark::State& state) {
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    const std::string logPath = "/tmp/zpv4870-round-trip-bench-" + std::to_string(::getpid()) + ".log";
    {
        CLSID clsid;
        CLSIDFromProgID(L"ZPV4870.ZPV4870", &clsid);
        CComPtr<IZPV4870> driver;
        CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IZPV4870, reinterpret_cast<void**>(&driver));
        const std::wstring resource =
            L"TCPIP0::127.0.0.1::" + std::to_wstring(SharedSimulator().server.Port()) + L"::SOCKET";
        const std::wstring optionText =
            state.range(0) ? L"DriverSetup=IoLog=" + std::wstring(logPath.begin(), logPath.end()) : L"";
        CComBSTR name(resource.c_str()), options(optionText.c_str());
        if (FAILED(driver->Initialize(name, VARIANT_FALSE, VARIANT_FALSE, options))) {
            state.SkipWithError("Initialize failed");
            return;
        }
        CComPtr<IZPV4870OutputPhases> phases;
        driver->get_OutputPhases(&phases);
        double frequency = 0;
        for (auto _ : state) {
            if (FAILED(phases->get_Frequency(&frequency))) state.SkipWithError("query failed");
            benchmark::DoNotOptimize(frequency);
        }
        driver->Close();
    }
    ::unlink(logPath.c_str());
    CoUninitialize();
}
BENCHMARK(BM_DriverFrequencyQuery)->Arg(0)->Arg(1)->UseRealTime();

void BM_RawSocketFrequencyQuery(benchmark::State& state) {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(SharedSimulator().server.Port());
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        state.SkipWithError("connect failed");
        return;
    }
    int one = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    static constexpr char kQuery[] = "OUTP:FREQ?\n";
    char reply[256];
    for (auto _ : state) {
        write(fd, kQuery, sizeof kQuery - 1);
        std::size_t got = 0;
        while (got == 0 || reply[got - 1] != '\n') {
            const ssize_t n = read(fd, reply + got, sizeof reply - got);
            if (n <= 0) break;
            got += static_cast<std::size_t>(n);
        }
        benchmark::DoNotOptimize(std::strtod(reply, nullptr));
    }
    close(fd);
}
BENCHMARK(BM_RawSocketFrequencyQuery)->UseRealTime();

// Independent sessions in parallel, each on its own thread and connection: nothing process-wide
// may serialize them. Compare the aggregate rate with the same number of raw clients.
void BM_DriverSessionsInParallel(benchmark::State& state) {
    BM_DriverFrequencyQuery(state);
}
BENCHMARK(BM_DriverSessionsInParallel)->ThreadRange(1, 8)->UseRealTime();

void BM_RawClientsInParallel(benchmark::State& state) {
    BM_RawSocketFrequencyQuery(state);
}
BENCHMARK(BM_RawClientsInParallel)->ThreadRange(1, 8)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
