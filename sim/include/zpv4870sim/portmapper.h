// The simulator's own portmapper (program 100000 version 2) on its listen address, TCP and, when
// the same port is free for it, UDP, also on the subnet's broadcast address for discovery: clients
// ask it where the VXI-11 core channel listens. Answers NULL, SET, UNSET, GETPORT and DUMP; SET and UNSET from clients edit the same table as Set and Unset,
// as the classic portmapper allows them: from a privileged source port (below 1024, which only
// root can bind) on this host only, and SET never replaces a mapping (UNSET first). The
// simulator registers its own services in-process.
#pragma once

#include <sys/socket.h>

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <tuple>

#include "zpv4870sim/listen_address.h"

namespace zpv::sim {

class TcpService;
class WakePipe;

// Whether a caller at this address may change mappings: only this host, over loopback, from a
// privileged port, so no unprivileged program on the host can take the instrument's mapping.
bool MayChangeMappings(const struct sockaddr_storage& address);

// The broadcast address of the interface that holds this IPv4 address (host byte order); nothing
// for an address of no broadcast-capable interface (loopback, 0.0.0.0, not ours).
std::optional<std::uint32_t> BroadcastAddressOf(std::uint32_t ipv4);

class Portmapper {
public:
    static constexpr std::uint32_t kTcp = 6;
    static constexpr std::uint32_t kUdp = 17;

    Portmapper();
    ~Portmapper();  // stops
    Portmapper(const Portmapper&) = delete;
    Portmapper& operator=(const Portmapper&) = delete;

    // Port 0 picks a free one. Throws std::system_error when the TCP port cannot be bound.
    void Start(std::uint16_t port = 0, ListenAddress where = {});
    std::uint16_t Port() const;
    bool ServesUdp() const { return udp_ >= 0; }
    // Like rpcbind -i: SET and UNSET from any host. Before Start.
    void SetInsecure(bool insecure) { insecure_ = insecure; }
    void Stop();

    void Set(std::uint32_t program, std::uint32_t version, std::uint32_t protocol, std::uint16_t port);
    void Unset(std::uint32_t program, std::uint32_t version);
    // SET from a client: false when the caller may not change mappings or the mapping exists.
    bool SetFromClient(bool mayChange, std::uint32_t program, std::uint32_t version, std::uint32_t protocol,
                       std::uint16_t port);
    // 0 when the program is not registered.
    std::uint16_t Lookup(std::uint32_t program, std::uint32_t version, std::uint32_t protocol) const;

private:
    using Key = std::tuple<std::uint32_t, std::uint32_t, std::uint32_t>;  // program, version, protocol

    std::unique_ptr<TcpService> tcp_;
    std::unique_ptr<WakePipe> udpStop_;
    int udp_ = -1;
    int udpBroadcast_ = -1;  // the subnet's broadcast address, when bound to a unicast one
    std::thread udpThread_;
    bool insecure_ = false;
    mutable std::mutex mutex_;
    std::map<Key, std::uint16_t> table_;
};

}  // namespace zpv::sim
