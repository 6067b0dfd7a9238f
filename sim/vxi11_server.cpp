#include "zpv4870sim/vxi11_server.h"

#include <algorithm>
#include <cctype>
#include <deque>

#include "event_status.h"
#include "rpc_connection.h"
#include "tcp_service.h"
#include "zpv4870sim/client_session.h"

namespace zpv::sim {

namespace {

using Clock = std::chrono::steady_clock;

// Device_ErrorCode values the server gives.
enum ErrorCode : std::int32_t {
    kNoError = 0,
    kDeviceNotAccessible = 3,
    kInvalidLink = 4,
    kChannelNotEstablished = 6,
    kNotSupported = 8,
    kOutOfResources = 9,
    kLocked = 11,
    kNoLockHeld = 12,
    kIoTimeout = 15,
    kAborted = 23,
};

constexpr std::uint32_t kWaitLock = 1;
constexpr std::uint32_t kEnd = 8;
constexpr std::uint32_t kTermCharSet = 128;
constexpr std::int32_t kReasonCount = 1;
constexpr std::int32_t kReasonTermChar = 2;
constexpr std::int32_t kReasonEnd = 4;

constexpr std::size_t kMaxLinks = 256;
constexpr std::size_t kLongestDeviceName = 256;
// An instrument does not wait for ever, whatever the client asks for.
constexpr std::uint32_t kLongestWaitMs = 24u * 3600u * 1000u;

constexpr RpcProgram kPrograms[] = {{Vxi11Server::kCoreProgram, Vxi11Server::kVersion},
                                    {Vxi11Server::kAbortProgram, Vxi11Server::kVersion}};

Clock::time_point After(std::uint32_t ms) {
    return Clock::now() + std::chrono::milliseconds(std::min(ms, kLongestWaitMs));
}

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

}  // namespace

struct Vxi11Server::Link {
    struct Answer {
        std::shared_ptr<const std::string> bytes;  // shared with a reply still being sent
        Clock::time_point readyAt;
        std::shared_ptr<void> hold;  // its share of what the simulator may hold
    };

