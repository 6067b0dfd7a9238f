#include "zpv4870sim/socket_server.h"

#include <poll.h>
#include <sys/socket.h>

#include <cerrno>
#include <string_view>

#include "tcp_service.h"
#include "zpv4870sim/client_session.h"

namespace zpv::sim {

namespace {

// Waits out a delay unless the service stops first; false when it stopped.
bool WaitUnlessStopped(int stopFd, std::chrono::milliseconds delay) {
    pollfd p{stopFd, POLLIN, 0};
    return ::poll(&p, 1, static_cast<int>(delay.count())) == 0;
}

}  // namespace

SocketServer::SocketServer(Instrument& instrument)
    : instrument_(instrument), service_(std::make_unique<TcpService>([this](int fd) { Serve(fd); })) {}

SocketServer::~SocketServer() { Stop(); }

void SocketServer::Start(std::uint16_t port, ListenAddress where) { service_->Start(port, where); }

std::uint16_t SocketServer::Port() const { return service_->Port(); }

void SocketServer::Stop() { service_->Stop(); }

void SocketServer::Serve(int fd) {
    ClientSession session(instrument_);
    const int stopFd = service_->StopFd();
    const auto deliver = [&](const ClientSession::Reply& reply) {
        if (reply.delay.count() > 0 && !WaitUnlessStopped(stopFd, reply.delay)) return false;
        return SendAll(fd, reply.bytes);
    };
    char buffer[64 * 1024];
    for (;;) {
        pollfd fds[] = {{fd, POLLIN, 0}, {stopFd, POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0) continue;
        if (fds[1].revents) break;
        const ssize_t received = ::recv(fd, buffer, sizeof buffer, 0);
        if (received < 0 && errno == EINTR) continue;
        if (received <= 0) break;
        if (!session.OnBytes(std::string_view(buffer, static_cast<size_t>(received)), deliver)) break;
    }
}

}  // namespace zpv::sim
