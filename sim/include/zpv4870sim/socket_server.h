// Serves the instrument over raw TCP (a "::SOCKET" resource) on 127.0.0.1: one thread per client,
// every client talking to the same instrument.
#pragma once

#include <cstdint>
#include <memory>

#include "zpv4870sim/listen_address.h"
#include "zpv4870sim/instrument.h"

namespace zpv::sim {

class TcpService;

class SocketServer {
public:
    explicit SocketServer(Instrument& instrument);
    ~SocketServer();  // stops
    SocketServer(const SocketServer&) = delete;
    SocketServer& operator=(const SocketServer&) = delete;

    // Listens on 127.0.0.1:port; port 0 picks a free one (read it from Port()). Throws
    // std::system_error when the port cannot be bound.
    void Start(std::uint16_t port = 0, ListenAddress where = {});
    std::uint16_t Port() const;
    // Closes the listener and every connection and waits for their threads; safe to call twice.
    void Stop();

private:
    void Serve(int fd);

    Instrument& instrument_;
    std::unique_ptr<TcpService> service_;
};

}  // namespace zpv::sim
