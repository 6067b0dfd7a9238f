#include "platform/visa/stream_channel.h"

#include <fcntl.h>
#include <linux/sockios.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace zpv::visa {

namespace {

// Waits for the descriptor within the deadline: VI_SUCCESS when something happened (the next
// transfer says what), VI_ERROR_TMO when nothing did. hangup reports a hang-up or error condition.
ViStatus WaitFor(int fd, short events, const Deadline& deadline, bool* hangup) {
    for (;;) {
        pollfd p{fd, events, 0};
        int ready = ::poll(&p, 1, deadline.PollMs());
        if (ready > 0) {
            if (p.revents & POLLNVAL) return VI_ERROR_IO;
            *hangup = (p.revents & (POLLHUP | POLLERR)) != 0;
            return VI_SUCCESS;
        }
        if (ready == 0) return VI_ERROR_TMO;
        if (errno != EINTR) return VI_ERROR_IO;
    }
}

constexpr std::size_t kNotFound = static_cast<std::size_t>(-1);

ViStatus ErrnoStatus(int error) {
    switch (error) {
    case EPIPE:
    case ECONNRESET:
    case ECONNABORTED:
    case ENOTCONN:
    case ETIMEDOUT:
    case EHOSTUNREACH:
    case ENETUNREACH:
    case EIO:  // a tty whose other side hung up
    case ENXIO:
    case ENODEV:
        return VI_ERROR_CONN_LOST;
    case ENOMEM:
    case ENOBUFS:
        return VI_ERROR_ALLOC;
    default:
        return VI_ERROR_IO;
    }
}

}  // namespace

// Every transfer on a socket says whether it may wait (MSG_DONTWAIT, or MSG_WAITALL within a
// receive timeout), so the socket itself blocks: a large counted read then waits in the kernel
// until all its bytes are there instead of waking for every few segments.
StreamChannel::StreamChannel(int fd, Kind kind) : fd_(fd), kind_(kind), pending_(new ViByte[kCapacity]) {
    if (kind_ == Kind::Socket && fd_ >= 0) {
        const int flags = ::fcntl(fd_, F_GETFL);
        if (flags >= 0) ::fcntl(fd_, F_SETFL, flags & ~O_NONBLOCK);
    }
}

StreamChannel::~StreamChannel() { Close(); }

ViStatus StreamChannel::SetReceiveTimeout(int ms) {
    if (ms == receiveTimeoutMs_) return VI_SUCCESS;
    const timeval wait{ms / 1000, (ms % 1000) * 1000};
    if (::setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait) != 0) return ErrnoStatus(errno);
    receiveTimeoutMs_ = ms;
    return VI_SUCCESS;
}

// Receives at most count bytes into `into`, waiting within the deadline when nothing is there. On
// a socket the answer to a query is never there yet when the read starts, so the wait happens in
// recv itself (one system call when the answer comes) for as long as a whole step of the time
// left allows; what is left below a step is waited for with poll, so the deadline is never passed.
ViStatus StreamChannel::Receive(ViByte* into, std::size_t count, std::size_t* received, const Deadline& deadline) {
    *received = 0;
    if (kind_ != Kind::Socket) return ReceiveSome(into, count, received, deadline);
    for (;;) {
        const int left = deadline.PollMs();
        if (left >= 0 && left < kReceiveTimeoutStepMs) return ReceiveSome(into, count, received, deadline);
        if (ViStatus s = SetReceiveTimeout(left < 0 ? 0 : left / kReceiveTimeoutStepMs * kReceiveTimeoutStepMs);
            Failed(s))
            return s;
        const ssize_t n = ::recv(fd_, into, count, 0);
        if (n > 0) {
            *received = static_cast<std::size_t>(n);
            return VI_SUCCESS;
        }
        if (n == 0) return VI_ERROR_CONN_LOST;
        if (errno != EINTR && errno != EAGAIN && errno != EWOULDBLOCK) return ErrnoStatus(errno);
    }
}

ViStatus StreamChannel::ReceiveSome(ViByte* into, std::size_t count, std::size_t* received, const Deadline& deadline) {
    bool hangup = false;
    for (bool first = true;; first = false) {
        ssize_t n = kind_ == Kind::Socket ? ::recv(fd_, into, count, MSG_DONTWAIT) : ::read(fd_, into, count);
        if (n > 0) {
            *received = static_cast<std::size_t>(n);
            return VI_SUCCESS;
        }
        // A tty may read 0 bytes without having hung up; poll() tells which.
        if (n == 0 && (kind_ == Kind::Socket || hangup)) return VI_ERROR_CONN_LOST;
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return ErrnoStatus(errno);
        // Some devices report a hang-up yet keep saying "try again"; do not spin on them.
        if (hangup) return VI_ERROR_CONN_LOST;
        if (!first && deadline.Expired()) return VI_ERROR_TMO;
        if (ViStatus s = WaitFor(fd_, POLLIN, deadline, &hangup); Failed(s)) return s;
    }
}

