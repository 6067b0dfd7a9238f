#include "zpv4870sim/rpcbind_registration.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <system_error>

#include "rpc_connection.h"
#include "tcp_service.h"

namespace zpv::sim {

namespace {

constexpr std::uint32_t kPortmapperProgram = 100000;
constexpr std::uint32_t kPortmapperVersion = 2;
constexpr std::uint32_t kSet = 1;
constexpr std::uint32_t kUnset = 2;
constexpr std::uint32_t kTcp = 6;
constexpr auto kBudget = std::chrono::seconds(3);

class Socket {
public:
    Socket() : fd_(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {}
    ~Socket() {
        if (fd_ >= 0) ::close(fd_);
    }
    int fd() const { return fd_; }

private:
    int fd_;
};

// A reserved source port (below 1024) where the process may bind one: portmappers take SET and
// UNSET only from those. Without the privilege the call goes out from any port (and is refused).
void BindReservedPort(int fd) {
    for (std::uint16_t port = 1023; port >= 600; --port) {
        sockaddr_in local{};
        local.sin_family = AF_INET;
        local.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        local.sin_port = htons(port);
        if (::bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local) == 0) return;
        if (errno == EACCES || errno == EPERM) return;
    }
}

// One call to the portmapper on loopback; its boolean result, or false with why.
bool CallPortmapper(std::uint16_t portmapperPort, std::uint32_t procedure, const std::string& arguments,
                    std::string* why) {
    const auto deadline = std::chrono::steady_clock::now() + kBudget;
    Socket socket;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(portmapperPort);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    timeval limit{static_cast<time_t>(kBudget.count()), 0};
    ::setsockopt(socket.fd(), SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
    if (procedure == kSet || procedure == kUnset) BindReservedPort(socket.fd());
    if (socket.fd() < 0 || ::connect(socket.fd(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        *why = "no portmapper on 127.0.0.1:" + std::to_string(portmapperPort) + ": " +
               std::generic_category().message(errno);
        return false;
    }
    const std::uint32_t xid = static_cast<std::uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    if (!SendRecord(socket.fd(), BuildRpcCall(xid, kPortmapperProgram, kPortmapperVersion, procedure, arguments))) {
        *why = "the portmapper closed the connection";
        return false;
    }
    // The answer is a few dozen bytes; collect it within the budget.
    std::string received;
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0 || !WaitReadable(socket.fd(), -1, left)) {
            *why = "the portmapper did not answer";
            return false;
        }
        char chunk[512];
        const ssize_t got = ::recv(socket.fd(), chunk, sizeof chunk, 0);
        if (got <= 0) {
            *why = "the portmapper closed the connection";
            return false;
        }
        received.append(chunk, static_cast<size_t>(got));
        if (received.size() >= 4) {
            XdrIn mark(received);
            const std::size_t length = mark.Uint() & 0x7FFFFFFFu;
            if (received.size() >= 4 + length) {
                XdrIn reply(std::string_view(received).substr(4, length));
                const bool matches = reply.Uint() == xid && reply.Uint() == 1 && reply.Uint() == 0;
                reply.Uint();
                reply.Opaque(400);
                const bool accepted = reply.Uint() == 0;
                const bool result = reply.Uint() != 0;
                if (!reply.ok() || !matches || !accepted) {
                    *why = "the portmapper did not accept the call";
                    return false;
                }
                if (!result) *why = "the portmapper refused (is the program registered by another process?)";
                return result;
            }
        }
    }
}

std::string Mapping(std::uint32_t program, std::uint32_t version, std::uint16_t port) {
    std::string arguments;
    XdrOut out(arguments);
    out.Uint(program);
    out.Uint(version);
    out.Uint(kTcp);
    out.Uint(port);
    return arguments;
}

}  // namespace

bool RegisterRpcProgram(std::uint16_t portmapperPort, std::uint32_t program, std::uint32_t version,
                        std::uint16_t port, std::string* why) {
    // rpcbind never replaces a mapping: a stale one (an earlier run that did not unregister) goes first.
    std::string ignored;
    CallPortmapper(portmapperPort, kUnset, Mapping(program, version, 0), &ignored);
    return CallPortmapper(portmapperPort, kSet, Mapping(program, version, port), why);
}

bool UnregisterRpcProgram(std::uint16_t portmapperPort, std::uint32_t program, std::uint32_t version,
                          std::string* why) {
    return CallPortmapper(portmapperPort, kUnset, Mapping(program, version, 0), why);
}

}  // namespace zpv::sim
