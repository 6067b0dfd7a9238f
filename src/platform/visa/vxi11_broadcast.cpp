#include "platform/visa/vxi11_broadcast.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <random>
#include <set>

#include "platform/visa/vxi11_protocol.h"
#include "platform/visa/xdr.h"

namespace zpv::visa {

namespace {

constexpr std::uint32_t kCall = 0, kReply = 1, kRpcVersion = 2, kAccepted = 0, kSuccess = 0;
constexpr std::uint32_t kPortmapperProgram = 100000, kPortmapperVersion = 2, kGetPort = 3, kProtocolTcp = 6;

std::vector<std::uint8_t> GetPortCall(std::uint32_t xid) {
    std::vector<std::uint8_t> call;
    XdrWriter out(call);
    for (std::uint32_t word : {xid, kCall, kRpcVersion, kPortmapperProgram, kPortmapperVersion, kGetPort, 0u, 0u, 0u,
                               0u,  // no credentials, no verifier
                               vxi11::kCoreProgram, vxi11::kVersion, kProtocolTcp, 0u})
        out.PutUint32(word);
    return call;
}

// Whether a datagram is an accepted, successful reply to our call that names a
// port.
bool NamesAPort(const std::uint8_t* data, std::size_t size, std::uint32_t xid) {
    XdrReader in(data, size);
    std::uint32_t id = 0, type = 0, state = 0, flavor = 0, length = 0, accept = 0, port = 0;
    if (!in.GetUint32(&id) || id != xid || !in.GetUint32(&type) || type != kReply || !in.GetUint32(&state) ||
        state != kAccepted || !in.GetUint32(&flavor) || !in.GetUint32(&length) || length > 400)
        return false;
    return in.Skip((length + 3) / 4 * 4) && in.GetUint32(&accept) && accept == kSuccess && in.GetUint32(&port) &&
           port != 0 && port <= 0xFFFF;
}

struct Target {
    std::string name;
    sockaddr_in address{};
};

std::vector<Target> Targets(ViUInt16 port) {
    std::vector<Target> targets;
    ifaddrs* list = nullptr;
    if (::getifaddrs(&list) != 0) return targets;
    for (const ifaddrs* entry = list; entry; entry = entry->ifa_next) {
        if (!entry->ifa_addr || entry->ifa_addr->sa_family != AF_INET || !(entry->ifa_flags & IFF_UP)) continue;
        Target target{entry->ifa_name ? entry->ifa_name : "?", {}};
        target.address.sin_family = AF_INET;
        target.address.sin_port = htons(port);
        if (entry->ifa_flags & IFF_LOOPBACK)
            target.address.sin_addr = reinterpret_cast<const sockaddr_in*>(entry->ifa_addr)->sin_addr;
        else if ((entry->ifa_flags & IFF_BROADCAST) && entry->ifa_broadaddr)
            target.address.sin_addr = reinterpret_cast<const sockaddr_in*>(entry->ifa_broadaddr)->sin_addr;
        else
            continue;
        targets.push_back(target);
    }
    ::freeifaddrs(list);
    return targets;
}

std::string Text(const in_addr& address) {
    char text[INET_ADDRSTRLEN] = {};
    ::inet_ntop(AF_INET, &address, text, sizeof text);
    return text;
}

}  // namespace

BroadcastNotes BroadcastForVxi11(ViUInt16 portmapperPort, const Deadline& deadline,
                                 const std::function<void(const std::string& address)>& found) {
    BroadcastNotes notes;
    const std::vector<Target> targets = Targets(portmapperPort);
    if (targets.empty()) {
        notes.problem = "no IPv4 interface is up";
        return notes;
    }
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    const int on = 1;
    if (fd < 0 || ::setsockopt(fd, SOL_SOCKET, SO_BROADCAST, &on, sizeof on) != 0) {
        notes.problem = std::string("no UDP socket: ") + std::strerror(errno);
        if (fd >= 0) ::close(fd);
        return notes;
    }
    const std::uint32_t xid = std::random_device{}();
    const std::vector<std::uint8_t> call = GetPortCall(xid);
    auto sendAll = [&](bool first) {
        for (const Target& target : targets) {
            const bool sent = ::sendto(fd, call.data(), call.size(), 0,
                                       reinterpret_cast<const sockaddr*>(&target.address), sizeof target.address) >= 0;
            if (first)
                notes.interfaces.push_back(target.name + " (" + Text(target.address.sin_addr) + ")" +
                                           (sent ? "" : ": " + std::string(std::strerror(errno))));
        }
    };
    sendAll(true);
    const auto again = Deadline::Clock::now() + (deadline.End() - Deadline::Clock::now()) / 3;
    bool resent = false;
    std::set<std::string> seen;
    std::uint8_t datagram[1500];
    while (!deadline.Expired()) {
        int waitMs = deadline.PollMs();
        if (!resent) {
            const auto untilAgain =
                std::chrono::duration_cast<std::chrono::milliseconds>(again - Deadline::Clock::now());
            if (untilAgain.count() <= 0) {
                sendAll(false);
                resent = true;
            } else if (untilAgain.count() < waitMs) {
                waitMs = static_cast<int>(untilAgain.count());
            }
        }
        pollfd wait{fd, POLLIN, 0};
        if (::poll(&wait, 1, waitMs) <= 0) continue;
        sockaddr_in from{};
        socklen_t length = sizeof from;
        const ssize_t got = ::recvfrom(fd, datagram, sizeof datagram, 0, reinterpret_cast<sockaddr*>(&from), &length);
        if (got <= 0 || !NamesAPort(datagram, static_cast<std::size_t>(got), xid)) continue;
        const std::string address = Text(from.sin_addr);
        if (seen.insert(address).second) found(address);
    }
    ::close(fd);
    return notes;
}

}  // namespace zpv::visa
