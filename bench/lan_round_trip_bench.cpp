// Query round trips ("OUTP:FREQ?" and its answer) per second through a session of the resource
// manager, over SOCKET, VXI-11 and HiSLIP, against the simulator served in-process on loopback.
#include <cstdlib>
#include <string>

#include <benchmark/benchmark.h>

#include "ZPV4870.h"
#include "platform/visa/portmapper_client.h"
#include "platform/visa/resource_manager.h"
#include "zpv4870sim/hislip_server.h"
#include "zpv4870sim/portmapper.h"
#include "zpv4870sim/socket_server.h"
#include "zpv4870sim/vxi11_server.h"

namespace {

using namespace zpv;

struct Simulator {
    Simulator() {
        socket.Start(0);
        vxi11.Start(0);
        hislip.Start(0);
        portmapper.Start(0);
        portmapper.Set(sim::Vxi11Server::kCoreProgram, sim::Vxi11Server::kVersion, sim::Portmapper::kTcp, vxi11.Port());
        ::setenv(visa::kPortmapperPortVariable, std::to_string(portmapper.Port()).c_str(), 1);
    }
    sim::Instrument instrument;
    sim::SocketServer socket{instrument};
    sim::Vxi11Server vxi11{instrument};
    sim::HislipServer hislip{instrument};
    sim::Portmapper portmapper;
};

enum class Transport { Socket, Vxi11, Hislip };

std::string ResourceName(const Simulator& s, Transport transport) {
    switch (transport) {
        case Transport::Socket: return "TCPIP::127.0.0.1::" + std::to_string(s.socket.Port()) + "::SOCKET";
        case Transport::Vxi11: return "TCPIP::127.0.0.1::inst0::INSTR";
        case Transport::Hislip: return "TCPIP::127.0.0.1::hislip0," + std::to_string(s.hislip.Port()) + "::INSTR";
    }
    return {};
}

void QueryRoundTrip(benchmark::State& state, Transport transport) {
    Simulator simulator;
    visa::ResourceManager manager;
    std::unique_ptr<visa::MessageSession> session;
    if (manager.Open(ResourceName(simulator, transport), 2000, &session) != visa::VI_SUCCESS) {
        state.SkipWithError(manager.ErrorDetail().c_str());
        return;
    }
    session->SetTermCharEnabled(true);
    static constexpr char kQuery[] = "OUTP:FREQ?\n";
    char answer[64];
    for (auto _ : state) {
        std::size_t count = 0;
        if (visa::Failed(session->Write(kQuery, sizeof kQuery - 1, &count, true)) ||
            visa::Failed(session->Read(answer, sizeof answer, &count))) {
            state.SkipWithError("round trip failed");
            break;
        }
        benchmark::DoNotOptimize(answer);
    }
    state.SetItemsProcessed(state.iterations());
    session->Close();
}

BENCHMARK_CAPTURE(QueryRoundTrip, socket, Transport::Socket)->UseRealTime();
BENCHMARK_CAPTURE(QueryRoundTrip, vxi11, Transport::Vxi11)->UseRealTime();
BENCHMARK_CAPTURE(QueryRoundTrip, hislip, Transport::Hislip)->UseRealTime();

}  // namespace


// The same query as a driver call (frame, formatted I/O, connection) over each transport.
void DriverRoundTrip(benchmark::State& state, Transport transport) {
    Simulator simulator;
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    {
        CComPtr<IZPV4870> driver;
        CLSID clsid;
        CLSIDFromProgID(L"ZPV4870.ZPV4870", &clsid);
        CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IZPV4870, reinterpret_cast<void**>(&driver));
        const std::string name = ResourceName(simulator, transport);
        CComBSTR resource(std::wstring(name.begin(), name.end()).c_str()), options(L"");
        CComPtr<IZPV4870OutputPhases> phases;
        if (FAILED(driver->Initialize(resource, VARIANT_FALSE, VARIANT_FALSE, options)) ||
            FAILED(driver->get_OutputPhases(&phases))) {
            state.SkipWithError("Initialize failed");
        } else {
            double frequency = 0;
            for (auto _ : state) {
                if (FAILED(phases->get_Frequency(&frequency))) state.SkipWithError("query failed");
                benchmark::DoNotOptimize(frequency);
            }
            driver->Close();
        }
    }
    CoUninitialize();
}
BENCHMARK_CAPTURE(DriverRoundTrip, socket, Transport::Socket)->UseRealTime();
BENCHMARK_CAPTURE(DriverRoundTrip, vxi11, Transport::Vxi11)->UseRealTime();
BENCHMARK_CAPTURE(DriverRoundTrip, hislip, Transport::Hislip)->UseRealTime();

BENCHMARK_MAIN();
