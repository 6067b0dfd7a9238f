#include "platform/visa/tcp_socket_session.h"

#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

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

// One connect attempt within the deadline: the connected descriptor, or -1 with errno set
// (ETIMEDOUT when the deadline passed).
int ConnectWithin(const addrinfo& address, const Deadline& deadline) {
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

ViStatus TcpSocketSession::Open(const ResourceDescriptor& descriptor, const OpenContext& context,
                                std::unique_ptr<MessageSession>* session) {
    std::string where = descriptor.host + ":" + std::to_string(descriptor.port);
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    AddressList addresses;
    // Name resolution blocks outside the open timeout; numeric hosts resolve without waiting.
    int resolved = ::getaddrinfo(descriptor.host.c_str(), std::to_string(descriptor.port).c_str(), &hints,
                                 &addresses.head);
    if (resolved != 0) {
        *context.detail = "Cannot resolve host '" + descriptor.host + "': " + ::gai_strerror(resolved) + ".";
        return VI_ERROR_RSRC_NFOUND;
    }

    Deadline deadline = Deadline::After(context.openTimeoutMs);
    int fd = -1, error = 0;
    for (const addrinfo* a = addresses.head; a && fd < 0; a = a->ai_next) {
        fd = ConnectWithin(*a, deadline);
        if (fd < 0) error = errno;
        if (error == ETIMEDOUT) break;
    }
    if (fd < 0) {
        if (error == ETIMEDOUT) {
            *context.detail = "No answer from " + where + " within " + std::to_string(context.openTimeoutMs) + " ms.";
            return VI_ERROR_TMO;
        }
        *context.detail = "Cannot connect to " + where + ": " + std::generic_category().message(error) + ".";
        return error == ENOMEM || error == ENOBUFS || error == EMFILE || error == ENFILE ? VI_ERROR_ALLOC
                                                                                       : VI_ERROR_RSRC_NFOUND;
    }

    // Commands are small and each waits for its answer; do not let Nagle hold them back.
    int on = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    *session = std::make_unique<TcpSocketSession>(descriptor, fd);
    return VI_SUCCESS;
}

TcpSocketSession::TcpSocketSession(ResourceDescriptor descriptor, int fd)
    : SessionBase(std::move(descriptor)), channel_(fd, StreamChannel::Kind::Socket) {}

ViStatus TcpSocketSession::ReadBytes(ViByte* buffer, std::size_t count, std::size_t* returned, const ReadStop& stop,
                                     const Deadline& deadline) {
    return channel_.Read(buffer, count, returned, StreamDelimiters{stop.termCharEnabled, stop.termChar}, deadline);
}

ViStatus TcpSocketSession::WriteBytes(const ViByte* data, std::size_t count, std::size_t* returned, bool,
                                      const Deadline& deadline) {
    return channel_.Write(data, count, returned, deadline);
}

ViStatus TcpSocketSession::ClearTransport(const Deadline&) {
    channel_.DiscardInput();
    return VI_SUCCESS;
}

ViStatus TcpSocketSession::CloseTransport() { return channel_.Close(); }

}  // namespace zpv::visa
