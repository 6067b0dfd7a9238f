#include "tcp_service.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/uio.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <stdexcept>
#include <system_error>

#include "wake_pipe.h"

namespace zpv::sim {

struct TcpService::Connection {
    int fd = -1;
    std::thread thread;
    std::atomic<bool> finished{false};
};

namespace {

[[noreturn]] void ThrowErrno(const char* what) { throw std::system_error(errno, std::generic_category(), what); }

}  // namespace

TcpService::TcpService(Handler handler) : handler_(std::move(handler)), stop_(std::make_unique<WakePipe>()) {}

TcpService::~TcpService() { Stop(); }

int TcpService::StopFd() const { return stop_->fd(); }

void TcpService::Start(std::uint16_t port, ListenAddress where) {
    if (acceptThread_.joinable()) throw std::logic_error("service already started");
    listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (listener_ < 0) ThrowErrno("socket");
    try {
        const int on = 1;
        ::setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(port);
        address.sin_addr.s_addr = htonl(where.ipv4);
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
    stopping_ = false;
    acceptThread_ = std::thread(&TcpService::AcceptLoop, this);
}

void TcpService::Stop() {
    if (!acceptThread_.joinable()) return;
    stopping_ = true;
    stop_->Raise();
    acceptThread_.join();
    std::lock_guard lock(connectionsMutex_);
    for (auto& connection : connections_) ::shutdown(connection->fd, SHUT_RDWR);
    for (auto& connection : connections_) {
        connection->thread.join();
        ::close(connection->fd);
    }
    connections_.clear();
    ::close(listener_);
    listener_ = -1;
    stop_->Close();
}

void TcpService::AcceptLoop() {
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
        if (connections_.size() >= kMaxConnections) {
            ::close(fd);
            continue;
        }
        auto& connection = connections_.emplace_back(std::make_unique<Connection>());
        connection->fd = fd;
        connection->thread = std::thread([this, c = connection.get()] {
            // Whatever goes wrong with one client ends that client only, never the process.
            try {
                handler_(c->fd);
            } catch (...) {
            }
            // The peer sees the end now; the descriptor is closed when the thread is reaped.
            ::shutdown(c->fd, SHUT_RDWR);
            c->finished = true;
        });
    }
}

void TcpService::ReapFinished() {
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

bool WaitReadable(int fd, int stopFd, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        pollfd fds[] = {{fd, POLLIN, 0}, {stopFd, POLLIN, 0}};
        const int ready = ::poll(fds, 2, static_cast<int>(std::max<long long>(left.count(), 0)));
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0 || fds[1].revents) return false;
        return true;
    }
}

bool ReceiveExactly(int fd, int stopFd, void* buffer, std::size_t length) {
    auto* at = static_cast<char*>(buffer);
    while (length > 0) {
        // Most of the time the bytes are there already; wait only when they are not.
        const ssize_t got = ::recv(fd, at, length, MSG_DONTWAIT);
        if (got > 0) {
            at += got;
            length -= static_cast<std::size_t>(got);
            continue;
        }
        if (got == 0 || (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)) return false;
        pollfd fds[] = {{fd, POLLIN, 0}, {stopFd, POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0 && errno != EINTR) return false;
        if (fds[1].revents) return false;
    }
    return true;
}

bool SendAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t sent = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR) continue;
        if (sent <= 0) return false;
        bytes.remove_prefix(static_cast<size_t>(sent));
    }
    return true;
}

bool SendAll(int fd, std::initializer_list<std::string_view> pieces) {
    iovec vectors[8];
    if (pieces.size() > std::size(vectors)) {
        for (std::string_view piece : pieces)
            if (!SendAll(fd, piece)) return false;
        return true;
    }
    std::size_t count = 0;
    for (std::string_view piece : pieces)
        if (!piece.empty()) vectors[count++] = {const_cast<char*>(piece.data()), piece.size()};
    for (std::size_t first = 0; first < count;) {
        msghdr message{};
        message.msg_iov = vectors + first;
        message.msg_iovlen = count - first;
        ssize_t sent = ::sendmsg(fd, &message, MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR) continue;
        if (sent <= 0) return false;
        for (; first < count && static_cast<std::size_t>(sent) >= vectors[first].iov_len; ++first)
            sent -= static_cast<ssize_t>(vectors[first].iov_len);
        if (first < count) {
            vectors[first].iov_base = static_cast<char*>(vectors[first].iov_base) + sent;
            vectors[first].iov_len -= static_cast<std::size_t>(sent);
        }
    }
    return true;
}

bool ReceiveAppending(int fd, int stopFd, std::size_t length, std::string* into) {
    constexpr std::size_t kPiece = 256 * 1024;
    while (length > 0) {
        const std::size_t old = into->size();
        const std::size_t piece = std::min(length, kPiece);
        into->resize(old + piece);
        if (!ReceiveExactly(fd, stopFd, into->data() + old, piece)) return false;
        length -= piece;
    }
    return true;
}

}  // namespace zpv::sim
