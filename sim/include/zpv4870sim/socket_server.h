// Serves the instrument over raw TCP (a "::SOCKET" resource) on 127.0.0.1: one thread per client,
// every client talking to the same instrument.
#pragma once

#include <cstdint>
#include <list>
#include <memory>
#include <mutex>
#include <thread>

#include "zpv4870sim/instrument.h"

namespace zpv::sim {

class WakePipe;

class SocketServer {
public:
    explicit SocketServer(Instrument& instrument);
    ~SocketServer();  // stops
    SocketServer(const SocketServer&) = delete;
    SocketServer& operator=(const SocketServer&) = delete;

    // Listens on 127.0.0.1:port; port 0 picks a free one (read it from Port()). Throws
    // std::system_error when the port cannot be bound.
    void Start(std::uint16_t port = 0);
    std::uint16_t Port() const { return port_; }
    // Closes the listener and every connection and waits for their threads; safe to call twice.
    void Stop();

private:
    struct Connection;
    void AcceptLoop();
    void Serve(Connection& connection);
    void ReapFinished();

    Instrument& instrument_;
    std::unique_ptr<WakePipe> stop_;
    int listener_ = -1;
    std::uint16_t port_ = 0;
    std::thread acceptThread_;
    std::mutex connectionsMutex_;
    std::list<std::unique_ptr<Connection>> connections_;
};

}  // namespace zpv::sim
