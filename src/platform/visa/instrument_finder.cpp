#include "platform/visa/instrument_finder.h"

#include <arpa/inet.h>
#include <unistd.h>

#include <algorithm>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/visa/mdns_browser.h"
#include "platform/visa/resource_manager.h"
#include "platform/visa/tcp_connector.h"
#ifdef ZPV4870_WITH_SERIAL
#include "platform/visa/serial_port_list.h"
#endif
#ifdef ZPV4870_WITH_USBTMC
#include "platform/visa/usbtmc_device_finder.h"
#endif
#ifdef ZPV4870_WITH_VXI11
#include "platform/visa/portmapper_client.h"
#include "platform/visa/vxi11_broadcast.h"
#include "platform/visa/vxi11_protocol.h"
#endif

namespace zpv::visa {

namespace {

constexpr ViUInt16 kHislipPort = 4880, kSocketPort = 5025;
constexpr std::size_t kLongestIdentity = 1024;

// The ports of one LAN address, as far as they are known: 0 when not.
struct LanPorts {
    bool vxi11 = false;
    ViUInt16 hislip = 0, socket = 0;
};

std::vector<std::string> LanResources(const std::string& address, const LanPorts& ports) {
    std::vector<std::string> resources;
    if (ports.vxi11) resources.push_back("TCPIP0::" + address + "::inst0::INSTR");
    if (ports.hislip)
        resources.push_back("TCPIP0::" + address + "::hislip0" +
                            (ports.hislip == kHislipPort ? "" : "," + std::to_string(ports.hislip)) + "::INSTR");
    if (ports.socket) resources.push_back("TCPIP0::" + address + "::" + std::to_string(ports.socket) + "::SOCKET");
    return resources;
}

bool Answers(const std::string& address, ViUInt16 port, const Deadline& deadline) {
    int fd = -1;
    std::string why;
    if (Failed(ConnectTcp(address, port, deadline, &fd, &why))) return false;
    ::close(fd);
    return true;
}

// Splits "maker,model,serial,firmware" into the instrument's fields; control
// characters go.
void TakeIdentity(std::string answer, FoundInstrument* found) {
    std::replace_if(
        answer.begin(), answer.end(), [](unsigned char c) { return c < 0x20 || c == 0x7F; }, ' ');
    while (!answer.empty() && answer.back() == ' ') answer.pop_back();
    std::string* fields[] = {&found->manufacturer, &found->model, &found->serial, &found->firmware};
    std::size_t start = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        const std::size_t comma = i < 3 ? answer.find(',', start) : std::string::npos;
        std::string field = answer.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        field.erase(0, field.find_first_not_of(' '));
        *fields[i] = field;
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    if (found->model.empty())
        found->problem = "its *IDN? answer is not maker,model,serial,firmware: \"" + answer + "\"";
}

// Asks *IDN? over the first resource that opens.
void Identify(FoundInstrument* found, const Deadline& deadline) {
    std::string problem = "no resource to ask";
    for (const std::string& resource : found->resources) {
        if (deadline.Expired()) break;
        ResourceManager manager;
        std::unique_ptr<MessageSession> session;
        const ViUInt32 left = static_cast<ViUInt32>(std::max(1, deadline.PollMs()));
        if (Failed(manager.Open(resource, left, &session))) {
            problem = manager.ErrorDetail();
            continue;
        }
        session->SetTimeout(static_cast<ViUInt32>(std::max(1, deadline.PollMs())));
        session->SetTermChar('\n');
        session->SetTermCharEnabled(true);
        session->SetSendEndEnabled(true);
        static constexpr char kQuery[] = "*IDN?\n";
        std::size_t count = 0;
        std::string answer(kLongestIdentity, '\0');
        ViStatus status = session->Write(kQuery, sizeof kQuery - 1, &count);
        if (!Failed(status)) status = session->Read(answer.data(), answer.size(), &count);
        session->Close();
        if (Failed(status)) {
            problem = resource + " did not answer *IDN?: " + StatusDescription(status);
            continue;
        }
        answer.resize(count);
        TakeIdentity(answer, found);
        return;
    }
    found->problem = problem;
}

bool ServesVxi11([[maybe_unused]] const std::string& address, [[maybe_unused]] const Deadline& deadline) {
#ifdef ZPV4870_WITH_VXI11
    ViUInt16 portmapper = kPortmapperPort, port = 0;
    std::string why;
    return !Failed(PortmapperPort(&portmapper, &why)) &&
           !Failed(LookUpRpcPort(address, portmapper, vxi11::kCoreProgram, vxi11::kVersion, deadline, &port, &why));
#else
    return false;
#endif
}

bool ByAddress(const FoundInstrument& a, const FoundInstrument& b) {
    in_addr x{}, y{};
    if (::inet_pton(AF_INET, a.address.c_str(), &x) == 1 && ::inet_pton(AF_INET, b.address.c_str(), &y) == 1)
        return ntohl(x.s_addr) < ntohl(y.s_addr);
    return a.address < b.address;
}

// One thread per LAN address, started as soon as the address turns up: its
// ports are tried and *IDN? asked while the search goes on.
class LanProbes {
public:
    explicit LanProbes(ViUInt32 timeoutMs) : timeoutMs_(timeoutMs) {}
    ~LanProbes() { Finish(); }

