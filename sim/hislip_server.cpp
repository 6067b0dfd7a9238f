#include "zpv4870sim/hislip_server.h"

#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <span>
#include <thread>

#include "hislip_wire.h"
#include "tcp_service.h"
#include "zpv4870sim/client_session.h"

namespace zpv::sim {

namespace {

using namespace hislip;
using Clock = std::chrono::steady_clock;

constexpr std::uint16_t kProtocolVersion = 0x0100;  // 1.0
constexpr std::uint16_t kVendorId = 0x5A53;         // "ZS"
constexpr std::size_t kLongestControlPayload = 1024;
constexpr auto kSleepSlice = std::chrono::milliseconds(10);

enum LockAnswer : std::uint8_t { kLockFailed = 0, kLockGranted = 1, kSharedReleased = 2, kLockError = 3 };

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

bool PeerGone(int fd) {
    pollfd p{fd, POLLRDHUP, 0};
    return ::poll(&p, 1, 0) > 0 && (p.revents & (POLLRDHUP | POLLHUP | POLLERR));
}

}  // namespace

struct HislipServer::Session {
    std::uint16_t id = 0;
    InstrumentLock::Owner owner = 0;
    std::mutex fds;  // the two descriptors, cleared before their connection's thread lets go of them
    int syncFd = -1;
    int asyncFd = -1;
    std::atomic<bool> closing{false};
    std::atomic<bool> clearRequested{false};
    std::atomic<bool> answerPending{false};  // until the client reports it delivered (RMT)
    std::atomic<bool> overlapped{false};
    std::atomic<std::uint64_t> clientMax{UINT64_MAX};
    std::unique_ptr<ClientSession> client;  // the synchronous channel's thread only

