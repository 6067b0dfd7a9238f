// Serves the instrument over VXI-11 on 127.0.0.1: the core channel (program 0x0607AF) and the
// abort channel (0x0607B0) on one TCP port, which a portmapper (Portmapper, or the system's rpcbind
// through RegisterRpcProgram) tells clients about. Every link has its own message framing and
// answers but all share one instrument; device_lock is enforced between links, waiting up to the
// caller's lock_timeout when it sets the wait-lock flag. A link ends with destroy_link or with the
// connection that created it.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "zpv4870sim/listen_address.h"
#include "zpv4870sim/instrument.h"
#include "zpv4870sim/instrument_lock.h"

namespace zpv::sim {

class TcpService;
struct RpcCall;
class XdrOut;
class XdrIn;
enum class RpcOutcome;

struct Vxi11Options {
    // The largest device_write chunk the links offer (clients split longer messages), and the most
    // one device_read answers with: a 10 MB block takes three reads.
    std::uint32_t maxRecvSize = 4u << 20;
    // Device names create_link accepts (compared without regard to case).
    std::vector<std::string> devices{"inst0"};
    // Links one connection may hold, and answers one link keeps unread (more: error -350).
    std::size_t maxLinksPerConnection = 16;
    std::size_t maxQueuedAnswers = 64;
};

class Vxi11Server {
public:
    static constexpr std::uint32_t kCoreProgram = 0x0607AF;
    static constexpr std::uint32_t kAbortProgram = 0x0607B0;
    static constexpr std::uint32_t kVersion = 1;

    // lock: shared with other servers of the same instrument; null gives the server its own.
    explicit Vxi11Server(Instrument& instrument, Vxi11Options options = {}, InstrumentLock* lock = nullptr);
    ~Vxi11Server();  // stops
    Vxi11Server(const Vxi11Server&) = delete;
    Vxi11Server& operator=(const Vxi11Server&) = delete;

    // Port 0 picks a free one. Throws std::system_error when the port cannot be bound.
    void Start(std::uint16_t port = 0, ListenAddress where = {});
    std::uint16_t Port() const;
    void Stop();

    std::size_t LinkCount() const;
    // device_read and device_write calls answered so far, and the writes that carried END, for
    // tests that count round trips.
    std::size_t DeviceReads() const { return deviceReads_.load(); }
    std::size_t DeviceWrites() const { return deviceWrites_.load(); }
    std::size_t DeviceWritesWithEnd() const { return deviceWritesWithEnd_.load(); }

private:
    struct Link;
    struct Request;
    using Handler = RpcOutcome (Vxi11Server::*)(Request&);
    struct ProcedureRow;
    static const ProcedureRow kProcedures[];

    RpcOutcome Dispatch(RpcCall& call, XdrOut& results, std::vector<std::int32_t>& connectionLinks);
    std::shared_ptr<Link> FindLink(const Request& r, std::int32_t id) const;
    std::shared_ptr<Link> FindLinkAnywhere(std::int32_t id) const;
    bool MayUse(Link& link, std::uint32_t flags, std::uint32_t lockTimeoutMs);
    RpcOutcome GenericCall(Request& request, const std::function<std::int32_t(Link&)>& action);
    void DestroyLink(std::int32_t id);

    RpcOutcome CreateLink(Request& request);
    RpcOutcome DeviceWrite(Request& request);
    RpcOutcome DeviceRead(Request& request);
    RpcOutcome DeviceReadStb(Request& request);
    RpcOutcome DeviceTrigger(Request& request);
    RpcOutcome DeviceClear(Request& request);
    RpcOutcome DeviceRemoteOrLocal(Request& request);
    RpcOutcome DeviceLock(Request& request);
    RpcOutcome DeviceUnlock(Request& request);
    RpcOutcome DeviceEnableSrq(Request& request);
    RpcOutcome DeviceDocmd(Request& request);
    RpcOutcome DestroyLinkCall(Request& request);
    RpcOutcome CreateInterruptChannel(Request& request);
    RpcOutcome DestroyInterruptChannel(Request& request);
    RpcOutcome DeviceAbort(Request& request);

    Instrument& instrument_;
    Vxi11Options options_;
    std::unique_ptr<InstrumentLock> ownLock_;
    InstrumentLock& lock_;
    std::unique_ptr<TcpService> tcp_;
    std::atomic<bool> stopping_{false};

    std::atomic<std::size_t> deviceReads_{0};
    std::atomic<std::size_t> deviceWrites_{0};
    std::atomic<std::size_t> deviceWritesWithEnd_{0};
    mutable std::mutex mutex_;  // links_, nextLink_ and every link's answers
    std::condition_variable changed_;
    std::map<std::int32_t, std::shared_ptr<Link>> links_;
    std::int32_t nextLink_ = 1;
};

}  // namespace zpv::sim
