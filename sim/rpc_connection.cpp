#include "rpc_connection.h"

#include <algorithm>

#include "tcp_service.h"

namespace zpv::sim {

namespace {

constexpr std::uint32_t kCall = 0;
constexpr std::uint32_t kReply = 1;
constexpr std::uint32_t kRpcVersion = 2;
constexpr std::uint32_t kLastFragment = 0x80000000u;
constexpr std::size_t kMaxAuthBody = 400;
constexpr std::size_t kKeptReplyCapacity = 64 * 1024;

enum AcceptStatus : std::uint32_t {
    kSuccess = 0,
    kProgUnavail = 1,
    kProgMismatch = 2,
    kProcUnavail = 3,
    kGarbageArgs = 4
};

void PutAcceptedHeader(XdrOut& out, std::uint32_t xid, std::uint32_t status) {
    out.Uint(xid);
    out.Uint(kReply);
    out.Uint(0);  // MSG_ACCEPTED
    out.Uint(0);  // verifier AUTH_NONE
    out.Uint(0);
    out.Uint(status);
}

}  // namespace

bool HandleRpcCall(std::string_view record, std::span<const RpcProgram> programs, const RpcHandler& handler,
                   std::string* reply, XdrTail* tail) {
    const std::size_t start = reply->size();
    XdrOut out(*reply);
    XdrIn in(record);
    const std::uint32_t xid = in.Uint();
    const std::uint32_t type = in.Uint();
    if (!in.ok() || type != kCall) return true;
    const std::uint32_t rpcVersion = in.Uint();
    RpcCall call{xid, in.Uint(), in.Uint(), in.Uint(), XdrIn({})};
    for (int i = 0; i < 2; ++i) {  // credentials and verifier, whatever their flavour
        in.Uint();
        in.Opaque(kMaxAuthBody);
    }
    if (!in.ok()) return false;
    if (rpcVersion != kRpcVersion) {
        out.Uint(xid);
        out.Uint(kReply);
        out.Uint(1);  // MSG_DENIED
        out.Uint(0);  // RPC_MISMATCH
        out.Uint(kRpcVersion);
        out.Uint(kRpcVersion);
        return true;
    }

    std::uint32_t low = UINT32_MAX, high = 0;
    bool exact = false;
    for (const RpcProgram& p : programs) {
        if (p.number != call.program) continue;
        low = std::min(low, p.version);
        high = std::max(high, p.version);
        exact = exact || p.version == call.version;
    }
    if (low > high) {
        PutAcceptedHeader(out, xid, kProgUnavail);
        return true;
    }
    if (!exact) {
        PutAcceptedHeader(out, xid, kProgMismatch);
        out.Uint(low);
        out.Uint(high);
        return true;
    }

    call.arguments = in;
    // The results follow the header in the same buffer; bulk data may stay where it lies.
    PutAcceptedHeader(out, xid, kSuccess);
    XdrOut results(*reply, tail);
    const RpcOutcome outcome = handler(call, results);
    if (outcome == RpcOutcome::Reply) return true;
    reply->resize(start);
    if (tail) *tail = {};
    if (outcome == RpcOutcome::Drop) return false;
    PutAcceptedHeader(out, xid, outcome == RpcOutcome::NoProcedure ? kProcUnavail : kGarbageArgs);
    return true;
}

bool ReceiveRecord(int fd, int stopFd, std::size_t maxRecord, std::string* record) {
    record->clear();
    for (;;) {
        unsigned char mark[4];
        if (!ReceiveExactly(fd, stopFd, mark, sizeof mark)) return false;
        const std::uint32_t word = static_cast<std::uint32_t>(mark[0]) << 24 |
                                   static_cast<std::uint32_t>(mark[1]) << 16 |
                                   static_cast<std::uint32_t>(mark[2]) << 8 | mark[3];
        const std::size_t length = word & ~kLastFragment;
        if (length > maxRecord - std::min(maxRecord, record->size())) return false;
        if (!ReceiveAppending(fd, stopFd, length, record)) return false;
        if (word & kLastFragment) return true;
    }
}

bool SendRecord(int fd, std::string_view record) {
    std::string framed;
    framed.reserve(record.size() + 4);
    XdrOut(framed).Uint(kLastFragment | static_cast<std::uint32_t>(record.size()));
    framed.append(record);
    return SendAll(fd, framed);
}

void ServeRpcConnection(int fd, int stopFd, std::span<const RpcProgram> programs, std::size_t maxRecord,
                        const RpcHandler& handler) {
    std::string record, reply;
    while (ReceiveRecord(fd, stopFd, maxRecord, &record)) {
        // Room for the record mark first: the reply goes out as it was built, with its bulk data
        // from where it lies, in one send.
        reply.assign(4, '\0');
        XdrTail tail;
        if (!HandleRpcCall(record, programs, handler, &reply, &tail)) return;
        if (reply.size() == 4) continue;
        static constexpr char kPadding[4] = {};
        const std::string_view padding(kPadding, (4 - tail.bytes.size() % 4) % 4);
        const std::size_t length = reply.size() - 4 + tail.bytes.size() + padding.size();
        const std::uint32_t mark = kLastFragment | static_cast<std::uint32_t>(length);
        for (int i = 0; i < 4; ++i) reply[i] = static_cast<char>(mark >> (24 - 8 * i));
        if (!SendAll(fd, {std::string_view(reply), tail.bytes, padding})) return;
        // Room for long answers is kept while they keep coming, not for a connection that has gone
        // back to asking for status bytes.
        if (reply.size() <= kKeptReplyCapacity && reply.capacity() > kKeptReplyCapacity) std::string().swap(reply);
    }
}

std::string BuildRpcCall(std::uint32_t xid, std::uint32_t program, std::uint32_t version, std::uint32_t procedure,
                         std::string_view arguments) {
    std::string call;
    XdrOut out(call);
    for (std::uint32_t word : {xid, kCall, kRpcVersion, program, version, procedure, 0u, 0u, 0u, 0u}) out.Uint(word);
    call.append(arguments);
    return call;
}

}  // namespace zpv::sim