    void Found(const std::string& address, LanPorts ports) {
        std::lock_guard lock(mutex_);
        auto [it, added] = pending_.try_emplace(address, ports);
        if (!added) {
            Merge(&it->second, ports);
            return;
        }
        threads_.emplace_back([this, address] { Probe(address); });
    }

    std::vector<FoundInstrument> Finish() {
        for (auto& thread : threads_) thread.join();
        threads_.clear();
        return std::move(done_);
    }

private:
    static void Merge(LanPorts* into, const LanPorts& from) {
        into->vxi11 |= from.vxi11;
        if (from.hislip) into->hislip = from.hislip;
        if (from.socket) into->socket = from.socket;
    }

    // One deadline for the whole probe: both ports are tried at once, *IDN? gets
    // what is left.
    void Probe(const std::string& address) {
        const Deadline deadline = Deadline::After(timeoutMs_);
        bool hislip = false, vxi11 = false, knownVxi11 = false;
        {
            std::lock_guard lock(mutex_);
            knownVxi11 = pending_[address].vxi11;
        }
        std::thread tryHislip([&] { hislip = Answers(address, kHislipPort, deadline); });
        // An address that only announced itself by mDNS may serve VXI-11 too: its portmapper says.
        std::thread tryVxi11([&] { vxi11 = knownVxi11 || ServesVxi11(address, deadline); });
        const bool socket = Answers(address, kSocketPort, deadline);
        tryHislip.join();
        tryVxi11.join();
        FoundInstrument found;
        found.address = address;
        {
            std::lock_guard lock(mutex_);
            LanPorts& ports = pending_[address];
            ports.vxi11 |= vxi11;
            if (hislip && !ports.hislip) ports.hislip = kHislipPort;
            if (socket && !ports.socket) ports.socket = kSocketPort;
            found.resources = LanResources(address, ports);
        }
        Identify(&found, deadline);
        std::lock_guard lock(mutex_);
        // What mDNS added meanwhile counts too.
        found.resources = LanResources(address, pending_[address]);
        done_.push_back(std::move(found));
    }

    const ViUInt32 timeoutMs_;
    std::mutex mutex_;
    std::map<std::string, LanPorts> pending_;
    std::vector<std::thread> threads_;
    std::vector<FoundInstrument> done_;
};

}  // namespace

FindResult FindInstruments(const FindOptions& options) {
    FindResult result;
    LanProbes probes(options.timeoutMs);
    std::thread mdns;
    std::vector<MdnsService> services;
    std::string mdnsNote;
    if (options.mdns)
        mdns = std::thread([&] { mdnsNote = BrowseInstrumentServices(Deadline::After(options.timeoutMs), &services); });
#ifdef ZPV4870_WITH_VXI11
    if (options.lan) {
        ViUInt16 portmapper = kPortmapperPort;
        std::string why;
        if (Failed(PortmapperPort(&portmapper, &why))) {
            result.notes.push_back("VXI-11: " + why);
        } else {
            const BroadcastNotes notes =
                BroadcastForVxi11(portmapper, Deadline::After(options.timeoutMs),
                                  [&](const std::string& address) { probes.Found(address, {.vxi11 = true}); });
            std::string asked;
            for (const std::string& interface : notes.interfaces) asked += (asked.empty() ? "" : ", ") + interface;
            result.notes.push_back(notes.problem.empty() ? "VXI-11: asked every portmapper on " + asked + " (port " +
                                                               std::to_string(portmapper) + ")"
                                                         : "VXI-11: " + notes.problem);
        }
    }
#endif
    if (mdns.joinable()) {
        mdns.join();
        if (!mdnsNote.empty()) result.notes.push_back(mdnsNote);
        for (const MdnsService& service : services) {
            LanPorts ports;
            if (service.type == "_vxi-11._tcp") ports.vxi11 = true;
            if (service.type == "_hislip._tcp") ports.hislip = service.port;
            if (service.type == "_scpi-raw._tcp") ports.socket = service.port;
            probes.Found(service.address, ports);
        }
        if (mdnsNote.empty())
            result.notes.push_back("mDNS: " + std::to_string(services.size()) + " instrument service(s) announced");
    }
    result.instruments = probes.Finish();
    std::sort(result.instruments.begin(), result.instruments.end(), ByAddress);

    if (!options.local) return result;
    std::vector<FoundInstrument> local;
#ifdef ZPV4870_WITH_USBTMC
    for (const std::string& resource : ListUsbtmcResources(UsbtmcRoots::FromEnvironment()))
        local.push_back({resource, {resource}, {}, {}, {}, {}, {}});
    std::vector<std::thread> asking;
    const Deadline deadline = Deadline::After(options.timeoutMs);
    for (FoundInstrument& found : local) asking.emplace_back([&found, &deadline] { Identify(&found, deadline); });
    for (auto& thread : asking) thread.join();
#endif
#ifdef ZPV4870_WITH_SERIAL
    for (const std::string& resource : ListSerialResources("/sys", "/dev"))
        local.push_back({resource, {resource}, {}, {}, {}, {}, {}});
#endif
    for (FoundInstrument& found : local) result.instruments.push_back(std::move(found));
    return result;
}

}  // namespace zpv::visa
