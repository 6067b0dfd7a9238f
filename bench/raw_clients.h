// Plain clients of our own, the floors the driver is measured against: a socket client that reads
// the block header and receives the data straight into one buffer it keeps from call to call (what
// a user's own socket code reaches), and a bare VXI-11 client (that protocol's floor: a write call
// and read calls per query). Blocking calls, no checks beyond the needed.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

namespace bench {

// A TCP connection to an IPv4 address (127.0.0.1 unless told), or -1.
inline int Connect(std::uint16_t port, const char* ipv4 = "127.0.0.1") {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    inet_pton(AF_INET, ipv4, &address.sin_addr);
    int one = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

class RawSocketClient {
public:
    explicit RawSocketClient(std::uint16_t port) : fd_(Connect(port)) {}
    ~RawSocketClient() {
        if (fd_ >= 0) close(fd_);
    }
    bool ok() const { return fd_ >= 0; }

    // The data of the block answering `query`, received into reply (grown once, then reused); its
    // size, or 0 on failure.
    std::size_t Query(const std::string& query, std::vector<char>& reply) {
        if (write(fd_, query.data(), query.size()) != static_cast<ssize_t>(query.size())) return 0;
        char head[12];
        if (!Receive(head, 2) || head[0] != '#' || head[1] < '1' || head[1] > '9') return 0;
        const std::size_t digits = static_cast<std::size_t>(head[1] - '0');
        if (!Receive(head + 2, digits)) return 0;
        std::size_t length = 0;
        for (std::size_t i = 0; i < digits; ++i) length = length * 10 + static_cast<std::size_t>(head[2 + i] - '0');
        if (reply.size() < length + 1) reply.resize(length + 1);
        return Receive(reply.data(), length + 1) ? length : 0;  // the data and its line feed
    }

private:
    bool Receive(char* into, std::size_t bytes) {
        return recv(fd_, into, bytes, MSG_WAITALL) == static_cast<ssize_t>(bytes);
    }
    int fd_;
};

class RawVxi11Client {
public:
    explicit RawVxi11Client(std::uint16_t port) : fd_(Connect(port)) {
        std::uint32_t head[4];  // error, lid, abortPort, maxRecvSize
        ok_ = fd_ >= 0 && Call(10, {0, 0, 0}, "inst0") && Receive(head, sizeof head) && Skip();
        link_ = ntohl(head[1]);
    }
    ~RawVxi11Client() {
        if (fd_ >= 0) close(fd_);
    }
    bool ok() const { return ok_; }

    // The whole reply to `query` into reply, which must have room for it; its size, or 0 on failure.
    std::size_t Query(const std::string& query, std::vector<char>& reply) {
        std::uint32_t written[2];
        if (!Call(11, {link_, 10000, 0, 8}, query) || !Receive(written, sizeof written) || !Skip()) return 0;
        std::size_t got = 0;
        for (;;) {
            std::uint32_t head[3];  // error, reason, data length
            if (!Call(12, {link_, static_cast<std::uint32_t>(reply.size() - got), 10000, 0, 0, 0}, {}) ||
                !Receive(head, sizeof head))
                return 0;
            const std::uint32_t length = ntohl(head[2]);
            if (head[0] != 0 || got + length > reply.size() || !Receive(reply.data() + got, length) || !Skip())
                return 0;
            got += length;
            if (ntohl(head[1]) & 4) return got;  // END
        }
    }

private:
    // Sends one call and receives its reply up to the procedure's results.
    bool Call(std::uint32_t procedure, std::initializer_list<std::uint32_t> words, const std::string& opaque) {
        std::vector<std::uint32_t> record{0, ++xid_, 0, 2, 0x0607AF, 1, procedure, 0, 0, 0, 0};
        record.insert(record.end(), words);
        const bool withOpaque = procedure != 12;
        if (withOpaque) record.push_back(static_cast<std::uint32_t>(opaque.size()));
        for (auto& word : record) word = htonl(word);
        std::string bytes(reinterpret_cast<const char*>(record.data()), record.size() * 4);
        bytes += opaque;
        bytes.append((4 - opaque.size() % 4) % 4, '\0');
        const std::uint32_t mark = htonl(0x80000000u | static_cast<std::uint32_t>(bytes.size() - 4));
        std::memcpy(bytes.data(), &mark, 4);
        if (send(fd_, bytes.data(), bytes.size(), 0) != static_cast<ssize_t>(bytes.size())) return false;
        std::uint32_t reply[7];  // mark, xid, REPLY, accepted, verifier, its length, SUCCESS
        if (!Receive(reply, sizeof reply)) return false;
        left_ = (ntohl(reply[0]) & 0x7FFFFFFF) - 24;
        return true;
    }
    bool Receive(void* into, std::size_t bytes) {
        left_ -= std::min(left_, bytes);
        return bytes == 0 || recv(fd_, into, bytes, MSG_WAITALL) == static_cast<ssize_t>(bytes);
    }
    // The rest of the record: padding and fields the floor does not need.
    bool Skip() {
        char scratch[64];
        while (left_ > 0)
            if (!Receive(scratch, std::min(left_, sizeof scratch))) return false;
        return true;
    }

    int fd_;
    bool ok_ = false;
    std::uint32_t link_ = 0;
    std::uint32_t xid_ = 0;
    std::size_t left_ = 0;
};

}  // namespace bench