ViStatus StreamChannel::ReceiveAll(ViByte* into, std::size_t count, std::size_t* received, const Deadline& deadline) {
    *received = 0;
    while (*received < count) {
        const int left = deadline.PollMs();
        // Time is up: only what is there already.
        const int flags = left == 0 ? MSG_DONTWAIT : MSG_WAITALL;
        if (left != 0)
            if (ViStatus s = SetReceiveTimeout(left < 0 ? 0 : left); Failed(s)) return s;
        const ssize_t n = ::recv(fd_, into + *received, count - *received, flags);
        if (n > 0) {
            *received += static_cast<std::size_t>(n);
            continue;
        }
        if (n == 0) return VI_ERROR_CONN_LOST;
        if (errno == EINTR) continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK) return ErrnoStatus(errno);
        if (left == 0) return VI_ERROR_TMO;
    }
    return VI_SUCCESS;
}

ViStatus StreamChannel::Fill(std::size_t wanted, const Deadline& deadline) {
    head_ = tail_ = 0;
    // A small read takes in a little more (the rest of a short answer, the payload behind a
    // header) but not the bulk of a long one, which the next large read receives directly.
    return Receive(pending_.get(), std::clamp(wanted, kDirectReadThreshold, kCapacity), &tail_, deadline);
}

// A large read with nothing held goes straight into the caller's buffer (one copy, by the kernel).
// Bytes past a termination character that arrived with it are kept for the next read.
ViStatus StreamChannel::ReadDirect(ViByte* buffer, std::size_t count, std::size_t* returned,
                                   const StreamDelimiters& delimiters, const Deadline& deadline) {
    std::size_t received = 0;
    const ViStatus status = Receive(buffer, count, &received, deadline);
    *returned = received;
    if (Failed(status)) return status;
    const void* hit = delimiters.termCharEnabled ? std::memchr(buffer, delimiters.termChar, received) : nullptr;
    if (!hit) return VI_SUCCESS_MAX_CNT;  // no delimiter: the message goes on
    const std::size_t take = static_cast<std::size_t>(static_cast<const ViByte*>(hit) - buffer) + 1;
    // What came behind the terminator is kept; rarely is there any, and seldom more than fits.
    if (received - take > pendingCapacity_) {
        pending_.reset(new ViByte[received - take]);
        pendingCapacity_ = received - take;
    }
    std::memcpy(pending_.get(), buffer + take, received - take);
    head_ = 0;
    tail_ = received - take;
    *returned = take;
    return delimiters.termCharIsEnd ? VI_SUCCESS : VI_SUCCESS_TERM_CHAR;
}

ViStatus StreamChannel::Read(ViByte* buffer, std::size_t count, std::size_t* returned,
                             const StreamDelimiters& delimiters, const Deadline& deadline) {
    std::size_t done = 0;
    ViStatus status = VI_SUCCESS_MAX_CNT;
    for (bool first = true;; first = false) {
        while (head_ < tail_ && done < count) {
            const ViByte* from = pending_.get() + head_;
            std::size_t avail = std::min(tail_ - head_, count - done);
            std::size_t endAt = kNotFound, termAt = kNotFound;
            if (delimiters.endBits)
                for (std::size_t i = 0; i < avail && endAt == kNotFound; ++i)
                    if (from[i] & delimiters.endBits) endAt = i;
            if (delimiters.termCharEnabled) {
                std::size_t span = endAt == kNotFound ? avail : endAt + 1;
                if (const void* hit = std::memchr(from, delimiters.termChar, span))
                    termAt = static_cast<std::size_t>(static_cast<const ViByte*>(hit) - from);
            }
            std::size_t take = avail;
            bool stopped = true;
            if (endAt != kNotFound && (termAt == kNotFound || endAt <= termAt)) {
                take = endAt + 1;
                status = VI_SUCCESS;
            } else if (termAt != kNotFound) {
                take = termAt + 1;
                status = delimiters.termCharIsEnd ? VI_SUCCESS : VI_SUCCESS_TERM_CHAR;
            } else {
                stopped = false;
            }
            std::memcpy(buffer + done, from, take);
            done += take;
            head_ += take;
            if (stopped) {
                *returned = done;
                return status;
            }
        }
        if (done == count) break;
        // A peer that keeps trickling bytes must not stretch the read past its timeout.
        if (!first && deadline.Expired()) {
            status = VI_ERROR_TMO;
            break;
        }
        if (kind_ == Kind::Socket && count - done >= kWaitAllThreshold && !delimiters.endBits &&
            !delimiters.termCharEnabled) {
            std::size_t got = 0;
            status = ReceiveAll(buffer + done, count - done, &got, deadline);
            done += got;
            if (Failed(status)) break;
            status = VI_SUCCESS_MAX_CNT;
            continue;
        }
        if (count - done >= kDirectReadThreshold && !delimiters.endBits) {
            std::size_t got = 0;
            status = ReadDirect(buffer + done, count - done, &got, delimiters, deadline);
            done += got;
            if (status != VI_SUCCESS_MAX_CNT) {  // stopped at the terminator, or failed
                *returned = done;
                return status;
            }
            continue;
        }
        if (status = Fill(count - done, deadline); Failed(status)) break;
        status = VI_SUCCESS_MAX_CNT;
    }
    *returned = done;
    return status;
}