    std::int32_t id = 0;
    InstrumentLock::Owner owner = 0;
    std::mutex use;                          // one message at a time through the framing
    std::unique_ptr<ClientSession> session;  // under use
    std::deque<Answer> answers;              // under the server's mutex, as are the two below
    std::size_t offset = 0;                  // into answers.front()
    bool reading = false;
    bool aborted = false;
};

struct Vxi11Server::Request {
    RpcCall& call;
    XdrIn& in;
    XdrOut& out;
    std::vector<std::int32_t>& connectionLinks;
};

struct Vxi11Server::ProcedureRow {
    std::uint32_t program;
    std::uint32_t procedure;
    Handler handler;
};

const Vxi11Server::ProcedureRow Vxi11Server::kProcedures[] = {
    {kCoreProgram, 10, &Vxi11Server::CreateLink},
    {kCoreProgram, 11, &Vxi11Server::DeviceWrite},
    {kCoreProgram, 12, &Vxi11Server::DeviceRead},
    {kCoreProgram, 13, &Vxi11Server::DeviceReadStb},
    {kCoreProgram, 14, &Vxi11Server::DeviceTrigger},
    {kCoreProgram, 15, &Vxi11Server::DeviceClear},
    {kCoreProgram, 16, &Vxi11Server::DeviceRemoteOrLocal},
    {kCoreProgram, 17, &Vxi11Server::DeviceRemoteOrLocal},
    {kCoreProgram, 18, &Vxi11Server::DeviceLock},
    {kCoreProgram, 19, &Vxi11Server::DeviceUnlock},
    {kCoreProgram, 20, &Vxi11Server::DeviceEnableSrq},
    {kCoreProgram, 22, &Vxi11Server::DeviceDocmd},
    {kCoreProgram, 23, &Vxi11Server::DestroyLinkCall},
    {kCoreProgram, 25, &Vxi11Server::CreateInterruptChannel},
    {kCoreProgram, 26, &Vxi11Server::DestroyInterruptChannel},
    {kAbortProgram, 1, &Vxi11Server::DeviceAbort},
};

Vxi11Server::Vxi11Server(Instrument& instrument, Vxi11Options options, InstrumentLock* lock)
    : instrument_(instrument),
      options_(std::move(options)),
      ownLock_(lock ? nullptr : std::make_unique<InstrumentLock>()),
      lock_(lock ? *lock : *ownLock_) {}

Vxi11Server::~Vxi11Server() { Stop(); }

std::uint16_t Vxi11Server::Port() const { return tcp_ ? tcp_->Port() : 0; }

std::size_t Vxi11Server::LinkCount() const {
    std::lock_guard guard(mutex_);
    return links_.size();
}

void Vxi11Server::Start(std::uint16_t port, ListenAddress where) {
    stopping_ = false;
    const std::size_t maxRecord = std::max<std::size_t>(options_.maxRecvSize, 64 * 1024) + 1024;
    tcp_ = std::make_unique<TcpService>([this, maxRecord](int fd) {
        std::vector<std::int32_t> mine;
        ServeRpcConnection(fd, tcp_->StopFd(), kPrograms, maxRecord,
                           [&](RpcCall& call, XdrOut& results) { return Dispatch(call, results, mine); });
        for (std::int32_t id : mine) DestroyLink(id);
    });
    tcp_->Start(port, where);
}

void Vxi11Server::Stop() {
    if (!tcp_) return;
    stopping_ = true;
    {
        std::lock_guard guard(mutex_);
        changed_.notify_all();
    }
    lock_.Wake();
    tcp_->Stop();
    tcp_.reset();
    std::lock_guard guard(mutex_);
    for (auto& [id, link] : links_) lock_.ReleaseAll(link->owner);
    links_.clear();
}

RpcOutcome Vxi11Server::Dispatch(RpcCall& call, XdrOut& results, std::vector<std::int32_t>& connectionLinks) {
    for (const ProcedureRow& row : kProcedures) {
        if (row.program != call.program || row.procedure != call.procedure) continue;
        Request request{call, call.arguments, results, connectionLinks};
        return (this->*row.handler)(request);
    }
    return RpcOutcome::NoProcedure;
}

std::shared_ptr<Vxi11Server::Link> Vxi11Server::FindLinkAnywhere(std::int32_t id) const {
    std::lock_guard guard(mutex_);
    const auto it = links_.find(id);
    return it == links_.end() ? nullptr : it->second;
}

// A link belongs to the connection that created it: other connections cannot use or destroy it
// (only the abort channel, a connection of its own by design, reaches any link).
std::shared_ptr<Vxi11Server::Link> Vxi11Server::FindLink(const Request& r, std::int32_t id) const {
    if (std::find(r.connectionLinks.begin(), r.connectionLinks.end(), id) == r.connectionLinks.end()) return nullptr;
    return FindLinkAnywhere(id);
}

void Vxi11Server::DestroyLink(std::int32_t id) {
    std::shared_ptr<Link> link;
    {
        std::lock_guard guard(mutex_);
        const auto it = links_.find(id);
        if (it == links_.end()) return;
        link = it->second;
        links_.erase(it);
    }
    lock_.ReleaseAll(link->owner);
}

bool Vxi11Server::MayUse(Link& link, std::uint32_t flags, std::uint32_t lockTimeoutMs) {
    if (lock_.MayUse(link.owner)) return true;
    if (!(flags & kWaitLock)) return false;
    return lock_.WaitUsable(link.owner, After(lockTimeoutMs), [this] { return stopping_.load(); }) ==
           InstrumentLock::Outcome::Granted;
}

RpcOutcome Vxi11Server::CreateLink(Request& r) {
    r.in.Int();  // clientId
    const bool lockDevice = r.in.Uint() != 0;
    const std::uint32_t lockTimeout = r.in.Uint();
    const std::string_view device = r.in.Opaque(kLongestDeviceName);
    if (!r.in.ok()) return RpcOutcome::BadArguments;
    std::int32_t error = kNoError;
    const bool known = std::any_of(options_.devices.begin(), options_.devices.end(),
                                   [&](const std::string& name) { return SameName(name, device); });
    auto link = std::make_shared<Link>();
    if (!known) {
        error = kDeviceNotAccessible;
    } else {
        std::lock_guard guard(mutex_);
        if (links_.size() >= kMaxLinks || r.connectionLinks.size() >= options_.maxLinksPerConnection) {
            error = kOutOfResources;
        } else {
            link->id = nextLink_++;
            link->owner = lock_.NewOwner();
            link->session = std::make_unique<ClientSession>(instrument_);
            links_[link->id] = link;
        }
    }
    if (error == kNoError) {
        r.connectionLinks.push_back(link->id);
        if (lockDevice && lock_.Acquire(link->owner, {}, After(lockTimeout), [this] { return stopping_.load(); }) !=
                              InstrumentLock::Outcome::Granted) {
            DestroyLink(link->id);
            error = kLocked;
        }
    }
    r.out.Int(error);
    r.out.Int(error == kNoError ? link->id : 0);
    r.out.Uint(error == kNoError ? Port() : 0);  // the abort channel shares the port
    r.out.Uint(error == kNoError ? options_.maxRecvSize : 0);
    return RpcOutcome::Reply;
}

RpcOutcome Vxi11Server::DeviceWrite(Request& r) {
    const std::int32_t id = r.in.Int();
    r.in.Uint();  // io_timeout: writing never waits here
    const std::uint32_t lockTimeout = r.in.Uint();
    const std::uint32_t flags = r.in.Uint();
    const std::string_view data = r.in.Opaque(r.in.rest().size());
    if (!r.in.ok()) return RpcOutcome::BadArguments;
    deviceWrites_.fetch_add(1);
    if (flags & kEnd) deviceWritesWithEnd_.fetch_add(1);
    const auto answer = [&](std::int32_t error, std::uint32_t size) {
        r.out.Int(error);
        r.out.Uint(size);
        return RpcOutcome::Reply;
    };
    const std::shared_ptr<Link> link = FindLink(r, id);
    if (!link) return answer(kInvalidLink, 0);
    if (!MayUse(*link, flags, lockTimeout)) return answer(kLocked, 0);

    // END ends the message as a line feed would.
    std::string bytes(data);
    if ((flags & kEnd) && (bytes.empty() || bytes.back() != '\n')) bytes += '\n';
    std::lock_guard use(link->use);
    const bool open = link->session->OnBytes(bytes, [&](ClientSession::Reply& reply) {
        std::lock_guard guard(mutex_);
        // A client that writes queries and never reads fills the output queue, as on an instrument.
        if (link->answers.size() >= options_.maxQueuedAnswers) {
            instrument_.ReportError(kQueueOverflow);
            return true;
        }
        link->answers.push_back({std::make_shared<const std::string>(std::move(reply.bytes)),
                                 Clock::now() + reply.delay, reply.hold});
        changed_.notify_all();
        return true;
    });
    if (!open) return RpcOutcome::Drop;  // the drop fault: the connection ends unanswered
    return answer(kNoError, static_cast<std::uint32_t>(data.size()));
}

RpcOutcome Vxi11Server::DeviceRead(Request& r) {
    const std::int32_t id = r.in.Int();
    deviceReads_.fetch_add(1);
    const std::uint32_t requestSize = r.in.Uint();
    const std::uint32_t ioTimeout = r.in.Uint();
    const std::uint32_t lockTimeout = r.in.Uint();
    const std::uint32_t flags = r.in.Uint();
    const char termChar = static_cast<char>(r.in.Uint());
    if (!r.in.ok()) return RpcOutcome::BadArguments;
    const auto answer = [&](std::int32_t error, std::int32_t reason, std::string_view data) {
        r.out.Int(error);
        r.out.Int(reason);
        r.out.Opaque(data);
        return RpcOutcome::Reply;
    };
    const std::shared_ptr<Link> link = FindLink(r, id);
    if (!link) return answer(kInvalidLink, 0, {});
    if (!MayUse(*link, flags, lockTimeout)) return answer(kLocked, 0, {});

    const Clock::time_point deadline = After(ioTimeout);
    std::unique_lock guard(mutex_);
    link->reading = true;
    link->aborted = false;
    for (;;) {
        const Clock::time_point now = Clock::now();
        const bool ready = !link->answers.empty() && link->answers.front().readyAt <= now;
        const bool interrupted = stopping_ || link->aborted;
        if (ready || interrupted || now >= deadline) {
            link->reading = false;
            if (ready) break;
            return answer(interrupted ? kAborted : kIoTimeout, 0, {});
        }
        changed_.wait_until(guard,
                            link->answers.empty() ? deadline : std::min(deadline, link->answers.front().readyAt));
    }
    const std::shared_ptr<const std::string> bytes = link->answers.front().bytes;
    const std::size_t from = link->offset;
    // As much as asked for, up to the link's maxRecvSize: what does not fit waits for the next read.
    std::size_t take = std::min<std::size_t>({requestSize, options_.maxRecvSize, bytes->size() - from});
    std::int32_t reason = 0;
    if (flags & kTermCharSet) {
        const std::size_t at = bytes->find(termChar, from);
        if (at != std::string::npos && at < from + take) {
            take = at - from + 1;
            reason |= kReasonTermChar;
        }
    }
    if (take == requestSize) reason |= kReasonCount;
    link->offset += take;
    if (link->offset == bytes->size()) {
        reason |= kReasonEnd;
        link->answers.pop_front();
        link->offset = 0;
    }
    guard.unlock();
    // The data goes out from the answer itself, which the reply keeps alive until it is sent.
    r.out.Int(kNoError);
    r.out.Int(reason);
    r.out.OpaqueTail(std::string_view(*bytes).substr(from, take), bytes);
    return RpcOutcome::Reply;
}

RpcOutcome Vxi11Server::DeviceReadStb(Request& r) {
    const std::int32_t id = r.in.Int();
    const std::uint32_t flags = r.in.Uint();
    const std::uint32_t lockTimeout = r.in.Uint();
    r.in.Uint();  // io_timeout
    if (!r.in.ok()) return RpcOutcome::BadArguments;
    const std::shared_ptr<Link> link = FindLink(r, id);
    std::int32_t error = !link ? kInvalidLink : !MayUse(*link, flags, lockTimeout) ? kLocked : kNoError;
    std::uint32_t stb = 0;
    if (error == kNoError) {
        // Polled out of band, as a serial poll would be: no framing, no injected faults.
        stb = static_cast<std::uint32_t>(std::atoi(instrument_.Execute("*STB?").value_or("0").c_str())) & 0xFF;
        std::lock_guard guard(mutex_);
        if (!link->answers.empty()) stb |= 0x10;  // message available
    }
    r.out.Int(error);
    r.out.Uint(stb);
    return RpcOutcome::Reply;
}

// Device_GenericParms in, Device_Error out; action runs once the link and the lock are checked.
RpcOutcome Vxi11Server::GenericCall(Request& r, const std::function<std::int32_t(Link&)>& action) {
    const std::int32_t id = r.in.Int();
    const std::uint32_t flags = r.in.Uint();
    const std::uint32_t lockTimeout = r.in.Uint();
    r.in.Uint();  // io_timeout
    if (!r.in.ok()) return RpcOutcome::BadArguments;
    const std::shared_ptr<Link> link = FindLink(r, id);
    std::int32_t error = !link ? kInvalidLink : !MayUse(*link, flags, lockTimeout) ? kLocked : kNoError;
    if (error == kNoError) error = action(*link);
    r.out.Int(error);
    return RpcOutcome::Reply;
}

RpcOutcome Vxi11Server::DeviceTrigger(Request& r) {
    return GenericCall(r, [](Link&) { return kNotSupported; });
}

RpcOutcome Vxi11Server::DeviceRemoteOrLocal(Request& r) {
    return GenericCall(r, [](Link&) { return kNoError; });
}

RpcOutcome Vxi11Server::DeviceClear(Request& r) {
    return GenericCall(r, [this](Link& link) {
        std::lock_guard use(link.use);
        link.session = std::make_unique<ClientSession>(instrument_);
        std::lock_guard guard(mutex_);
        link.answers.clear();
        link.offset = 0;
        return kNoError;
    });
}

RpcOutcome Vxi11Server::DeviceLock(Request& r) {
    const std::int32_t id = r.in.Int();
    const std::uint32_t flags = r.in.Uint();
    const std::uint32_t lockTimeout = r.in.Uint();
    if (!r.in.ok()) return RpcOutcome::BadArguments;
    const std::shared_ptr<Link> link = FindLink(r, id);
    std::int32_t error = kInvalidLink;
    if (link) {
        const auto outcome = lock_.Acquire(link->owner, {}, After(flags & kWaitLock ? lockTimeout : 0),
                                           [this] { return stopping_.load(); });
        error = outcome == InstrumentLock::Outcome::Granted ? kNoError : kLocked;
    }
    r.out.Int(error);
    return RpcOutcome::Reply;
}

RpcOutcome Vxi11Server::DeviceUnlock(Request& r) {
    const std::int32_t id = r.in.Int();
    if (!r.in.ok()) return RpcOutcome::BadArguments;
    const std::shared_ptr<Link> link = FindLink(r, id);
    std::int32_t error = kInvalidLink;
    if (link) error = lock_.Release(link->owner) == InstrumentLock::Released::Nothing ? kNoLockHeld : kNoError;
    r.out.Int(error);
    return RpcOutcome::Reply;
}

RpcOutcome Vxi11Server::DeviceEnableSrq(Request& r) {
    const std::int32_t id = r.in.Int();
    r.in.Uint();
    r.in.Opaque(40);
    if (!r.in.ok()) return RpcOutcome::BadArguments;
    r.out.Int(FindLink(r, id) ? kNoError : kInvalidLink);
    return RpcOutcome::Reply;
}

RpcOutcome Vxi11Server::DeviceDocmd(Request& r) {
    const std::int32_t id = r.in.Int();
    for (int i = 0; i < 6; ++i) r.in.Uint();  // flags, timeouts, cmd, network order, datasize
    r.in.Opaque(r.in.rest().size());
    if (!r.in.ok()) return RpcOutcome::BadArguments;
    r.out.Int(FindLink(r, id) ? kNotSupported : kInvalidLink);
    r.out.Opaque({});
    return RpcOutcome::Reply;
}

RpcOutcome Vxi11Server::DestroyLinkCall(Request& r) {
    const std::int32_t id = r.in.Int();
    if (!r.in.ok()) return RpcOutcome::BadArguments;
    const bool known = FindLink(r, id) != nullptr;
    if (known) {
        DestroyLink(id);
        std::erase(r.connectionLinks, id);
    }
    r.out.Int(known ? kNoError : kInvalidLink);
    return RpcOutcome::Reply;
}

RpcOutcome Vxi11Server::CreateInterruptChannel(Request& r) {
    for (int i = 0; i < 5; ++i) r.in.Uint();
    if (!r.in.ok()) return RpcOutcome::BadArguments;
    r.out.Int(kNotSupported);
    return RpcOutcome::Reply;
}

RpcOutcome Vxi11Server::DestroyInterruptChannel(Request& r) {
    r.out.Int(kChannelNotEstablished);
    return RpcOutcome::Reply;
}

RpcOutcome Vxi11Server::DeviceAbort(Request& r) {
    const std::int32_t id = r.in.Int();
    if (!r.in.ok()) return RpcOutcome::BadArguments;
    const std::shared_ptr<Link> link = FindLinkAnywhere(id);
    if (link) {
        std::lock_guard guard(mutex_);
        link->aborted = link->reading;
        changed_.notify_all();
    }
    r.out.Int(link ? kNoError : kInvalidLink);
    return RpcOutcome::Reply;
}

}  // namespace zpv::sim
