#include "platform/visa/vxi11_session.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>

#include "platform/visa/portmapper_client.h"
#include "platform/visa/tcp_connector.h"
#include "platform/visa/vxi11_errors.h"
#include "platform/visa/vxi11_protocol.h"
#include "platform/text/sentence.h"

namespace zpv::visa {

namespace {

using namespace vxi11;

// The instrument answers when its io_timeout (what is left of ours) runs out; give that answer
// this long to travel before we stop waiting ourselves.
constexpr ViUInt32 kReplyGraceMs = 200;
// RPC framing and result fields around the data of a device_read reply.
constexpr std::size_t kReplyOverhead = 256;
// The most a device_read asks for beyond its caller's count, however large the link's maxRecvSize:
// those bytes are held in memory until the next read.
constexpr std::size_t kLargestReadAhead = 1u << 20;
// device_read results before the data: error, reason and the data's length.
constexpr std::size_t kReadResultsHead = 12;
constexpr std::size_t kCloseBudgetMs = 2000;

std::uint32_t MillisecondsLeft(const Deadline& deadline) {
    int ms = deadline.PollMs();
    return ms < 0 ? VI_TMO_INFINITE : static_cast<std::uint32_t>(ms);
}

Deadline WithGrace(const Deadline& deadline) {
    if (deadline.Infinite()) return deadline;
    return Deadline::After(MillisecondsLeft(deadline) + kReplyGraceMs);
}

std::int32_t NextClientId() {
    static std::atomic<std::int32_t> next{1};
    return next.fetch_add(1);
}

}  // namespace

ViStatus Vxi11Session::Open(const ResourceDescriptor& descriptor, const OpenContext& context,
                            std::unique_ptr<MessageSession>* session) {
    Deadline deadline = Deadline::After(context.openTimeoutMs);
    ViUInt16 portmapperPort = 0, corePort = 0;
    std::string why;
    if (ViStatus status = PortmapperPort(&portmapperPort, context.detail); Failed(status)) return status;
    ViStatus status = LookUpRpcPort(descriptor.host, portmapperPort, kCoreProgram, kVersion, deadline, &corePort, &why);
    if (Failed(status)) {
        *context.detail = "No VXI-11 service at " + HostPort(descriptor.host, portmapperPort) + ": " + text::Sentence(why);
        return status;
    }
    const std::string where = HostPort(descriptor.host, corePort);
    int fd = -1;
    if (status = ConnectTcp(descriptor.host, corePort, deadline, &fd, &why); Failed(status)) {
        *context.detail = "No VXI-11 service at " + where + ": " + text::Sentence(why);
        return status;
    }
    auto core = std::make_unique<OncRpcClient>(fd, kCoreProgram, kVersion);

    std::vector<std::uint8_t> arguments;
    XdrWriter out(arguments);
    out.PutInt32(NextClientId());
    out.PutBool(false);  // lockDevice
    out.PutUint32(0);    // lock_timeout
    out.PutString(descriptor.deviceName);
    RpcReply reply;
    status = core->Call(kCreateLink, arguments, kReplyOverhead, deadline, &reply);
    if (Failed(status)) {
        *context.detail = "No VXI-11 service at " + where + ": " + text::Sentence(core->LastError());
        return status == VI_ERROR_TMO ? status : VI_ERROR_RSRC_NFOUND;
    }
    XdrReader in = reply.Results();
    std::int32_t error = 0, link = 0;
    std::uint32_t abortPort = 0, maxRecvSize = 0;
    in.GetInt32(&error);
    in.GetInt32(&link);
    in.GetUint32(&abortPort);
    in.GetUint32(&maxRecvSize);
    if (!in.Ok()) {
        *context.detail = "The VXI-11 server at " + where + " sent a malformed create_link reply.";
        return VI_ERROR_IO;
    }
    if (error != 0) {
        *context.detail = "The VXI-11 server at " + where + " refused a link to '" + descriptor.deviceName +
                          "': " + text::Sentence(Vxi11ErrorText(error));
        ViStatus refused = Vxi11ErrorStatus(error);
        return refused == VI_ERROR_INV_PARAMETER ? VI_ERROR_RSRC_NFOUND : refused;
    }
    // A server offering 0 would make every write loop without progress.
    *session =
        std::make_unique<Vxi11Session>(descriptor, std::move(core), link, std::max<std::uint32_t>(maxRecvSize, 1));
    return VI_SUCCESS;
}

Vxi11Session::Vxi11Session(ResourceDescriptor descriptor, std::unique_ptr<OncRpcClient> core, std::int32_t link,
                           std::uint32_t maxRecvSize)
    : SessionBase(std::move(descriptor)), core_(std::move(core)), link_(link), maxRecvSize_(maxRecvSize) {}

ViStatus Vxi11Session::Call(std::uint32_t procedure, const std::vector<std::uint8_t>& arguments, std::size_t maxReply,
                            const Deadline& deadline, RpcReply* reply, XdrReader* results, ReplyBulk* bulk) {
    ViStatus status = core_->Call(procedure, arguments, maxReply, WithGrace(deadline), reply, bulk);
    if (Failed(status)) {
        lastError_ = core_->LastError();
        return status;
    }
    *results = reply->Results();
    std::int32_t error = 0;
    if (!results->GetInt32(&error)) {
        lastError_ = "the VXI-11 server sent a truncated reply";
        return VI_ERROR_IO;
    }
    if (error != 0) {
        lastError_ = Vxi11ErrorText(error);
        return Vxi11ErrorStatus(error);
    }
    return VI_SUCCESS;
}

// device_trigger, device_clear and friends: Device_GenericParms in, Device_Error out.
ViStatus Vxi11Session::Generic(std::uint32_t procedure, const Deadline& deadline) {
    std::vector<std::uint8_t> arguments;
    XdrWriter out(arguments);
    out.PutInt32(link_);
    out.PutUint32(0);  // flags
    out.PutUint32(0);  // lock_timeout
    out.PutUint32(MillisecondsLeft(deadline));
    XdrReader results(nullptr, 0);
    return Call(procedure, arguments, kReplyOverhead, deadline, &reply_, &results);
}

ViStatus Vxi11Session::TakePending(ViByte* buffer, std::size_t count, std::size_t* returned, const ReadStop& stop,
                                   bool* more) {
    std::size_t take = std::min(count, pendingEnd_ - pendingAt_);
    const std::uint8_t* from = pending_.record.data() + pendingAt_;
    // The termination character as it is now, not as it was when the bytes came.
    const void* term = stop.termCharEnabled ? std::memchr(from, stop.termChar, take) : nullptr;
    if (term) take = static_cast<std::size_t>(static_cast<const std::uint8_t*>(term) - from) + 1;
    std::memcpy(buffer, from, take);
    pendingAt_ += take;
    *returned = take;
    *more = pendingAt_ < pendingEnd_;
    if (!*more) pendingAt_ = pendingEnd_ = 0;
    if (term && (*more || !(pendingReason_ & kReasonEnd))) return VI_SUCCESS_TERM_CHAR;
    if (*more) return VI_SUCCESS_MAX_CNT;
    if (pendingReason_ & kReasonEnd) return VI_SUCCESS;
    if (pendingReason_ & kReasonTermChar) return VI_SUCCESS_TERM_CHAR;
    return VI_SUCCESS_MAX_CNT;
}

ViStatus Vxi11Session::ReadBytes(ViByte* buffer, std::size_t count, std::size_t* returned, const ReadStop& stop,
                                 const Deadline& deadline) {
    std::size_t done = 0;
    // What an earlier call brought beyond its caller's count comes first.
    if (pendingAt_ < pendingEnd_) {
        bool more = false;
        const ViStatus status = TakePending(buffer, count, &done, stop, &more);
        if (more || status != VI_SUCCESS_MAX_CNT || done == count) {
            *returned = done;
            return status;
        }
    }
    ViStatus status = VI_SUCCESS_MAX_CNT;
    while (done < count) {
        // Ask for at least the link's maxRecvSize, so a reply takes one call where the server allows
        // it; what lands beyond the caller's count is held, up to kLargestReadAhead.
        const std::size_t request =
            std::max(count - done, std::min<std::size_t>(maxRecvSize_, kLargestReadAhead));
        std::vector<std::uint8_t> arguments;
        XdrWriter out(arguments);
        out.PutInt32(link_);
        out.PutUint32(static_cast<std::uint32_t>(std::min<std::size_t>(request, UINT32_MAX)));
        out.PutUint32(MillisecondsLeft(deadline));
        out.PutUint32(0);  // lock_timeout
        out.PutUint32(stop.termCharEnabled ? kFlagTermCharSet : 0);
        out.PutUint32(stop.termChar);
        // The data lands in the caller's buffer as it comes off the socket.
        ReplyBulk bulk{kReadResultsHead, buffer + done, count - done};
        XdrReader results(nullptr, 0);
        status = Call(kDeviceRead, arguments, request + kReplyOverhead, deadline, &pending_, &results, &bulk);
        // A failed read may still carry the bytes that arrived before it failed.
        std::int32_t reason = 0;
        std::uint32_t length = 0;
        std::size_t held = 0;  // data bytes left in the record beyond the caller's count
        if (status == VI_SUCCESS || (status != VI_ERROR_IO && pending_.record.size() > pending_.resultsAt)) {
            results.GetInt32(&reason);
            results.GetUint32(&length);
            held = length - std::min<std::size_t>(length, bulk.received);
            if (!results.Ok() || length > request || held > results.Left()) {
                if (!Failed(status)) {
                    lastError_ = "the VXI-11 server sent a malformed device_read reply";
                    status = VI_ERROR_IO;
                }
                length = 0;
                held = 0;
            }
        }
        const std::size_t fits = length - held;
        done += fits;
        if (Failed(status)) break;
        if (held > 0) {
            pendingAt_ = pending_.record.size() - results.Left();
            pendingEnd_ = pendingAt_ + held;
            pendingReason_ = reason;
            status = VI_SUCCESS_MAX_CNT;
            break;
        }
        if (reason & kReasonEnd) {
            status = VI_SUCCESS;
            break;
        }
        if (reason & kReasonTermChar) {
            status = VI_SUCCESS_TERM_CHAR;
            break;
        }
        status = VI_SUCCESS_MAX_CNT;
        if (length == 0 && reason == 0) {
            lastError_ = "the VXI-11 server returned neither data nor a reason to stop";
            status = VI_ERROR_IO;
            break;
        }
        if (done < count && deadline.Expired()) {
            status = VI_ERROR_TMO;
            break;
        }
    }
    *returned = done;
    return status;
}

ViStatus Vxi11Session::WriteBytes(const ViByte* data, std::size_t count, std::size_t* returned, bool end,
                                  const Deadline& deadline) {
    std::size_t done = 0;
    ViStatus status = VI_SUCCESS;
    if (count == 0 && !end) {
        *returned = 0;
        return status;
    }
    // An empty write with END still goes out: it finishes a message.
    do {
        const std::size_t chunk = std::min<std::size_t>(count - done, maxRecvSize_);
        const bool last = done + chunk == count;
        std::vector<std::uint8_t> arguments;
        XdrWriter out(arguments);
        out.PutInt32(link_);
        out.PutUint32(MillisecondsLeft(deadline));
        out.PutUint32(0);  // lock_timeout
        out.PutUint32(last && end ? kFlagEnd : 0);
        out.PutOpaque(data + done, chunk);
        XdrReader results(nullptr, 0);
        status = Call(kDeviceWrite, arguments, kReplyOverhead, deadline, &reply_, &results);
        std::uint32_t accepted = 0;
        if (status == VI_SUCCESS &&
            (!results.GetUint32(&accepted) || accepted > chunk || (accepted == 0 && chunk > 0))) {
            lastError_ = "the VXI-11 server reported taking " + std::to_string(accepted) + " of " +
                         std::to_string(chunk) + " bytes";
            status = VI_ERROR_IO;
        }
        if (Failed(status)) break;
        done += accepted;
    } while (done < count);
    *returned = done;
    return status;
}

ViStatus Vxi11Session::ClearTransport(const Deadline& deadline) {
    pendingAt_ = pendingEnd_ = 0;
    return Generic(kDeviceClear, deadline);
}

ViStatus Vxi11Session::ReadStatusByteFromPeer(ViUInt16* statusByte, const Deadline& deadline) {
    std::vector<std::uint8_t> arguments;
    XdrWriter out(arguments);
    out.PutInt32(link_);
    out.PutUint32(0);
    out.PutUint32(0);
    out.PutUint32(MillisecondsLeft(deadline));
    XdrReader results(nullptr, 0);
    ViStatus status = Call(kDeviceReadStb, arguments, kReplyOverhead, deadline, &reply_, &results);
    std::uint32_t stb = 0;
    if (!Failed(status) && (!results.GetUint32(&stb) || stb > 0xFF)) {
        lastError_ = "the VXI-11 server sent a malformed device_readstb reply";
        status = VI_ERROR_IO;
    }
    if (!Failed(status)) *statusByte = static_cast<ViUInt16>(stb);
    return status;
}

ViStatus Vxi11Session::Lock(ViUInt32 lockType, ViUInt32 timeoutMs, std::string_view requestedKey,
                            std::string* accessKey) {
    const auto start = std::chrono::steady_clock::now();
    ViStatus status = SessionBase::Lock(lockType, timeoutMs, requestedKey, accessKey);
    if (Failed(status) || lockType != VI_EXCLUSIVE_LOCK) return status;
    ++exclusiveDepth_;
    if (deviceLocked_) return status;

    ViUInt32 left = timeoutMs;
    if (timeoutMs != VI_TMO_INFINITE) {
        auto spent = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
        left = spent.count() >= timeoutMs ? 0 : timeoutMs - static_cast<ViUInt32>(spent.count());
    }
    std::vector<std::uint8_t> arguments;
    XdrWriter out(arguments);
    out.PutInt32(link_);
    out.PutUint32(left > 0 ? kFlagWaitLock : 0);
    out.PutUint32(left);
    XdrReader results(nullptr, 0);
    ViStatus remote = Call(kDeviceLock, arguments, kReplyOverhead, Deadline::After(left), &reply_, &results);
    if (Failed(remote)) {
        --exclusiveDepth_;
        SessionBase::Unlock();
        return remote;
    }
    deviceLocked_ = true;
    return status;
}

ViStatus Vxi11Session::Unlock() {
    ViStatus status = SessionBase::Unlock();
    if (Failed(status) || exclusiveDepth_ == 0 || --exclusiveDepth_ > 0 || !deviceLocked_) return status;
    deviceLocked_ = false;
    std::vector<std::uint8_t> arguments;
    XdrWriter out(arguments);
    out.PutInt32(link_);
    XdrReader results(nullptr, 0);
    ViStatus remote = Call(kDeviceUnlock, arguments, kReplyOverhead, Deadline::After(Timeout()), &reply_, &results);
    return Failed(remote) ? remote : status;
}

ViStatus Vxi11Session::CloseTransport() {
    // The instrument drops the link with the connection anyway; destroy_link says so politely.
    std::vector<std::uint8_t> arguments;
    XdrWriter out(arguments);
    out.PutInt32(link_);
    XdrReader results(nullptr, 0);
    Call(kDestroyLink, arguments, kReplyOverhead, Deadline::After(std::min<ViUInt32>(Timeout(), kCloseBudgetMs)),
         &reply_, &results);
    return core_->Close();
}

}  // namespace zpv::visa
