// Large replies: a definite-length block read through the driver's direct I/O ("SIM:BLOCK? N"
// written, ReadBytes) next to plain clients of our own reading the same reply from the in-process
// simulator - over a socket (the floor), and over VXI-11 (that protocol's own floor: two calls per
// query) - and the peak memory of one large read. bench/large_reply_report.py runs it and prints
// the table. Run the peak case alone in its own process, as the high-water mark of the process is
// what it reports:
//   large_reply_bench --benchmark_filter=Peak
#include <arpa/inet.h>
#include <benchmark/benchmark.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "ZPV4870.h"
#include "zpv4870sim/instrument.h"
#include "zpv4870sim/lan_endpoints.h"
#include "zpv4870sim/socket_server.h"

namespace {

// One simulated instrument on a TCP socket, VXI-11 (with its own portmapper) and HiSLIP.
struct Simulator {
    Simulator() : server(instrument), lan(instrument, LanOptions()) {
        server.Start(0);
        lan.Start();
        ::setenv("ZPV4870_VXI11_PORTMAPPER_PORT", std::to_string(lan.PortmapperPort()).c_str(), 1);
    }
    static zpv::sim::LanOptions LanOptions() {
        zpv::sim::LanOptions options;
        options.vxi11 = options.hislip = true;
        options.portmapperPort = options.hislipPort = 0;
        return options;
    }
    std::wstring Resource(int transport) const {
        switch (transport) {
            case 1: return L"TCPIP0::127.0.0.1::inst0::INSTR";
            case 2: return L"TCPIP0::127.0.0.1::hislip0," + std::to_wstring(lan.HislipPort()) + L"::INSTR";
            default: return L"TCPIP0::127.0.0.1::" + std::to_wstring(server.Port()) + L"::SOCKET";
        }
    }
    zpv::sim::Instrument instrument;
    zpv::sim::SocketServer server;
    zpv::sim::LanEndpoints lan;
};

Simulator& SharedSimulator() {
    static Simulator simulator;
    return simulator;
}

// User CPU of the calling thread, in microseconds: what the client itself spends, kernel copies aside.
double ThreadUserMicroseconds() {
    rusage usage{};
    getrusage(RUSAGE_THREAD, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec) * 1e6 + static_cast<double>(usage.ru_utime.tv_usec);
}

double MaxRssMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// Bytes per second and the client's own CPU per block, for every block-read benchmark alike.
void ReportBlocks(benchmark::State& state, double userBefore) {
    state.SetBytesProcessed(state.iterations() * state.range(0));
    state.counters["user_us"] = (ThreadUserMicroseconds() - userBefore) / static_cast<double>(state.iterations());
}

void BlockSizes(benchmark::internal::Benchmark* bench) {
    for (long bytes : {1000L, 100000L, 1000000L, 10000000L}) bench->Arg(bytes);
    bench->UseRealTime()->Unit(benchmark::kMicrosecond);
}

// A driver session on the simulator, with the system interface for direct I/O.
struct DriverSession {
    explicit DriverSession(int transport = 0) {
        CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        CLSID clsid;
        CLSIDFromProgID(L"ZPV4870.ZPV4870", &clsid);
        CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IZPV4870, reinterpret_cast<void**>(&driver));
        const std::wstring resource = SharedSimulator().Resource(transport);
        CComBSTR name(resource.c_str()), options(L"");
        ok = driver && SUCCEEDED(driver->Initialize(name, VARIANT_FALSE, VARIANT_FALSE, options)) &&
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
        CComBSTR query((L"SIM:BLOCK? " + std::to_wstring(bytes) + L"\n").c_str());
        if (FAILED(system->WriteString(query))) return 0;
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

// Second argument: 0 SOCKET, 1 VXI-11, 2 HiSLIP.
void BM_DriverBlockRead(benchmark::State& state) {
    DriverSession session(static_cast<int>(state.range(1)));
    if (!session.ok) return state.SkipWithError("Initialize failed");
    const double userBefore = ThreadUserMicroseconds();
    for (auto _ : state)
        if (session.ReadBlock(state.range(0)) == 0) state.SkipWithError("read failed");
    ReportBlocks(state, userBefore);
}
BENCHMARK(BM_DriverBlockRead)
    ->ArgsProduct({{1000, 100000, 1000000, 10000000}, {0, 1, 2}})
    ->UseRealTime()
    ->Unit(benchmark::kMicrosecond);

void BM_RawSocketBlockRead(benchmark::State& state) {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(SharedSimulator().server.Port());
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
        return state.SkipWithError("connect failed");
    int one = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    const std::string query = "SIM:BLOCK? " + std::to_string(state.range(0)) + "\n";
    std::vector<char> reply(static_cast<std::size_t>(state.range(0)) + 64);
    const double userBefore = ThreadUserMicroseconds();
    for (auto _ : state) {
        write(fd, query.data(), query.size());
        std::size_t got = 0;
        while (got == 0 || reply[got - 1] != '\n') {
            const ssize_t n = read(fd, reply.data() + got, reply.size() - got);
            if (n <= 0) break;
            got += static_cast<std::size_t>(n);
        }
        benchmark::DoNotOptimize(reply.data());
    }
    close(fd);
    ReportBlocks(state, userBefore);
}
BENCHMARK(BM_RawSocketBlockRead)->Apply(BlockSizes);

// A bare VXI-11 client: create_link, then per block one device_write and device_reads until END,
// each reply's data received straight into one buffer. Blocking calls, no checks beyond the needed.
class RawVxi11Client {
public:
    explicit RawVxi11Client(std::uint16_t port) : fd_(socket(AF_INET, SOCK_STREAM, 0)) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(port);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        int one = 1;
        setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        ok_ = connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
        std::uint32_t head[4];
        ok_ = ok_ && Call(10, {0, 0, 0}, "inst0") && Receive(head, sizeof head) && Skip();
        link_ = ntohl(head[1]);  // error, lid, abortPort, maxRecvSize
    }
    ~RawVxi11Client() { close(fd_); }
    bool ok() const { return ok_; }

