#include "platform/visa/hislip_session.h"

#include <algorithm>
#include <chrono>

#include "platform/visa/hislip_errors.h"
#include "platform/visa/tcp_connector.h"
#include "platform/text/sentence.h"

namespace zpv::visa {

namespace {

using hislip::Header;
using hislip::MessageType;

constexpr std::uint16_t kVendorId = 0x5A50;  // "ZP"
constexpr std::size_t kLongestErrorText = 64 * 1024;
// Time for an answer whose wait the server measures itself (a lock request) to travel back.
constexpr ViUInt32 kAnswerGraceMs = 200;
// Asking who holds the lock after a timeout must not stretch the failed read much.
constexpr ViUInt32 kLockInfoBudgetMs = 100;
constexpr std::uint8_t kRmtDelivered = 1;
constexpr std::uint8_t kLockRequest = 1;
constexpr std::uint8_t kLockRelease = 0;

enum LockAnswer : std::uint8_t { kLockFailed = 0, kLockGranted = 1, kSharedReleased = 2, kLockError = 3 };

std::string BigEndian64(std::uint64_t value) {
    std::string bytes(8, '\0');
    for (int i = 0; i < 8; ++i) bytes[i] = static_cast<char>(value >> (56 - 8 * i));
    return bytes;
}

std::uint64_t FromBigEndian64(const std::string& bytes) {
    std::uint64_t value = 0;
    for (unsigned char c : bytes) value = value << 8 | c;
    return value;
}

// One step of the opening handshake: the expected answer, or a detail saying why there is none.
ViStatus Expect(HislipChannel& channel, MessageType expected, const Deadline& deadline, const std::string& where,
                Header* header, std::string* payload, std::string* detail) {
    ViStatus status = channel.NextHeader(header, deadline);
    if (status == VI_ERROR_TMO) {
        *detail = "No answer from the HiSLIP server at " + where + " in time.";
        return status;
    }
    if (Failed(status)) {
        *detail = "No HiSLIP service at " + where + ": " +
                  (status == VI_ERROR_IO ? "the server does not speak HiSLIP." : "the server closed the connection.");
        return VI_ERROR_RSRC_NFOUND;
    }
    const bool fatal = header->type == MessageType::FatalError;
    if (fatal || header->type == MessageType::Error) {
        std::string text;
        channel.ReadSmallPayload(&text, kLongestErrorText, deadline);
        *detail = "HiSLIP server rejected the session: " +
                  (fatal ? HislipFatalErrorText(header->control) : HislipErrorText(header->control)) +
                  (text.empty() ? "" : " (" + text + ")") + ".";
        return fatal ? HislipRefusalStatus(header->control) : VI_ERROR_RSRC_NFOUND;
    }
    if (header->type != expected) {
        *detail = "No HiSLIP service at " + where + ": the server answered with " +
                  hislip::MessageTypeName(header->type) + " instead of " + hislip::MessageTypeName(expected) + ".";
        return VI_ERROR_RSRC_NFOUND;
    }
    if (payload && Failed(status = channel.ReadSmallPayload(payload, 64, deadline))) {
        *detail = "The HiSLIP server at " + where + " sent a malformed " + hislip::MessageTypeName(expected) + ".";
        return VI_ERROR_IO;
    }
    return VI_SUCCESS;
}

}  // namespace

ViStatus HislipSession::Open(const ResourceDescriptor& descriptor, const OpenContext& context,
                             std::unique_ptr<MessageSession>* session) {
    Deadline deadline = Deadline::After(context.openTimeoutMs);
    const std::string where = HostPort(descriptor.host, descriptor.port);
    std::string why;
    std::unique_ptr<HislipChannel> channels[2];
    for (auto& channel : channels) {
        int fd = -1;
        if (ViStatus status = ConnectTcp(descriptor.host, descriptor.port, deadline, &fd, &why); Failed(status)) {
            *context.detail = "No HiSLIP service at " + where + ": " + text::Sentence(why);
            return status;
        }
        channel = std::make_unique<HislipChannel>(fd);
    }
    HislipChannel& sync = *channels[0];
    HislipChannel& async = *channels[1];

    std::size_t sent = 0;
    Header header;
    std::string payload;
    ViStatus status = sync.Send(MessageType::Initialize, 0, std::uint32_t{hislip::kProtocolVersion} << 16 | kVendorId,
                                descriptor.deviceName, deadline, &sent);
    if (!Failed(status))
        status = Expect(sync, MessageType::InitializeResponse, deadline, where, &header, nullptr, context.detail);
    if (Failed(status)) return status;
    const bool overlapped = header.control & 1;
    const std::uint16_t sessionId = static_cast<std::uint16_t>(header.parameter);

    status = async.Send(MessageType::AsyncInitialize, 0, sessionId, {}, deadline, &sent);
    if (!Failed(status))
        status = Expect(async, MessageType::AsyncInitializeResponse, deadline, where, &header, nullptr, context.detail);
    if (Failed(status)) return status;

    status =
        async.Send(MessageType::AsyncMaximumMessageSize, 0, 0, BigEndian64(kLargestIncomingMessage), deadline, &sent);
    if (!Failed(status))
        status = Expect(async, MessageType::AsyncMaximumMessageSizeResponse, deadline, where, &header, &payload,
                        context.detail);
    if (Failed(status)) return status;
    if (payload.size() != 8) {
        *context.detail = "The HiSLIP server at " + where + " sent a malformed AsyncMaximumMessageSizeResponse.";
        return VI_ERROR_IO;
    }
    *session = std::make_unique<HislipSession>(descriptor, std::move(channels[0]), std::move(channels[1]), overlapped,
                                               FromBigEndian64(payload));
    return VI_SUCCESS;
}

HislipSession::HislipSession(ResourceDescriptor descriptor, std::unique_ptr<HislipChannel> sync,
                             std::unique_ptr<HislipChannel> async, bool overlapped, std::uint64_t serverMaxMessage)
    : SessionBase(std::move(descriptor)),
      sync_(std::move(sync)),
      async_(std::move(async)),
      overlapped_(overlapped),
      serverMaxMessage_(serverMaxMessage) {}

ViStatus HislipSession::Lost(ViStatus status, std::string why) {
    lost_ = true;
    lastError_ = std::move(why);
    return status;
}

ViStatus HislipSession::ServerError(HislipChannel& channel, const Header& header, const Deadline& deadline) {
    std::string text;
    channel.ReadSmallPayload(&text, kLongestErrorText, deadline);
    if (header.type == MessageType::FatalError) {
        sync_->Close();
        async_->Close();
        return Lost(VI_ERROR_CONN_LOST, "HiSLIP server ended the session: " + HislipFatalErrorText(header.control) +
                                            (text.empty() ? "" : " (" + text + ")"));
    }
    lastError_ = "HiSLIP server reported " + HislipErrorText(header.control) + (text.empty() ? "" : " (" + text + ")");
    return HislipErrorStatus(header.control);
}

ViStatus HislipSession::ReadBytes(ViByte* buffer, std::size_t count, std::size_t* returned, const ReadStop& stop,
                                  const Deadline& deadline) {
    std::size_t done = 0;
    ViStatus status = VI_SUCCESS_MAX_CNT;
    for (bool first = true; done < count; first = false) {
        if (lost_) {
            status = VI_ERROR_CONN_LOST;
            break;
        }
        if (inData_) {
            std::size_t got = 0;
            status = sync_->ReadPayload(buffer + done, count - done, &got,
                                        StreamDelimiters{stop.termCharEnabled, stop.termChar}, deadline);
            done += got;
            if (Failed(status)) break;
            if (sync_->PayloadLeft() == 0) {
                inData_ = false;
                if (dataEnds_) {
                    // END wins over the termination character on the same byte.
                    rmtDelivered_ = true;
                    status = VI_SUCCESS;
                    break;
                }
            }
            if (status == VI_SUCCESS_TERM_CHAR) break;
            status = VI_SUCCESS_MAX_CNT;
            continue;
        }
        // A server sending nothing but messages we drop must not keep us past the timeout.
        if (!first && deadline.Expired()) {
            status = VI_ERROR_TMO;
            break;
        }
        Header header;
        if (status = sync_->NextHeader(&header, deadline); Failed(status)) {
            if (status == VI_ERROR_IO)
                status = Lost(status, "the HiSLIP server sent bytes that are not a message header");
            break;
        }
        status = VI_SUCCESS_MAX_CNT;
        switch (header.type) {
            case MessageType::Data:
            case MessageType::DataEnd:
                if (header.payloadLength > kLargestIncomingMessage) {
                    status = Lost(VI_ERROR_IO, "the HiSLIP server sent a message larger than announced");
                    break;
                }
                // In synchronized mode an answer to an earlier query is left over; drop it.
                if (!overlapped_ && header.parameter != awaitedId_) continue;
                inData_ = true;
                dataEnds_ = header.type == MessageType::DataEnd;
                if (header.payloadLength == 0 && dataEnds_) {
                    inData_ = false;
                    rmtDelivered_ = true;
                    status = VI_SUCCESS;
                }
                break;
            case MessageType::Error:
            case MessageType::FatalError:
                status = ServerError(*sync_, header, deadline);
                break;
            default:
                // Interrupted, and whatever else a server may say here: nothing for the reader.
                continue;
        }
        if (status == VI_SUCCESS || Failed(status)) break;
    }
    if (status == VI_ERROR_TMO && exclusiveDepth_ == 0 && sharedDepth_ == 0 && LockedByAnother()) {
        lastError_ = "the instrument is locked by another client";
        status = VI_ERROR_RSRC_LOCKED;
    }
    *returned = done;
    return status;
}

ViStatus HislipSession::WriteBytes(const ViByte* data, std::size_t count, std::size_t* returned, bool end,
                                   const Deadline& deadline) {
    std::size_t done = 0;
    ViStatus status = VI_SUCCESS;
    if (lost_) status = VI_ERROR_CONN_LOST;
    // Keep below the server's limit, header included.
    const std::uint64_t largest = std::max<std::uint64_t>(serverMaxMessage_ > 16 ? serverMaxMessage_ - 16 : 0, 1);
    while (!Failed(status) && (done < count || (end && count == 0 && done == 0))) {
        const std::size_t chunk = static_cast<std::size_t>(std::min<std::uint64_t>(count - done, largest));
        const bool last = done + chunk == count;
        const MessageType type = last && end ? MessageType::DataEnd : MessageType::Data;
        std::size_t sent = 0;
        status =
            sync_->Send(type, rmtDelivered_ ? kRmtDelivered : 0, nextMessageId_, data + done, chunk, deadline, &sent);
        if (Failed(status)) {
            if (sent > 0) status = Lost(status, "a message went out only in part; the HiSLIP stream has lost step");
            break;
        }
        rmtDelivered_ = false;
        lastSentId_ = nextMessageId_;
        nextMessageId_ += hislip::kMessageIdStep;
        if (type == MessageType::DataEnd) {
            awaitedId_ = lastSentId_;
            // What is left of an earlier answer is no longer wanted.
            if (!overlapped_) inData_ = false;
        }
        done += chunk;
        if (count == 0) break;
    }
    *returned = done;
    return status;
}

ViStatus HislipSession::AsyncExchange(MessageType request, std::uint8_t control, std::uint32_t parameter,
                                      std::string_view payload, MessageType expected, const Deadline& deadline,
                                      Header* answer, std::string* answerPayload) {
    if (lost_) return VI_ERROR_CONN_LOST;
    std::size_t sent = 0;
    ViStatus status = async_->Send(request, control, parameter, payload, deadline, &sent);
    if (Failed(status)) {
        return sent > 0 ? Lost(status, "a request went out only in part; the HiSLIP stream has lost step") : status;
    }
    ++asyncOutstanding_;
    for (;;) {
        if (status = async_->NextHeader(answer, deadline); Failed(status)) {
            if (status == VI_ERROR_IO)
                return Lost(status, "the HiSLIP server sent bytes that are not a message header");
            lastError_ = "no " + hislip::MessageTypeName(expected) + " from the HiSLIP server";
            return status;
        }
        if (answer->type == MessageType::FatalError) return ServerError(*async_, *answer, deadline);
        if (!hislip::IsAsyncAnswer(answer->type)) continue;  // service requests and the like
        // Answers come in order: those to requests we gave up on come first.
        if (--asyncOutstanding_ > 0) continue;
        if (answer->type == MessageType::Error) return ServerError(*async_, *answer, deadline);
        if (answer->type != expected) {
            lastError_ = "the HiSLIP server answered " + hislip::MessageTypeName(request) + " with " +
                         hislip::MessageTypeName(answer->type);
            return VI_ERROR_IO;
        }
        if (answerPayload && Failed(async_->ReadSmallPayload(answerPayload, 64, deadline))) {
            lastError_ = "the HiSLIP server sent a malformed " + hislip::MessageTypeName(expected);
            return VI_ERROR_IO;
        }
        return VI_SUCCESS;
    }
}

ViStatus HislipSession::ClearTransport(const Deadline& deadline) {
    Header answer;
    ViStatus status = AsyncExchange(MessageType::AsyncDeviceClear, 0, 0, {}, MessageType::AsyncDeviceClearAcknowledge,
                                    deadline, &answer);
    if (Failed(status)) return status;
    // Whatever is left of an answer goes; then we ask to continue in synchronized mode.
    inData_ = false;
    std::size_t sent = 0;
    status = sync_->Send(MessageType::DeviceClearComplete, 0, 0, {}, deadline, &sent);
    if (Failed(status)) return sent > 0 ? Lost(status, "device clear went out only in part") : status;
    for (;;) {
        Header header;
        if (status = sync_->NextHeader(&header, deadline); Failed(status)) {
            if (status == VI_ERROR_IO)
                return Lost(status, "the HiSLIP server sent bytes that are not a message header");
            lastError_ = "no DeviceClearAcknowledge from the HiSLIP server";
            return status;
        }
        if (header.type == MessageType::FatalError) return ServerError(*sync_, header, deadline);
        if (header.type != MessageType::DeviceClearAcknowledge) continue;  // answers and interrupts are void now
        overlapped_ = header.control & 1;
        break;
    }
    nextMessageId_ = hislip::kFirstMessageId;
    lastSentId_ = awaitedId_ = hislip::kFirstMessageId - hislip::kMessageIdStep;
    rmtDelivered_ = false;
    return VI_SUCCESS;
}

ViStatus HislipSession::ReadStatusByteFromPeer(ViUInt16* statusByte, const Deadline& deadline) {
    Header answer;
    ViStatus status = AsyncExchange(MessageType::AsyncStatusQuery, rmtDelivered_ ? kRmtDelivered : 0, lastSentId_, {},
                                    MessageType::AsyncStatusResponse, deadline, &answer);
    if (Failed(status)) return status;
    rmtDelivered_ = false;
    *statusByte = answer.control;
    return VI_SUCCESS;
}

bool HislipSession::LockedByAnother() {
    Header answer;
    ViStatus status = AsyncExchange(MessageType::AsyncLockInfo, 0, 0, {}, MessageType::AsyncLockInfoResponse,
                                    Deadline::After(std::min(kLockInfoBudgetMs, Timeout())), &answer);
    return !Failed(status) && ((answer.control & 1) || answer.parameter > 0);
}

ViStatus HislipSession::LockOnServer(bool exclusive, std::string_view key, ViUInt32 timeoutMs) {
    Header answer;
    // The server waits timeoutMs itself; its answer then needs a moment to arrive.
    const ViUInt32 patience = std::min<ViUInt32>(timeoutMs, VI_TMO_INFINITE - kAnswerGraceMs - 1) + kAnswerGraceMs;
    const Deadline deadline = Deadline::After(timeoutMs == VI_TMO_INFINITE ? VI_TMO_INFINITE : patience);
    ViStatus status =
        AsyncExchange(MessageType::AsyncLock, kLockRequest, timeoutMs, exclusive ? std::string_view{} : key,
                      MessageType::AsyncLockResponse, deadline, &answer);
    if (Failed(status)) return status;
    if (answer.control == kLockGranted) return VI_SUCCESS;
    lastError_ = answer.control == kLockFailed ? "another client holds the instrument's lock"
                                               : "the HiSLIP server refused the lock request";
    return answer.control == kLockFailed ? VI_ERROR_RSRC_LOCKED : VI_ERROR_IO;
}

ViStatus HislipSession::ReleaseOnServer(bool exclusive) {
    Header answer;
    ViStatus status = AsyncExchange(MessageType::AsyncLock, kLockRelease, lastSentId_, {},
                                    MessageType::AsyncLockResponse, Deadline::After(Timeout()), &answer);
    if (Failed(status)) return status;
    if (answer.control == (exclusive ? kLockGranted : kSharedReleased)) return VI_SUCCESS;
    lastError_ = "the HiSLIP server did not release the lock as asked";
    return VI_ERROR_IO;
}

ViStatus HislipSession::Lock(ViUInt32 lockType, ViUInt32 timeoutMs, std::string_view requestedKey,
                             std::string* accessKey) {
    const auto start = std::chrono::steady_clock::now();
    std::string key;
    ViStatus status = SessionBase::Lock(lockType, timeoutMs, requestedKey, &key);
    if (Failed(status)) return status;
    const bool exclusive = lockType == VI_EXCLUSIVE_LOCK;
    unsigned& depth = exclusive ? exclusiveDepth_ : sharedDepth_;
    if (depth++ == 0) {
        ViUInt32 left = timeoutMs;
        if (timeoutMs != VI_TMO_INFINITE) {
            auto spent =
                std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
            left = spent.count() >= timeoutMs ? 0 : timeoutMs - static_cast<ViUInt32>(spent.count());
        }
        if (ViStatus remote = LockOnServer(exclusive, key, left); Failed(remote)) {
            --depth;
            SessionBase::Unlock();
            return remote;
        }
    }
    if (accessKey) *accessKey = key;
    return status;
}

ViStatus HislipSession::Unlock() {
    ViStatus status = SessionBase::Unlock();
    if (Failed(status)) return status;
    // The local table drops the exclusive lock first; so do we.
    const bool exclusive = exclusiveDepth_ > 0;
    unsigned& depth = exclusive ? exclusiveDepth_ : sharedDepth_;
    if (depth == 0 || --depth > 0) return status;
    ViStatus remote = ReleaseOnServer(exclusive);
    return Failed(remote) ? remote : status;
}

ViStatus HislipSession::CloseTransport() {
    ViStatus syncClosed = sync_->Close();
    ViStatus asyncClosed = async_->Close();
    return Failed(syncClosed) ? syncClosed : asyncClosed;
}

}  // namespace zpv::visa
