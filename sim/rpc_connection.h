// ONC RPC version 2 on the server side: call headers decoded, replies built (including the
// program-unavailable, version-mismatch and garbage-arguments answers), and records framed with
// record marking on TCP. Each record carries one call; datagram transports pass it to HandleRpcCall.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "xdr_stream.h"

namespace zpv::sim {

struct RpcProgram {
    std::uint32_t number;
    std::uint32_t version;
};

struct RpcCall {
    std::uint32_t xid;
    std::uint32_t program;
    std::uint32_t version;
    std::uint32_t procedure;
    XdrIn arguments;
};

enum class RpcOutcome {
    Reply,        // results hold the procedure's results
    NoProcedure,  // PROC_UNAVAIL
    BadArguments, // GARBAGE_ARGS
    Drop,         // close the connection without answering
};

using RpcHandler = std::function<RpcOutcome(RpcCall& call, XdrOut& results)>;

// Appends the reply record for one call record to reply; nothing when nothing is to be sent (the
// record is not a call). False when the connection should close unanswered (a mangled header or the
// handler's wish).
// With tail, a handler may leave bulk data at the end of its results where it lies (XdrOut::OpaqueTail).
bool HandleRpcCall(std::string_view record, std::span<const RpcProgram> programs, const RpcHandler& handler,
                   std::string* reply, XdrTail* tail = nullptr);

// Answers calls on a TCP connection until the peer leaves, the service stops (stopFd readable), a
// record longer than maxRecord arrives or the handler drops the connection.
void ServeRpcConnection(int fd, int stopFd, std::span<const RpcProgram> programs, std::size_t maxRecord,
                        const RpcHandler& handler);

// Record marking: one record, fragments joined; false when the peer left, the service stops or
// the record would exceed maxRecord.
bool ReceiveRecord(int fd, int stopFd, std::size_t maxRecord, std::string* record);
bool SendRecord(int fd, std::string_view record);

// A call record with AUTH_NONE credentials, for our own RPC clients (registration with rpcbind).
std::string BuildRpcCall(std::uint32_t xid, std::uint32_t program, std::uint32_t version, std::uint32_t procedure,
                         std::string_view arguments);

}  // namespace zpv::sim
