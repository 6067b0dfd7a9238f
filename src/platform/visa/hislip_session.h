// TCPIP[n]::host::hislip<n>[,port]::INSTR over HiSLIP: a synchronous channel carrying the messages
// (Data, DataEnd) and an asynchronous one for device clear, locks and the status byte.
//
// Messages are numbered from 0xFFFFFF00 in steps of 2; in synchronized mode an answer carrying the
// number of anything but our latest DataEnd belongs to a query we have moved on from and is
// dropped. A server that offers only overlapped mode is followed there. A read reports END
// (VI_SUCCESS) at the end of a DataEnd, the termination character and the count as usual.
// Exclusive and shared locks are taken on the server as well (AsyncLock), so other hosts are
// kept out; a read that times out while another client holds the instrument's lock reports
// VI_ERROR_RSRC_LOCKED. The server's Error messages fail the operation with a status from a
// table, its FatalError ends the session (VI_ERROR_CONN_LOST).
#pragma once

#include <memory>

#include "platform/visa/hislip_channel.h"
#include "platform/visa/session_base.h"

namespace zpv::visa {

class HislipSession final : public SessionBase {
    // Open: VI_ERROR_RSRC_NFOUND with "No HiSLIP service at host:port ..." when nothing answers
    // there; "HiSLIP server rejected the session: <reason>" when it refuses us.
    ZPV_TRANSPORT_SESSION_OPERATIONS

public:
    // The largest message we take from the server, announced with AsyncMaximumMessageSize.
    static constexpr std::uint64_t kLargestIncomingMessage = 64u << 20;

    HislipSession(ResourceDescriptor descriptor, std::unique_ptr<HislipChannel> sync,
                  std::unique_ptr<HislipChannel> async, bool overlapped, std::uint64_t serverMaxMessage);

    ViStatus Lock(ViUInt32 lockType, ViUInt32 timeoutMs, std::string_view requestedKey,
                  std::string* accessKey) override;
    ViStatus Unlock() override;

    bool Overlapped() const { return overlapped_; }
    std::uint64_t ServerMaxMessage() const { return serverMaxMessage_; }
    const std::string& LastError() const { return lastError_; }

protected:
    ViStatus ReadStatusByteFromPeer(ViUInt16* statusByte, const Deadline& deadline) override;

private:
    // A request on the asynchronous channel and its answer, which must be of type expected.
    ViStatus AsyncExchange(hislip::MessageType request, std::uint8_t control, std::uint32_t parameter,
                           std::string_view payload, hislip::MessageType expected, const Deadline& deadline,
                           hislip::Header* answer, std::string* answerPayload = nullptr);
    // Error and FatalError on either channel: reads the text and turns the code into a status.
    ViStatus ServerError(HislipChannel& channel, const hislip::Header& header, const Deadline& deadline);
    ViStatus Lost(ViStatus status, std::string why);
    ViStatus LockOnServer(bool exclusive, std::string_view key, ViUInt32 timeoutMs);
    ViStatus ReleaseOnServer(bool exclusive);
    // After a timeout: is someone else holding the instrument?
    bool LockedByAnother();

    std::unique_ptr<HislipChannel> sync_;
    std::unique_ptr<HislipChannel> async_;
    bool overlapped_;
    std::uint64_t serverMaxMessage_;
    std::uint32_t nextMessageId_ = hislip::kFirstMessageId;
    std::uint32_t lastSentId_ = hislip::kFirstMessageId - hislip::kMessageIdStep;
    std::uint32_t awaitedId_ = hislip::kFirstMessageId - hislip::kMessageIdStep;  // our latest DataEnd
    bool rmtDelivered_ = false;
    // The answer message being read.
    bool inData_ = false;
    bool dataEnds_ = false;
    // Requests on the asynchronous channel whose answers have not arrived (they timed out).
    unsigned asyncOutstanding_ = 0;
    unsigned exclusiveDepth_ = 0;
    unsigned sharedDepth_ = 0;
    bool lost_ = false;
    std::string lastError_;
};

}  // namespace zpv::visa
