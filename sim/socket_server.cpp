#include "zpv4870sim/socket_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <stdexcept>
#include <system_error>

#include "wake_pipe.h"
#include "zpv4870sim/client_session.h"

namespace zpv::sim {

// The socket stays open until its thread is joined, so Stop can shut it down without racing a close.
struct SocketServer::Connection {
    int fd;
    std::thread thread;
    std::atomic<bool> finished{false};
};

namespace {

[[noreturn]] void ThrowErrno(const char* what) { throw std::system_error(errno, std::generic_category(), what); }

bool SendAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t sent = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR) continue;
        if (sent <= 0) return false;
        bytes.remove_prefix(static_cast<size_t>(sent));
    }
    return true;
}

}  // namespace

SocketServer::SocketServer(Instrument& instrument) : instrument_(instrument), stop_(std::make_unique<WakePipe>()) {}

SocketServer::~SocketServer() { Stop(); }

void SocketServer::Start(std::uint16_t port) {
    if (acceptThread_.joinable()) throw std::logic_error("socket server already started");
    listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (listener_ < 0) ThrowErrno("socket");
    try {
        const int on = 1;
        ::setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(port);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) ThrowErrno("bind");
        if (::listen(listener_, SOMAXCONN) != 0) ThrowErrno("listen");
        socklen_t length = sizeof address;
        if (::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) ThrowErrno("getsockname");
        port_ = ntohs(address.sin_port);
        stop_->Open();
    } catch (...) {
        ::close(listener_);
        listener_ = -1;
        throw;
    }
    acceptThread_ = std::thread(&SocketServer::AcceptLoop, this);
}

void SocketServer::Stop() {
    if (!acceptThread_.joinable()) return;
    stop_->Raise();
    acceptThread_.join();
    std::lock_guard lock(connectionsMutex_);
    for (auto& connection : connections_) ::shutdown(connection->fd, SHUT_RDWR);  // unblocks a send
    for (auto& connection : connections_) {
        connection->thread.join();
        ::close(connection->fd);
    }
    connections_.clear();
    ::close(listener_);
    listener_ = -1;
    stop_->Close();
}

void SocketServer::AcceptLoop() {
    for (;;) {
        pollfd fds[] = {{listener_, POLLIN, 0}, {stop_->fd(), POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0) continue;
        if (fds[1].revents) return;
        const int fd = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) {
            if (errno == EMFILE || errno == ENFILE) stop_->Sleep(std::chrono::milliseconds(50));
            continue;
        }
        const int on = 1;
        ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
        ReapFinished();
        std::lock_guard lock(connectionsMutex_);
        auto& connection = connections_.emplace_back(std::make_unique<Connection>());
        connection->fd = fd;
        connection->thread = std::thread(&SocketServer::Serve, this, std::ref(*connection));
    }
}

void SocketServer::ReapFinished() {
    std::lock_guard lock(connectionsMutex_);
    for (auto it = connections_.begin(); it != connections_.end();) {
        if (!(*it)->finished) {
            ++it;
            continue;
        }
        (*it)->thread.join();
        ::close((*it)->fd);
        it = connections_.erase(it);
    }
}

void SocketServer::Serve(Connection& connection) {
    ClientSession session(instrument_);
    const auto deliver = [&](const ClientSession::Reply& reply) {
        if (reply.delay.count() > 0 && !stop_->Sleep(reply.delay)) return false;
        return SendAll(connection.fd, reply.bytes);
    };
    char buffer[64 * 1024];
    for (;;) {
        pollfd fds[] = {{connection.fd, POLLIN, 0}, {stop_->fd(), POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0) continue;
        if (fds[1].revents) break;
        const ssize_t received = ::recv(connection.fd, buffer, sizeof buffer, 0);
        if (received < 0 && errno == EINTR) continue;
        if (received <= 0) break;
        if (!session.OnBytes(std::string_view(buffer, static_cast<size_t>(received)), deliver)) break;
    }
    // The peer sees the connection end now; the descriptor is closed when the thread is reaped.
    ::shutdown(connection.fd, SHUT_RDWR);
    connection.finished = true;
}

}  // namespace zpv::sim
