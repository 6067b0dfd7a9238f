// A plain POSIX client for the simulator's transports, with timeouts so a broken server fails a test
// instead of hanging it.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zpv::sim::testing {

class LineClient {
public:
    explicit LineClient(int fd) : fd_(fd) {}
    ~LineClient() {
        if (fd_ >= 0) ::close(fd_);
    }
    LineClient(const LineClient&) = delete;
    LineClient& operator=(const LineClient&) = delete;

    static int ConnectTcp(std::uint16_t port) {
        const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(port);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
            ::close(fd);
            return -1;
        }
        return fd;
    }

    bool connected() const { return fd_ >= 0; }

    void Send(std::string_view text) {
        while (!text.empty()) {
            const ssize_t n = ::write(fd_, text.data(), text.size());
            if (n <= 0) return;
            text.remove_prefix(static_cast<size_t>(n));
        }
    }

    // Reads up to and including a line feed; nothing on timeout or end of stream.
    std::optional<std::string> ReadLine(std::chrono::milliseconds timeout = std::chrono::seconds(5)) {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        for (;;) {
            if (const size_t end = buffer_.find('\n'); end != std::string::npos) {
                std::string line = buffer_.substr(0, end + 1);
                buffer_.erase(0, end + 1);
                return line;
            }
            if (!Fill(deadline)) return std::nullopt;
        }
    }

    std::optional<std::string> Query(std::string_view command, std::chrono::milliseconds timeout = std::chrono::seconds(5)) {
        Send(std::string(command) + "\n");
        return ReadLine(timeout);
    }

    // True when the peer closes the stream before the timeout (data still unread is dropped).
    bool WaitClosed(std::chrono::milliseconds timeout = std::chrono::seconds(5)) {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (Fill(deadline)) buffer_.clear();
        return closed_;
    }

private:
    bool Fill(std::chrono::steady_clock::time_point deadline) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        pollfd pfd{fd_, POLLIN, 0};
        if (left.count() <= 0 || ::poll(&pfd, 1, static_cast<int>(left.count())) <= 0) return false;
        char chunk[65536];
        const ssize_t n = ::read(fd_, chunk, sizeof chunk);
        if (n <= 0) {
            closed_ = true;
            return false;
        }
        buffer_.append(chunk, static_cast<size_t>(n));
        return true;
    }

    int fd_;
    std::string buffer_;
    bool closed_ = false;
};

}  // namespace zpv::sim::testing
