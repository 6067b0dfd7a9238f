#include "platform/visa/onc_rpc_client.h"

#include <algorithm>
#include <chrono>

namespace zpv::visa {

namespace {

constexpr std::uint32_t kRpcVersion = 2;
constexpr std::uint32_t kCall = 0;
constexpr std::uint32_t kReply = 1;
constexpr std::uint32_t kAccepted = 0;
constexpr std::uint32_t kDenied = 1;
constexpr std::uint32_t kLastFragment = 0x80000000u;
constexpr std::size_t kMaxAuthBody = 400;
constexpr std::size_t kReceiveChunk = 1 << 20;
// Arguments up to this size are copied behind the call header and sent in one piece.
constexpr std::size_t kCoalesceLimit = 64 * 1024;
// xid, message type, reply_stat, verifier flavour and length: what tells where the results start.
constexpr std::size_t kReplyHeaderBytes = 20;

struct RpcFailureRow {
    std::uint32_t code;
    ViStatus status;
    const char* text;
};

// accept_stat values other than SUCCESS.
constexpr RpcFailureRow kAcceptFailures[] = {
    {1, VI_ERROR_NSUP_OPER, "the server does not offer the program"},
    {2, VI_ERROR_NSUP_OPER, "the server does not offer this version of the program"},
    {3, VI_ERROR_NSUP_OPER, "the server does not offer the procedure"},
    {4, VI_ERROR_IO, "the server could not decode the arguments"},
    {5, VI_ERROR_IO, "the server failed with a system error"},
};

// reject_stat values of a denied call.
constexpr RpcFailureRow kRejections[] = {
    {0, VI_ERROR_IO, "the server does not speak RPC version 2"},
    {1, VI_ERROR_NPERMISSION, "the server refused our credentials"},
};

const RpcFailureRow* FindRow(const RpcFailureRow* begin, const RpcFailureRow* end, std::uint32_t code) {
    const RpcFailureRow* row = std::find_if(begin, end, [&](const RpcFailureRow& r) { return r.code == code; });
    return row == end ? nullptr : row;
}

std::uint32_t FirstXid() {
    // Different connections start apart, so a reply routed to the wrong one is noticed.
    auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    return static_cast<std::uint32_t>(ticks ^ (ticks >> 32));
}

}  // namespace

OncRpcClient::OncRpcClient(int fd, std::uint32_t program, std::uint32_t version)
    : channel_(fd, StreamChannel::Kind::Socket), program_(program), version_(version), nextXid_(FirstXid()) {}

ViStatus OncRpcClient::Fail(ViStatus status, std::string why) {
    lastError_ = std::move(why);
    return status;
}

void OncRpcClient::Abandon(std::uint32_t xid, std::size_t maxReply) {
    if (!haveStale_) staleFrom_ = xid;
    haveStale_ = true;
    staleMaxReply_ = std::max(staleMaxReply_, maxReply);
}

bool OncRpcClient::Abandoned(std::uint32_t xid) const {
    return haveStale_ && xid - staleFrom_ < nextXid_ - staleFrom_;
}

ViStatus OncRpcClient::Call(std::uint32_t procedure, const std::vector<std::uint8_t>& arguments,
                            std::size_t maxReply, const Deadline& deadline, RpcReply* reply, ReplyBulk* bulk) {
    if (bulk) bulk->received = 0;
    if (broken_) return Fail(VI_ERROR_CONN_LOST, "the connection lost step with the server after an interrupted call");
    if (channel_.Fd() < 0) return Fail(VI_ERROR_CONN_LOST, "the connection is closed");

    const std::uint32_t xid = nextXid_++;
    // Long arguments (a device_write's data) go out from where they are, behind the header.
    const bool apart = arguments.size() > kCoalesceLimit;
    std::vector<std::uint8_t> record(4);
    record.reserve(44 + (apart ? 0 : arguments.size()));
    XdrWriter out(record);
    out.PutUint32(xid);
    out.PutUint32(kCall);
    out.PutUint32(kRpcVersion);
    out.PutUint32(program_);
    out.PutUint32(version_);
    out.PutUint32(procedure);
    for (int i = 0; i < 2; ++i) {  // credentials and verifier: AUTH_NONE
        out.PutUint32(0);
        out.PutUint32(0);
    }
    if (!apart) record.insert(record.end(), arguments.begin(), arguments.end());
    const std::size_t length = record.size() - 4 + (apart ? arguments.size() : 0);
    const std::uint32_t mark = kLastFragment | static_cast<std::uint32_t>(length);
    for (int i = 0; i < 4; ++i) record[i] = static_cast<std::uint8_t>(mark >> (24 - 8 * i));

    std::size_t sent = 0;
    ViStatus status = channel_.Write(record.data(), record.size(), &sent, deadline, apart);
    if (apart && !Failed(status)) {
        std::size_t body = 0;
        status = channel_.Write(arguments.data(), arguments.size(), &body, deadline);
        sent += body;
    }
    if (Failed(status)) {
        if (sent > 0) broken_ = true;
        return Fail(status, status == VI_ERROR_TMO ? "the server did not take the call in time"
                                                   : "the call could not be sent: " + StatusDescription(status));
    }

    // The caller's storage is ours only until this call returns: the rest of a reply we give up on
    // is received into the record, to be skipped.
    bulk_ = bulk;
    bulkXid_ = xid;
    struct BulkRelease {
        OncRpcClient& client;
        ~BulkRelease() {
            client.bulk_ = nullptr;
            client.bulkOn_ = false;
        }
    } release{*this};
    for (;;) {
        status = ReadRecord(std::max(maxReply, staleMaxReply_), deadline);
        if (status == VI_ERROR_TMO) {
            Abandon(xid, maxReply);
            return Fail(status, "no reply in time");
        }
        if (Failed(status)) return status;  // ReadRecord said why
        std::uint32_t replyXid = 0;
        XdrReader peek(record_.data(), record_.size());
        if (!peek.GetUint32(&replyXid)) {
            Abandon(xid, maxReply);
            StartNextRecord();
            return Fail(VI_ERROR_IO, "the server sent a record too short for an RPC reply");
        }
        if (replyXid == xid) break;
        if (Abandoned(replyXid)) {
            StartNextRecord();
            continue;
        }
        Abandon(xid, maxReply);
        StartNextRecord();
        return Fail(VI_ERROR_IO, "the server answered transaction " + std::to_string(replyXid) +
                                     " while we waited for " + std::to_string(xid));
    }
    // Replies come in order, so nothing older is still on its way.
    haveStale_ = false;
    staleMaxReply_ = 0;
    return DecodeReply(xid, reply);
}

void OncRpcClient::StartNextRecord() {
    record_.clear();
    recordLength_ = 0;
    headNeed_ = kReplyHeaderBytes;
    bulkDecided_ = bulkOn_ = false;
}

void OncRpcClient::DecideBulk() {
    XdrReader head(record_.data(), record_.size());
    std::uint32_t xid = 0, type = 0, replyStat = 0, flavour = 0, verifierLength = 0, acceptStat = 0;
    head.GetUint32(&xid);
    head.GetUint32(&type);
    head.GetUint32(&replyStat);
    head.GetUint32(&flavour);
    head.GetUint32(&verifierLength);
    if (!head.Ok() || xid != bulkXid_ || type != kReply || replyStat != kAccepted || verifierLength > kMaxAuthBody) {
        bulkDecided_ = true;
        return;
    }
    // Only a successful reply has results: wait for accept_stat behind the verifier's body.
    const std::size_t acceptAt = kReplyHeaderBytes + (verifierLength + 3) / 4 * 4;
    if (record_.size() < acceptAt + 4) {
        headNeed_ = acceptAt + 4;
        return;
    }
    bulkDecided_ = true;
    head.Skip(acceptAt - kReplyHeaderBytes);
    if (!head.GetUint32(&acceptStat) || acceptStat != 0) return;
    bulkFrom_ = acceptAt + 4 + bulk_->headBytes;
    bulkOn_ = true;
}

ViStatus OncRpcClient::ReadRecord(std::size_t maxRecord, const Deadline& deadline) {
    for (;;) {
        if (!inFragment_) {
            std::size_t got = 0;
            ViStatus status =
                channel_.Read(markHeader_ + markHeaderHave_, 4 - markHeaderHave_, &got, StreamDelimiters{}, deadline);
            markHeaderHave_ += got;
            if (Failed(status)) {
                if (status == VI_ERROR_CONN_LOST) return Fail(status, "the server closed the connection");
                return status == VI_ERROR_TMO ? status : Fail(status, "receiving the reply failed");
            }
            const std::uint32_t mark = static_cast<std::uint32_t>(markHeader_[0]) << 24 |
                                       static_cast<std::uint32_t>(markHeader_[1]) << 16 |
                                       static_cast<std::uint32_t>(markHeader_[2]) << 8 | markHeader_[3];
            markHeaderHave_ = 0;
            fragmentLeft_ = mark & ~kLastFragment;
            lastFragment_ = (mark & kLastFragment) != 0;
            inFragment_ = true;
            if (recordLength_ + fragmentLeft_ > maxRecord) {
                broken_ = true;
                return Fail(VI_ERROR_IO, "the server announced a reply of " +
                                             std::to_string(recordLength_ + fragmentLeft_) + " bytes, more than the " +
                                             std::to_string(maxRecord) + " expected");
            }
        }
        while (fragmentLeft_ > 0) {
            std::size_t got = 0;
            ViStatus status;
            if (bulkOn_ && recordLength_ >= bulkFrom_ && bulk_->received < bulk_->capacity) {
                const std::size_t want = std::min(fragmentLeft_, bulk_->capacity - bulk_->received);
                status = channel_.Read(bulk_->into + bulk_->received, want, &got, StreamDelimiters{}, deadline);
                bulk_->received += got;
            } else {
                // The header, up to where bulk data may begin, comes in small reads (the channel
                // buffers them); everything else in large ones.
                std::size_t want = std::min(fragmentLeft_, kReceiveChunk);
                if (bulkOn_ && recordLength_ < bulkFrom_) want = std::min(want, bulkFrom_ - recordLength_);
                if (bulk_ && !bulkDecided_ && record_.size() < headNeed_) want = std::min(want, headNeed_ - record_.size());
                const std::size_t old = record_.size();
                record_.resize(old + want);
                status = channel_.Read(record_.data() + old, want, &got, StreamDelimiters{}, deadline);
                record_.resize(old + got);
            }
            fragmentLeft_ -= got;
            recordLength_ += got;
            if (bulk_ && !bulkDecided_ && record_.size() >= headNeed_) DecideBulk();
            if (Failed(status)) {
                if (status == VI_ERROR_CONN_LOST) return Fail(status, "the server closed the connection mid-reply");
                return status == VI_ERROR_TMO ? status : Fail(status, "receiving the reply failed");
            }
        }
        inFragment_ = false;
        if (lastFragment_) return VI_SUCCESS;
    }
}

ViStatus OncRpcClient::DecodeReply(std::uint32_t xid, RpcReply* reply) {
    reply->record.swap(record_);
    StartNextRecord();
    XdrReader in(reply->record.data(), reply->record.size());
    std::uint32_t ignored = 0, type = 0, replyStat = 0, code = 0;
    in.GetUint32(&ignored);
    in.GetUint32(&type);
    in.GetUint32(&replyStat);
    if (!in.Ok() || type != kReply) return Fail(VI_ERROR_IO, "the server sent a record that is not an RPC reply");

    if (replyStat == kAccepted) {
        const std::uint8_t* body = nullptr;
        std::size_t length = 0;
        in.GetUint32(&ignored);  // verifier flavour
        in.GetOpaque(&body, &length, kMaxAuthBody);
        in.GetUint32(&code);
        if (!in.Ok()) return Fail(VI_ERROR_IO, "the server sent a truncated RPC reply");
        if (code == 0) {
            reply->resultsAt = reply->record.size() - in.Left();
            return VI_SUCCESS;
        }
        const RpcFailureRow* row = FindRow(std::begin(kAcceptFailures), std::end(kAcceptFailures), code);
        return row ? Fail(row->status, row->text)
                   : Fail(VI_ERROR_IO, "the server answered call " + std::to_string(xid) + " with unknown status " +
                                           std::to_string(code));
    }
    if (replyStat == kDenied && in.GetUint32(&code)) {
        const RpcFailureRow* row = FindRow(std::begin(kRejections), std::end(kRejections), code);
        if (row) return Fail(row->status, row->text);
    }
    return Fail(VI_ERROR_IO, "the server sent a malformed RPC reply");
}

}  // namespace zpv::visa
