// A scripted instrument on 127.0.0.1 for the transport tests: it listens on a free port, accepts
// one connection and sends, receives or hangs up when the test says so.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

namespace zpv::visa::testing {

// A socket bound to a free loopback port; listening only when backlog >= 0.
inline int BoundLoopbackSocket(int backlog, unsigned short* port) {
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        (backlog >= 0 && ::listen(fd, backlog) != 0) ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        ADD_FAILURE() << "cannot set up a loopback socket";
    *port = ntohs(address.sin_port);
    return fd;
}

inline std::string SocketDescriptor(unsigned short port, std::string_view host = "127.0.0.1") {
    return "TCPIP0::" + std::string(host) + "::" + std::to_string(port) + "::SOCKET";
}

class LoopbackPeer {
public:
    LoopbackPeer() : listener_(BoundLoopbackSocket(4, &port_)) {}
    ~LoopbackPeer() {
        Hangup();
        ::close(listener_);
    }

    unsigned short Port() const { return port_; }
    std::string Descriptor() const { return SocketDescriptor(port_); }

    // The connection a session made; the kernel has completed it before accept is called.
    void Accept() {
        pollfd p{listener_, POLLIN, 0};
        ASSERT_EQ(::poll(&p, 1, 2000), 1) << "no connection arrived";
        peer_ = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        ASSERT_GE(peer_, 0);
    }

    void Send(std::string_view data) {
        ASSERT_EQ(::send(peer_, data.data(), data.size(), MSG_NOSIGNAL), static_cast<ssize_t>(data.size()));
    }

    // Up to count bytes, or fewer when nothing more arrives within timeoutMs.
    std::string Receive(std::size_t count, int timeoutMs = 2000) {
        std::string data;
        char chunk[65536];
        while (data.size() < count) {
            pollfd p{peer_, POLLIN, 0};
            if (::poll(&p, 1, timeoutMs) != 1) break;
            ssize_t n = ::recv(peer_, chunk, std::min(sizeof chunk, count - data.size()), 0);
            if (n <= 0) break;
            data.append(chunk, static_cast<std::size_t>(n));
        }
        return data;
    }

    int Fd() const { return peer_; }

    void Hangup() {
        if (peer_ >= 0) ::close(peer_);
        peer_ = -1;
    }

private:
    unsigned short port_ = 0;
    int listener_;
    int peer_ = -1;
};

}  // namespace zpv::visa::testing
