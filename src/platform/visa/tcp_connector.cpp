#include "platform/visa/tcp_connector.h"

#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <system_error>

namespace zpv::visa {

namespace {

struct AddressList {
    addrinfo* head = nullptr;
    ~AddressList() {
        if (head) ::freeaddrinfo(head);
    }
};

// One attempt; -1 with errno set (ETIMEDOUT when the deadline passed) on failure.
int ConnectOne(const addrinfo& address, const Deadline& deadline) {
    int fd = ::socket(address.ai_family, address.ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, address.ai_protocol);
    if (fd < 0) return -1;
    int error = 0;
    if (::connect(fd, address.ai_addr, address.ai_addrlen) != 0) {
        error = errno;
        while (error == EINPROGRESS || error == EINTR) {
            pollfd p{fd, POLLOUT, 0};
            int ready = ::poll(&p, 1, deadline.PollMs());
            if (ready == 0) {
                error = ETIMEDOUT;
            } else if (ready < 0) {
                error = errno;
            } else {
                socklen_t length = sizeof error;
                if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0) error = errno;
            }
        }
    }
    if (error != 0) {
        ::close(fd);
        errno = error;
        return -1;
    }
    return fd;
}

}  // namespace

std::string HostPort(const std::string& host, ViUInt16 port) {
    bool v6 = host.find(':') != std::string::npos;
    return (v6 ? "[" + host + "]" : host) + ":" + std::to_string(port);
}

ViStatus ConnectTcp(const std::string& host, ViUInt16 port, const Deadline& deadline, int* fd, std::string* detail) {
    *fd = -1;
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    AddressList addresses;
    // Name resolution blocks outside the deadline; numeric hosts resolve without waiting.
    int resolved = ::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &addresses.head);
    if (resolved != 0) {
        *detail = std::string("cannot resolve the host: ") + ::gai_strerror(resolved);
        return VI_ERROR_RSRC_NFOUND;
    }
    int error = 0;
    for (const addrinfo* a = addresses.head; a && *fd < 0; a = a->ai_next) {
        *fd = ConnectOne(*a, deadline);
        if (*fd < 0) error = errno;
        if (error == ETIMEDOUT) break;
    }
    if (*fd >= 0) {
        int on = 1;
        ::setsockopt(*fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
        // An idle session notices a dead peer (an instrument switched off, a cable pulled) by
        // itself, so its next call fails at once instead of after a timeout.
        ::setsockopt(*fd, SOL_SOCKET, SO_KEEPALIVE, &on, sizeof on);
        ::setsockopt(*fd, IPPROTO_TCP, TCP_KEEPIDLE, &kKeepaliveIdleSeconds, sizeof kKeepaliveIdleSeconds);
        ::setsockopt(*fd, IPPROTO_TCP, TCP_KEEPINTVL, &kKeepaliveIntervalSeconds, sizeof kKeepaliveIntervalSeconds);
        ::setsockopt(*fd, IPPROTO_TCP, TCP_KEEPCNT, &kKeepaliveProbes, sizeof kKeepaliveProbes);
        return VI_SUCCESS;
    }
    if (error == ETIMEDOUT) {
        *detail = "no answer in time";
        return VI_ERROR_TMO;
    }
    *detail = std::generic_category().message(error);
    if (!detail->empty()) (*detail)[0] = static_cast<char>(std::tolower(static_cast<unsigned char>((*detail)[0])));
    return error == ENOMEM || error == ENOBUFS || error == EMFILE || error == ENFILE ? VI_ERROR_ALLOC
                                                                                   : VI_ERROR_RSRC_NFOUND;
}

}  // namespace zpv::visa
