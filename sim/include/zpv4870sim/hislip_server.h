// Serves the instrument over HiSLIP on 127.0.0.1: each client opens a synchronous channel
// (Initialize, then Data/DataEnd messages and their answers) and an asynchronous one
// (AsyncInitialize, then locks, status queries, device clear, the maximum message size). Every
// session has its own message framing but all share one instrument. Locks are enforced: a message
// from a client outside the lock waits until the lock is released, a device clear or the client
// leaving. Answers are split to the client's maximum message size. An answer goes out as soon as
// it is made, so there is never one to interrupt: the server sends no Interrupted messages.
#pragma once

#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "zpv4870sim/listen_address.h"
#include "zpv4870sim/instrument.h"
#include "zpv4870sim/instrument_lock.h"

namespace zpv::sim {

class TcpService;

struct HislipOptions {
    // Offer only overlapped mode; clients must follow.
    bool overlapOnly = false;
    // The largest message a client may send, announced in AsyncMaximumMessageSizeResponse.
    std::uint64_t maxMessageSize = 16u << 20;
    std::size_t maxSessions = 64;
    std::string subAddress = "hislip0";
};

class HislipServer {
public:
    static constexpr std::uint16_t kStandardPort = 4880;

    // lock: shared with other servers of the same instrument; null gives the server its own.
    explicit HislipServer(Instrument& instrument, HislipOptions options = {}, InstrumentLock* lock = nullptr);
    ~HislipServer();  // stops
    HislipServer(const HislipServer&) = delete;
    HislipServer& operator=(const HislipServer&) = delete;

    // Port 0 picks a free one. Throws std::system_error when the port cannot be bound.
    void Start(std::uint16_t port = 0, ListenAddress where = {});
    std::uint16_t Port() const;
    void Stop();

    std::size_t SessionCount() const;

private:
    struct Session;
    struct Message;
    using Handler = bool (HislipServer::*)(Message&);
    struct HandlerRow;
    static const HandlerRow kSyncHandlers[];
    static const HandlerRow kAsyncHandlers[];

    void Serve(int fd);
    void ServeChannel(int fd, const std::shared_ptr<Session>& session, bool sync);
    bool Fatal(int fd, std::uint8_t code, const std::string& text);
    bool WaitForLock(Session& session);
    bool Answer(Session& session, std::uint32_t messageId, const std::string& bytes);

    bool OnData(Message& message);
    bool OnTrigger(Message& message);
    bool OnDeviceClearComplete(Message& message);
    bool OnAsyncLock(Message& message);
    bool OnAsyncLockInfo(Message& message);
    bool OnAsyncStatusQuery(Message& message);
    bool OnAsyncMaximumMessageSize(Message& message);
    bool OnAsyncDeviceClear(Message& message);
    bool OnAsyncRemoteLocalControl(Message& message);
    bool OnRepeatedInitialize(Message& message);

    Instrument& instrument_;
    HislipOptions options_;
    std::unique_ptr<InstrumentLock> ownLock_;
    InstrumentLock& lock_;
    std::unique_ptr<TcpService> tcp_;
    std::atomic<bool> stopping_{false};

    mutable std::mutex mutex_;  // sessions_, nextSession_
    std::map<std::uint16_t, std::shared_ptr<Session>> sessions_;
    std::uint16_t nextSession_ = 1;
};

}  // namespace zpv::sim