    // The whole reply to `query` into reply; its size, or 0 on failure.
    std::size_t Query(const std::string& query, std::vector<char>& reply) {
        std::uint32_t written[2];
        if (!Call(11, {link_, 10000, 0, 8}, query) || !Receive(written, sizeof written) || !Skip()) return 0;
        std::size_t got = 0;
        for (;;) {
            std::uint32_t head[3];  // error, reason, data length
            if (!Call(12, {link_, static_cast<std::uint32_t>(reply.size() - got), 10000, 0, 0, 0}, {}) ||
                !Receive(head, sizeof head))
                return 0;
            const std::uint32_t length = ntohl(head[2]);
            if (head[0] != 0 || got + length > reply.size() || !Receive(reply.data() + got, length) || !Skip()) return 0;
            got += length;
            if (ntohl(head[1]) & 4) return got;  // END
        }
    }

private:
    // Sends one call and receives its reply up to the procedure's results.
    bool Call(std::uint32_t procedure, std::initializer_list<std::uint32_t> words, const std::string& opaque) {
        std::vector<std::uint32_t> record{0, ++xid_, 0, 2, 0x0607AF, 1, procedure, 0, 0, 0, 0};
        record.insert(record.end(), words);
        const bool withOpaque = procedure != 12;
        if (withOpaque) record.push_back(static_cast<std::uint32_t>(opaque.size()));
        for (auto& word : record) word = htonl(word);
        std::string bytes(reinterpret_cast<const char*>(record.data()), record.size() * 4);
        bytes += opaque;
        bytes.append((4 - opaque.size() % 4) % 4, '\0');
        const std::uint32_t mark = htonl(0x80000000u | static_cast<std::uint32_t>(bytes.size() - 4));
        std::memcpy(bytes.data(), &mark, 4);
        if (send(fd_, bytes.data(), bytes.size(), 0) != static_cast<ssize_t>(bytes.size())) return false;
        std::uint32_t reply[7];  // mark, xid, REPLY, accepted, verifier, its length, SUCCESS
        if (!Receive(reply, sizeof reply)) return false;
        left_ = (ntohl(reply[0]) & 0x7FFFFFFF) - 24;
        return true;
    }
    bool Receive(void* into, std::size_t bytes) {
        left_ -= std::min(left_, bytes);
        return bytes == 0 || recv(fd_, into, bytes, MSG_WAITALL) == static_cast<ssize_t>(bytes);
    }
    // The rest of the record: padding and fields the floor does not need.
    bool Skip() {
        char scratch[64];
        while (left_ > 0)
            if (!Receive(scratch, std::min(left_, sizeof scratch))) return false;
        return true;
    }

    int fd_;
    bool ok_ = false;
    std::uint32_t link_ = 0;
    std::uint32_t xid_ = 0;
    std::size_t left_ = 0;
};

void BM_RawVxi11BlockRead(benchmark::State& state) {
    RawVxi11Client client(SharedSimulator().lan.Vxi11Port());
    if (!client.ok()) return state.SkipWithError("create_link failed");
    const std::string query = "SIM:BLOCK? " + std::to_string(state.range(0)) + "\n";
    std::vector<char> reply(static_cast<std::size_t>(state.range(0)) + 64);
    const double userBefore = ThreadUserMicroseconds();
    for (auto _ : state)
        if (client.Query(query, reply) == 0) state.SkipWithError("read failed");
    ReportBlocks(state, userBefore);
}
BENCHMARK(BM_RawVxi11BlockRead)->Apply(BlockSizes);

// One 50 MB reply: how far the process's memory high-water mark rises while reading it, as bytes
// (second argument 0) or as text (1). The in-process simulator's own copy of the reply counts too.
void BM_DriverBlockReadPeak(benchmark::State& state) {
    DriverSession session;
    if (!session.ok) return state.SkipWithError("Initialize failed");
    const double before = MaxRssMegabytes();
    for (auto _ : state)
        if (session.ReadBlock(state.range(0), state.range(1) != 0) == 0) state.SkipWithError("read failed");
    state.counters["reply_MB"] = static_cast<double>(state.range(0)) / 1e6;
    state.counters["peak_rise_MB"] = MaxRssMegabytes() - before;
}
BENCHMARK(BM_DriverBlockReadPeak)->Args({50000000, 0})->Args({50000000, 1})->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