ViStatus StreamChannel::Write(const ViByte* data, std::size_t count, std::size_t* returned,
                              const Deadline& deadline, bool more) {
    std::size_t done = 0;
    ViStatus status = VI_SUCCESS;
    bool hangup = false;
    while (done < count) {
        ssize_t n = kind_ == Kind::Socket
                        ? ::send(fd_, data + done, count - done, MSG_NOSIGNAL | MSG_DONTWAIT | (more ? MSG_MORE : 0))
                                          : ::write(fd_, data + done, count - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK)) {
            status = n == 0 ? VI_ERROR_IO : ErrnoStatus(errno);
            break;
        }
        if (hangup) {
            status = VI_ERROR_CONN_LOST;
            break;
        }
        if (deadline.Expired()) {
            status = VI_ERROR_TMO;
            break;
        }
        if (status = WaitFor(fd_, POLLOUT, deadline, &hangup); Failed(status)) break;
    }
    *returned = done;
    return status;
}

ViStatus StreamChannel::WaitUntilDelivered(const Deadline& deadline) {
    if (kind_ != Kind::Socket || fd_ < 0) return VI_SUCCESS;
    for (;;) {
        int unacknowledged = 0;
        if (::ioctl(fd_, SIOCOUTQ, &unacknowledged) != 0 || unacknowledged == 0) return VI_SUCCESS;
        if (deadline.Expired()) return VI_ERROR_TMO;
        // No event tells of an acknowledgement; a retransmission takes hundreds of milliseconds.
        const int left = deadline.PollMs();
        ::poll(nullptr, 0, left < 0 ? 5 : std::min(left, 5));
    }
}

void StreamChannel::DiscardInput() {
    head_ = tail_ = 0;
    if (fd_ < 0) return;
    if (kind_ == Kind::Tty) {
        ::tcflush(fd_, TCIFLUSH);
        return;
    }
    // Bounded, so a peer that floods us cannot keep the clear going.
    for (int round = 0; round < 256; ++round)
        if (::recv(fd_, pending_.get(), kCapacity, MSG_DONTWAIT) <= 0) break;
}

void StreamChannel::DiscardUntilQuiet(int quietMs, int settleMs, ViByte termChar, const Deadline& deadline) {
    DiscardInput();
    if (fd_ < 0) return;
    int wait = quietMs;
    for (;;) {
        const int left = deadline.PollMs();
        const int timeout = left < 0 ? wait : std::min(wait, left);
        pollfd p{fd_, POLLIN, 0};
        const int ready = ::poll(&p, 1, timeout);
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0 || !(p.revents & POLLIN)) return;  // quiet, or the line is gone
        const ssize_t got = kind_ == Kind::Socket ? ::recv(fd_, pending_.get(), kCapacity, MSG_DONTWAIT)
                                                  : ::read(fd_, pending_.get(), kCapacity);
        if (got <= 0) return;
        if (std::memchr(pending_.get(), termChar, static_cast<std::size_t>(got))) wait = settleMs;
        if (deadline.Expired()) return;
    }
}

ViStatus StreamChannel::Close() {
    if (fd_ < 0) return VI_SUCCESS;
    int fd = fd_;
    fd_ = -1;
    head_ = tail_ = 0;
    return ::close(fd) == 0 || errno == EINTR ? VI_SUCCESS : VI_ERROR_CLOSING_FAILED;
}

}  // namespace zpv::visa
