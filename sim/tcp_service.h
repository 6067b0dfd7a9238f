// A listener (on 127.0.0.1 unless told otherwise) that runs a handler in a thread of its own for every connection, the
// frame the LAN protocol servers share. At most kMaxConnections are served at once: one more is
// closed as soon as it is accepted, so no client can make the simulator hold threads and buffers
// without end. Stop raises the stop signal, shuts every connection down so blocked reads and
// writes return, and joins the threads.
#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

#include "zpv4870sim/answer_limits.h"
#include "zpv4870sim/listen_address.h"

namespace zpv::sim {

class WakePipe;

class TcpService {
public:
    // Runs until the peer leaves or the service stops; the socket is closed after it returns.
    using Handler = std::function<void(int fd)>;
    static constexpr std::size_t kMaxConnections = kMaxConnectionsPerService;

    explicit TcpService(Handler handler);
    ~TcpService();
    TcpService(const TcpService&) = delete;
    TcpService& operator=(const TcpService&) = delete;

    // Port 0 picks a free one. Throws std::system_error when the port cannot be bound.
    void Start(std::uint16_t port, ListenAddress where = {});
    std::uint16_t Port() const { return port_; }
    void Stop();
    bool Stopping() const { return stopping_; }
    // Readable once Stop has begun; handlers poll it next to their socket.
    int StopFd() const;

private:
    struct Connection;
    void AcceptLoop();
    void ReapFinished();

    Handler handler_;
    std::unique_ptr<WakePipe> stop_;
    std::atomic<bool> stopping_{false};
    int listener_ = -1;
    std::uint16_t port_ = 0;
    std::thread acceptThread_;
    std::mutex connectionsMutex_;
    std::list<std::unique_ptr<Connection>> connections_;
};

// Socket helpers for the handlers. Both give up when the peer leaves or stopFd becomes readable.
// Fills all of length bytes; false when the peer closed or the service stops first.
bool ReceiveExactly(int fd, int stopFd, void* buffer, std::size_t length);
// Appends length bytes to `into`, which grows with the bytes that come rather than with what a
// peer announced it would send.
bool ReceiveAppending(int fd, int stopFd, std::size_t length, std::string* into);
bool SendAll(int fd, std::string_view bytes);
// The pieces one after another, in as few system calls as the socket allows.
bool SendAll(int fd, std::initializer_list<std::string_view> pieces);
// Waits up to timeout for fd to become readable; false on timeout or stop.
bool WaitReadable(int fd, int stopFd, std::chrono::milliseconds timeout);

}  // namespace zpv::sim
