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

enum AcceptStatus : std::uint32_t {
    kSuccess = 0,
    kProgUnavail = 1,
    kProgMismatch = 2,
    kProcUnavail = 3,
    kGarbageArgs = 4
};

std::string AcceptedHeader(std::uint32_t xid, std::uint32_t status) {
    std::string reply;
    XdrOut out(reply);
    out.Uint(xid);
    out.Uint(kReply);
    out.Uint(0);  // MSG_ACCEPTED
    out.Uint(0);  // verifier AUTH_NONE
    out.Uint(0);
    out.Uint(status);
    return reply;
}

}  // namespace

std::string HandleRpcCall(std::string_view record, std::span<const RpcProgram> programs, const RpcHandler& handler,
                          bool* drop) {
    *drop = false;
    XdrIn in(record);
    const std::uint32_t xid = in.Uint();
    const std::uint32_t type = in.Uint();
    if (!in.ok() || type != kCall) return {};
    const std::uint32_t rpcVersion = in.Uint();
    RpcCall call{xid, in.Uint(), in.Uint(), in.Uint(), XdrIn({})};
    for (int i = 0; i < 2; ++i) {  // credentials and verifier, whatever their flavour
        in.Uint();
        in.Opaque(kMaxAuthBody);
    }
    if (!in.ok()) {
        *drop = true;
        return {};
    }
    if (rpcVersion != kRpcVersion) {
        std::string reply;
        XdrOut out(reply);
        out.Uint(xid);
        out.Uint(kReply);
        out.Uint(1);  // MSG_DENIED
        out.Uint(0);  // RPC_MISMATCH
        out.Uint(kRpcVersion);
        out.Uint(kRpcVersion);
        return reply;
    }

    std::uint32_t low = UINT32_MAX, high = 0;
    bool exact = false;
    for (const RpcProgram& p : programs) {
        if (p.number != call.program) continue;
        low = std::min(low, p.version);
        high = std::max(high, p.version);
        exact = exact || p.version == call.version;
    }
    if (low > high) return AcceptedHeader(xid, kProgUnavail);
    if (!exact) {
        std::string reply = AcceptedHeader(xid, kProgMismatch);
        XdrOut out(reply);
        out.Uint(low);
        out.Uint(high);
        return reply;
    }

    call.arguments = in;
    std::string results;
    XdrOut out(results);
    switch (handler(call, out)) {
        case RpcOutcome::Reply: return AcceptedHeader(xid, kSuccess) + results;
        case RpcOutcome::NoProcedure: return AcceptedHeader(xid, kProcUnavail);
        case RpcOutcome::BadArguments: return AcceptedHeader(xid, kGarbageArgs);
        case RpcOutcome::Drop: break;
    }
    *drop = true;
    return {};
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
        const std::size_t old = record->size();
        record->resize(old + length);
        if (!ReceiveExactly(fd, stopFd, record->data() + old, length)) return false;
        if (word & kLastFragment) return true;
    }
}

bool SendRecord(int fd, std::string_view record) {
    const std::uint32_t mark = kLastFragment | static_cast<std::uint32_t>(record.size());
    std::string framed;
    framed.reserve(record.size() + 4);
    XdrOut(framed).Uint(mark);
    framed.append(record);
    return SendAll(fd, framed);
}

void ServeRpcConnection(int fd, int stopFd, std::span<const RpcProgram> programs, std::size_t maxRecord,
                        const RpcHandler& handler) {
    std::string record;
    while (ReceiveRecord(fd, stopFd, maxRecord, &record)) {
        bool drop = false;
        const std::string reply = HandleRpcCall(record, programs, handler, &drop);
        if (drop || (!reply.empty() && !SendRecord(fd, reply))) return;
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
