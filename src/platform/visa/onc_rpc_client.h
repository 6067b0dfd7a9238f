// ONC RPC version 2 calls over one TCP connection, records framed by record marking. One call is
// outstanding at a time. Each reply must carry the transaction id of its call: a reply to a call we
// gave up on (it timed out) is skipped when it turns up later, any other id is an I/O error.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/visa/deadline.h"
#include "platform/visa/status.h"
#include "platform/visa/stream_channel.h"
#include "platform/visa/xdr.h"

namespace zpv::visa {

// Grows a byte vector without zero-filling bytes the socket is about to overwrite.
template <class T>
struct UninitializedAllocator : std::allocator<T> {
    template <class U>
    struct rebind {
        using other = UninitializedAllocator<U>;
    };
    UninitializedAllocator() = default;
    template <class U>
    UninitializedAllocator(const UninitializedAllocator<U>&) noexcept {}
    template <class U>
    void construct(U* p) noexcept {
        ::new (static_cast<void*>(p)) U;
    }
    template <class U, class... Args>
    void construct(U* p, Args&&... args) {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
};

using RecordBytes = std::vector<std::uint8_t, UninitializedAllocator<std::uint8_t>>;

struct RpcReply {
    RecordBytes record;
    std::size_t resultsAt = 0;  // where the procedure's results start in record

    XdrReader Results() const { return XdrReader(record.data() + resultsAt, record.size() - resultsAt); }
};

// Where the long tail of a reply goes, for results that end in bulk data (device_read): after the
// first headBytes bytes of the results, the record's bytes are received straight into `into`, at
// most capacity of them; whatever follows stays in the reply record after the head. A reply to
// any other call, or one that is not a successful reply, is kept whole in the record.
struct ReplyBulk {
    std::size_t headBytes = 0;
    std::uint8_t* into = nullptr;
    std::size_t capacity = 0;
    std::size_t received = 0;  // bytes the call stored in `into`
};

class OncRpcClient {
public:
    // Takes ownership of the connected, non-blocking socket fd.
    OncRpcClient(int fd, std::uint32_t program, std::uint32_t version);

    // Sends the call and waits until the deadline for its reply; a reply record longer than
    // maxReply bytes is refused. Failures: VI_ERROR_TMO, VI_ERROR_CONN_LOST, VI_ERROR_IO (malformed
    // or mismatched reply), VI_ERROR_NSUP_OPER (the server does not offer the program, version or
    // procedure), with the reason in LastError().
    ViStatus Call(std::uint32_t procedure, const std::vector<std::uint8_t>& arguments, std::size_t maxReply,
                  const Deadline& deadline, RpcReply* reply, ReplyBulk* bulk = nullptr);

    const std::string& LastError() const { return lastError_; }
    ViStatus Close() { return channel_.Close(); }

private:
    ViStatus Fail(ViStatus status, std::string why);
    ViStatus ReadRecord(std::size_t maxRecord, const Deadline& deadline);
    // As the reply header comes in: does the rest of this record go to the call's bulk storage?
    void DecideBulk();
    void StartNextRecord();
    ViStatus DecodeReply(std::uint32_t xid, RpcReply* reply);
    void Abandon(std::uint32_t xid, std::size_t maxReply);
    bool Abandoned(std::uint32_t xid) const;

    StreamChannel channel_;
    std::uint32_t program_;
    std::uint32_t version_;
    std::uint32_t nextXid_;
    // Calls given up on, oldest first: xids in [staleFrom_, nextXid_) may still be answered.
    bool haveStale_ = false;
    std::uint32_t staleFrom_ = 0;
    std::size_t staleMaxReply_ = 0;
    // A record being received survives a timeout, so the stream stays in step. record_ holds the
    // bytes not sent to bulk storage; recordLength_ counts them all.
    RecordBytes record_;
    std::size_t recordLength_ = 0;
    // The call's bulk storage, only while that call waits; bulkOn_ once this record is its reply.
    ReplyBulk* bulk_ = nullptr;
    std::uint32_t bulkXid_ = 0;
    bool bulkDecided_ = false;
    std::size_t headNeed_ = 20;  // record bytes the next decision needs
    bool bulkOn_ = false;
    std::size_t bulkFrom_ = 0;
    std::uint8_t markHeader_[4] = {};
    std::size_t markHeaderHave_ = 0;
    std::size_t fragmentLeft_ = 0;
    bool inFragment_ = false;
    bool lastFragment_ = false;
    // Part of a call went out and the rest did not: the server cannot find the next record.
    bool broken_ = false;
    std::string lastError_;
};

}  // namespace zpv::visa