    bool AsyncReady() {
        std::lock_guard guard(fds);
        return asyncFd >= 0;
    }
    // One channel is done with its descriptor: the session ends, and the other channel is woken.
    void Leave(bool sync) {
        std::lock_guard guard(fds);
        closing = true;
        (sync ? syncFd : asyncFd) = -1;
        const int other = sync ? asyncFd : syncFd;
        if (other >= 0) ::shutdown(other, SHUT_RDWR);
    }
};

struct HislipServer::Message {
    int fd;
    Session& session;
    Header header;
    std::string payload;  // read beforehand for every message but Data and DataEnd
};

struct HislipServer::HandlerRow {
    std::uint8_t type;
    bool bulk;  // the handler reads the payload itself
    Handler handler;
};

const HislipServer::HandlerRow HislipServer::kSyncHandlers[] = {
    {kData, true, &HislipServer::OnData},
    {kDataEnd, true, &HislipServer::OnData},
    {kTrigger, false, &HislipServer::OnTrigger},
    {kDeviceClearComplete, false, &HislipServer::OnDeviceClearComplete},
    {kInitialize, false, &HislipServer::OnRepeatedInitialize},
    {kAsyncInitialize, false, &HislipServer::OnRepeatedInitialize},
};

const HislipServer::HandlerRow HislipServer::kAsyncHandlers[] = {
    {kAsyncLock, false, &HislipServer::OnAsyncLock},
    {kAsyncLockInfo, false, &HislipServer::OnAsyncLockInfo},
    {kAsyncStatusQuery, false, &HislipServer::OnAsyncStatusQuery},
    {kAsyncMaximumMessageSize, false, &HislipServer::OnAsyncMaximumMessageSize},
    {kAsyncDeviceClear, false, &HislipServer::OnAsyncDeviceClear},
    {kAsyncRemoteLocalControl, false, &HislipServer::OnAsyncRemoteLocalControl},
    {kInitialize, false, &HislipServer::OnRepeatedInitialize},
    {kAsyncInitialize, false, &HislipServer::OnRepeatedInitialize},
};

HislipServer::HislipServer(Instrument& instrument, HislipOptions options, InstrumentLock* lock)
    : instrument_(instrument),
      options_(std::move(options)),
      ownLock_(lock ? nullptr : std::make_unique<InstrumentLock>()),
      lock_(lock ? *lock : *ownLock_) {}

HislipServer::~HislipServer() { Stop(); }

std::uint16_t HislipServer::Port() const { return tcp_ ? tcp_->Port() : 0; }

std::size_t HislipServer::SessionCount() const {
    std::lock_guard guard(mutex_);
    return sessions_.size();
}

void HislipServer::Start(std::uint16_t port, ListenAddress where) {
    stopping_ = false;
    tcp_ = std::make_unique<TcpService>([this](int fd) { Serve(fd); });
    tcp_->Start(port, where);
}

void HislipServer::Stop() {
    if (!tcp_) return;
    stopping_ = true;
    lock_.Wake();
    tcp_->Stop();
    tcp_.reset();
    std::lock_guard guard(mutex_);
    sessions_.clear();
}

bool HislipServer::Fatal(int fd, std::uint8_t code, const std::string& text) {
    Send(fd, kFatalError, code, 0, text);
    return false;
}

void HislipServer::Serve(int fd) {
    Header header;
    const Received received = ReceiveHeader(fd, tcp_->StopFd(), &header);
    if (received == Received::Gone) return;
    if (received == Received::BadPrologue) {
        Fatal(fd, kFatalBadHeader, "not a HiSLIP message");
        return;
    }
    std::string payload;
    if (header.length > kLongestControlPayload || !ReceivePayload(fd, tcp_->StopFd(), header.length, &payload)) {
        Fatal(fd, kFatalBadInitialization, "oversized initialization message");
        return;
    }

    if (header.type == kInitialize) {
        if (!SameName(payload, options_.subAddress)) {
            Fatal(fd, kFatalUnidentified, "no device at sub-address '" + payload + "'");
            return;
        }
        auto session = std::make_shared<Session>();
        {
            std::lock_guard guard(mutex_);
            if (sessions_.size() >= options_.maxSessions) {
                Fatal(fd, kFatalTooManyClients, "too many clients");
                return;
            }
            while (nextSession_ == 0 || sessions_.count(nextSession_)) ++nextSession_;
            session->id = nextSession_++;
            session->syncFd = fd;
            session->owner = lock_.NewOwner();
            session->overlapped = options_.overlapOnly;
            session->client = std::make_unique<ClientSession>(instrument_);
            sessions_[session->id] = session;
        }
        const std::uint32_t version = std::min<std::uint32_t>(header.parameter >> 16, kProtocolVersion);
        if (Send(fd, kInitializeResponse, options_.overlapOnly ? 1 : 0, version << 16 | session->id))
            ServeChannel(fd, session, true);
        session->Leave(true);
        lock_.ReleaseAll(session->owner);
        lock_.Wake();
        std::lock_guard guard(mutex_);
        sessions_.erase(session->id);
        return;
    }

    if (header.type == kAsyncInitialize) {
        std::shared_ptr<Session> session;
        {
            std::lock_guard guard(mutex_);
            const auto it = sessions_.find(static_cast<std::uint16_t>(header.parameter));
            if (it != sessions_.end()) session = it->second;
        }
        bool bound = false;
        if (session) {
            std::lock_guard guard(session->fds);
            bound = !session->closing && session->asyncFd < 0;
            if (bound) session->asyncFd = fd;
        }
        if (!bound) {
            Fatal(fd, kFatalBadInitialization, "no session " + std::to_string(header.parameter & 0xFFFF) +
                                                   " is waiting for its asynchronous channel");
            return;
        }
        if (Send(fd, kAsyncInitializeResponse, 0, kVendorId)) ServeChannel(fd, session, false);
        session->Leave(false);
        lock_.Wake();
        return;
    }
    Fatal(fd, kFatalBadInitialization, "a connection starts with Initialize or AsyncInitialize");
}

void HislipServer::ServeChannel(int fd, const std::shared_ptr<Session>& session, bool sync) {
    for (;;) {
        Message message{fd, *session, {}, {}};
        const Received received = ReceiveHeader(fd, tcp_->StopFd(), &message.header);
        if (received == Received::Gone) return;
        if (received == Received::BadPrologue) {
            Fatal(fd, kFatalBadHeader, "not a HiSLIP message header");
            return;
        }
        const HandlerRow* row = nullptr;
        const std::span<const HandlerRow> table = sync ? std::span<const HandlerRow>(kSyncHandlers) : kAsyncHandlers;
        for (const HandlerRow& r : table)
            if (r.type == message.header.type) row = &r;
        if (!row || (!row->bulk && message.header.length > kLongestControlPayload)) {
            if (!SkipPayload(fd, tcp_->StopFd(), message.header.length)) return;
            const bool unknown = !row;
            if (!Send(fd, kError, unknown ? kErrorUnknownType : kErrorTooLarge, 0,
                      unknown
                          ? "message type " + std::to_string(message.header.type) + " is not expected on this channel"
                          : "payload too large"))
                return;
            continue;
        }
        if (!row->bulk && !ReceivePayload(fd, tcp_->StopFd(), message.header.length, &message.payload)) return;
        if (!(this->*row->handler)(message)) return;
    }
}

bool HislipServer::WaitForLock(Session& session) {
    const auto outcome = lock_.WaitUsable(session.owner, Clock::time_point::max(), [&] {
        return stopping_ || session.closing || session.clearRequested || PeerGone(session.syncFd);
    });
    return outcome == InstrumentLock::Outcome::Granted;
}

bool HislipServer::Answer(Session& session, std::uint32_t messageId, const std::string& bytes) {
    const std::uint64_t limit = session.clientMax;
    const std::size_t largest = static_cast<std::size_t>(std::max<std::uint64_t>(limit > 16 ? limit - 16 : 0, 1));
    std::string_view rest(bytes);
    session.answerPending = true;
    do {
        const std::string_view part = rest.substr(0, largest);
        rest.remove_prefix(part.size());
        if (!Send(session.syncFd, rest.empty() ? kDataEnd : kData, 0, messageId, part)) return false;
    } while (!rest.empty());
    return true;
}

bool HislipServer::OnData(Message& m) {
    Session& session = m.session;
    if (!session.AsyncReady()) return Fatal(m.fd, kFatalChannelsNotReady, "the asynchronous channel is not open");
    if (m.header.length > options_.maxMessageSize) {
        return SkipPayload(m.fd, tcp_->StopFd(), m.header.length) &&
               Send(m.fd, kError, kErrorTooLarge, 0, "message larger than the announced maximum");
    }
    std::string bytes;
    if (!ReceivePayload(m.fd, tcp_->StopFd(), m.header.length, &bytes)) return false;
    if (m.header.control & 1) session.answerPending = false;
    // Between AsyncDeviceClear and DeviceClearComplete messages are void.
    if (session.clearRequested) return true;
    if (!WaitForLock(session)) return !stopping_ && !session.closing;
    if (m.header.type == kDataEnd && (bytes.empty() || bytes.back() != '\n')) bytes += '\n';
    return session.client->OnBytes(bytes, [&](const ClientSession::Reply& reply) {
        const auto readyAt = Clock::now() + reply.delay;
        while (Clock::now() < readyAt) {
            if (stopping_ || session.closing) return false;
            if (session.clearRequested) return true;  // the answer is void, the session goes on
            std::this_thread::sleep_for(std::min<Clock::duration>(kSleepSlice, readyAt - Clock::now()));
        }
        return session.clearRequested || Answer(session, m.header.parameter, reply.bytes);
    });
}

bool HislipServer::OnTrigger(Message& m) {
    if (!m.session.AsyncReady()) return Fatal(m.fd, kFatalChannelsNotReady, "the asynchronous channel is not open");
    return WaitForLock(m.session) || (!stopping_ && !m.session.closing);
}

bool HislipServer::OnDeviceClearComplete(Message& m) {
    Session& session = m.session;
    session.client = std::make_unique<ClientSession>(instrument_);
    session.answerPending = false;
    session.overlapped = options_.overlapOnly || (m.header.control & 1);
    session.clearRequested = false;
    return Send(m.fd, kDeviceClearAcknowledge, session.overlapped ? 1 : 0, 0);
}

bool HislipServer::OnAsyncLock(Message& m) {
    Session& session = m.session;
    std::uint8_t answer = kLockError;
    if (m.header.control == 1) {
        const auto deadline = Clock::now() + std::chrono::milliseconds(m.header.parameter);
        const auto outcome =
            lock_.Acquire(session.owner, m.payload, deadline, [&] { return stopping_ || session.closing.load(); });
        if (outcome == InstrumentLock::Outcome::Cancelled) return false;
        answer = outcome == InstrumentLock::Outcome::Granted ? kLockGranted : kLockFailed;
    } else if (m.header.control == 0) {
        const auto released = lock_.Release(session.owner);
        answer = released == InstrumentLock::Released::Exclusive ? kLockGranted
                 : released == InstrumentLock::Released::Shared  ? kSharedReleased
                                                                  : kLockError;
    }
    return Send(m.fd, kAsyncLockResponse, answer, 0);
}

bool HislipServer::OnAsyncLockInfo(Message& m) {
    return Send(m.fd, kAsyncLockInfoResponse, lock_.ExclusiveHeld() ? 1 : 0,
                static_cast<std::uint32_t>(lock_.Holders()));
}

bool HislipServer::OnAsyncStatusQuery(Message& m) {
    if (m.header.control & 1) m.session.answerPending = false;
    // Polled out of band, as a serial poll would be: no framing, no injected faults.
    int stb = std::atoi(instrument_.Execute("*STB?").value_or("0").c_str()) & 0xFF;
    if (m.session.answerPending) stb |= 0x10;  // message available
    return Send(m.fd, kAsyncStatusResponse, static_cast<std::uint8_t>(stb), 0);
}

bool HislipServer::OnAsyncMaximumMessageSize(Message& m) {
    if (m.payload.size() != 8) return Send(m.fd, kError, kErrorUnidentified, 0, "the size takes 8 bytes");
    m.session.clientMax = FromBigEndian64(m.payload);
    return Send(m.fd, kAsyncMaximumMessageSizeResponse, 0, 0, BigEndian64(options_.maxMessageSize));
}

bool HislipServer::OnAsyncDeviceClear(Message& m) {
    m.session.clearRequested = true;
    lock_.Wake();
    return Send(m.fd, kAsyncDeviceClearAcknowledge, options_.overlapOnly ? 1 : 0, 0);
}

bool HislipServer::OnAsyncRemoteLocalControl(Message& m) { return Send(m.fd, kAsyncRemoteLocalResponse, 0, 0); }

bool HislipServer::OnRepeatedInitialize(Message& m) {
    return Fatal(m.fd, kFatalBadInitialization, "the session is already initialized");
}

}  // namespace zpv::sim
