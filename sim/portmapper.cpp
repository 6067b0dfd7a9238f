#include "zpv4870sim/portmapper.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "rpc_connection.h"
#include "tcp_service.h"
#include "wake_pipe.h"

namespace zpv::sim {

namespace {

constexpr RpcProgram kPrograms[] = {{100000, 2}};
constexpr std::size_t kLargestCall = 1024;

enum Procedure : std::uint32_t { kNull = 0, kSet = 1, kUnset = 2, kGetPort = 3, kDump = 4 };

// A UDP socket bound to address:port (host byte order), or -1.
int BindUdp(std::uint32_t ipv4, std::uint16_t port) {
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) return -1;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(ipv4);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) return fd;
    ::close(fd);
    return -1;
}

}  // namespace

std::optional<std::uint32_t> BroadcastAddressOf(std::uint32_t ipv4) {
    ifaddrs* list = nullptr;
    if (::getifaddrs(&list) != 0) return std::nullopt;
    std::optional<std::uint32_t> found;
    for (const ifaddrs* entry = list; entry && !found; entry = entry->ifa_next) {
        if (!entry->ifa_addr || entry->ifa_addr->sa_family != AF_INET || !(entry->ifa_flags & IFF_BROADCAST) ||
            !entry->ifa_broadaddr)
            continue;
        if (ntohl(reinterpret_cast<const sockaddr_in*>(entry->ifa_addr)->sin_addr.s_addr) != ipv4) continue;
        found = ntohl(reinterpret_cast<const sockaddr_in*>(entry->ifa_broadaddr)->sin_addr.s_addr);
    }
    ::freeifaddrs(list);
    return found;
}

Portmapper::Portmapper() = default;

Portmapper::~Portmapper() { Stop(); }

std::uint16_t Portmapper::Port() const { return tcp_ ? tcp_->Port() : 0; }

void Portmapper::Set(std::uint32_t program, std::uint32_t version, std::uint32_t protocol, std::uint16_t port) {
    std::lock_guard lock(mutex_);
    table_[{program, version, protocol}] = port;
}

void Portmapper::Unset(std::uint32_t program, std::uint32_t version) {
    std::lock_guard lock(mutex_);
    std::erase_if(table_, [&](const auto& entry) {
        return std::get<0>(entry.first) == program && std::get<1>(entry.first) == version;
    });
}

bool Portmapper::SetFromClient(bool mayChange, std::uint32_t program, std::uint32_t version, std::uint32_t protocol,
                               std::uint16_t port) {
    if (!mayChange || port == 0) return false;
    std::lock_guard lock(mutex_);
    return table_.emplace(Key{program, version, protocol}, port).second;
}

bool MayChangeMappings(const sockaddr_storage& address) {
    constexpr unsigned kFirstUnprivilegedPort = 1024;
    if (address.ss_family == AF_INET) {
        const auto& v4 = reinterpret_cast<const sockaddr_in&>(address);
        return (ntohl(v4.sin_addr.s_addr) >> 24) == 127 && ntohs(v4.sin_port) < kFirstUnprivilegedPort;
    }
    if (address.ss_family == AF_INET6) {
        const auto& v6 = reinterpret_cast<const sockaddr_in6&>(address);
        return IN6_IS_ADDR_LOOPBACK(&v6.sin6_addr) && ntohs(v6.sin6_port) < kFirstUnprivilegedPort;
    }
    return false;
}

std::uint16_t Portmapper::Lookup(std::uint32_t program, std::uint32_t version, std::uint32_t protocol) const {
    std::lock_guard lock(mutex_);
    const auto it = table_.find({program, version, protocol});
    return it == table_.end() ? 0 : it->second;
}

void Portmapper::Start(std::uint16_t port, ListenAddress where) {
    // One handler per caller: whether it may change mappings depends on where it
    // calls from.
    const auto handlerFor = [this](bool mayChange) -> RpcHandler {
        return [this, mayChange](RpcCall& call, XdrOut& results) {
            XdrIn& in = call.arguments;
            switch (call.procedure) {
                case kNull: return RpcOutcome::Reply;
                case kSet:
                case kUnset:
                case kGetPort: {
                    const std::uint32_t program = in.Uint(), version = in.Uint(), protocol = in.Uint(),
                                        mappedPort = in.Uint();
                    if (!in.ok()) return RpcOutcome::BadArguments;
                    if (call.procedure == kGetPort) {
                        results.Uint(Lookup(program, version, protocol));
                    } else if (call.procedure == kUnset) {
                        if (mayChange) Unset(program, version);
                        results.Uint(mayChange ? 1 : 0);
                    } else {
                        const bool set = mappedPort <= 0xFFFF && SetFromClient(mayChange, program, version, protocol,
                                                                               static_cast<std::uint16_t>(mappedPort));
                        results.Uint(set ? 1 : 0);
                    }
                    return RpcOutcome::Reply;
                }
                case kDump: {
                    std::lock_guard lock(mutex_);
                    for (const auto& [key, mapped] : table_) {
                        results.Uint(1);  // another entry follows
                        results.Uint(std::get<0>(key));
                        results.Uint(std::get<1>(key));
                        results.Uint(std::get<2>(key));
                        results.Uint(mapped);
                    }
                    results.Uint(0);
                    return RpcOutcome::Reply;
                }
                default: return RpcOutcome::NoProcedure;
            }
        };
    };
    tcp_ = std::make_unique<TcpService>([this, handlerFor](int fd) {
        sockaddr_storage peer{};
        socklen_t length = sizeof peer;
        const bool privileged =
            ::getpeername(fd, reinterpret_cast<sockaddr*>(&peer), &length) == 0 && MayChangeMappings(peer);
        ServeRpcConnection(fd, tcp_->StopFd(), kPrograms, kLargestCall, handlerFor(privileged || insecure_));
    });
    tcp_->Start(port, where);

    // UDP on the same number when it is free; TCP alone is enough for our
    // clients.
    udp_ = BindUdp(where.ipv4, tcp_->Port());
    if (udp_ < 0) return;
    // A socket bound to one unicast address never sees a broadcast: discovery (a
    // GETPORT sent to the subnet's broadcast address) arrives on a second socket,
    // and is answered from the first, so the reply comes from the instrument's
    // own address.
    if (const auto broadcast = BroadcastAddressOf(where.ipv4)) udpBroadcast_ = BindUdp(*broadcast, tcp_->Port());
    udpStop_ = std::make_unique<WakePipe>();
    udpStop_->Open();
    udpThread_ = std::thread([this, handlerFor] {
        std::vector<char> datagram(65536);
        for (;;) {
            pollfd fds[] = {{udpStop_->fd(), POLLIN, 0}, {udp_, POLLIN, 0}, {udpBroadcast_, POLLIN, 0}};
            if (::poll(fds, udpBroadcast_ >= 0 ? 3 : 2, -1) < 0 && errno == EINTR) continue;
            if (fds[0].revents) return;
            for (int i = 1; i < 3; ++i) {
                if (!(fds[i].revents & POLLIN)) continue;
                sockaddr_storage from{};
                socklen_t length = sizeof from;
                const ssize_t got = ::recvfrom(fds[i].fd, datagram.data(), datagram.size(), 0,
                                               reinterpret_cast<sockaddr*>(&from), &length);
                if (got <= 0) continue;
                std::string reply;
                HandleRpcCall(std::string_view(datagram.data(), static_cast<size_t>(got)), kPrograms,
                              handlerFor(MayChangeMappings(from) || insecure_), &reply);
                if (!reply.empty())
                    ::sendto(udp_, reply.data(), reply.size(), 0, reinterpret_cast<sockaddr*>(&from), length);
            }
        }
    });
}

void Portmapper::Stop() {
    if (!tcp_) return;
    if (udpThread_.joinable()) {
        udpStop_->Raise();
        udpThread_.join();
    }
    for (int* fd : {&udp_, &udpBroadcast_}) {
        if (*fd >= 0) ::close(*fd);
        *fd = -1;
    }
    udpStop_.reset();
    tcp_->Stop();
    tcp_.reset();
}

}  // namespace zpv::sim
