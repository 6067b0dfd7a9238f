// TCPIP[n]::host[::device]::INSTR over VXI-11: ONC RPC calls to the instrument's core channel,
// whose port the host's portmapper gives (see portmapper_client.h for moving the portmapper).
//
// Reads are device_read calls whose reason says why they stopped: END gives VI_SUCCESS, the
// termination character VI_SUCCESS_TERM_CHAR (the server looks for it when it is enabled), the
// count VI_SUCCESS_MAX_CNT. Writes go out in chunks no longer than the link's maxRecvSize, END on
// the last one when asked. The instrument's own timeout (io_timeout) is what is left of ours, so
// its error 15 arrives before we give up. An exclusive lock is also taken on the instrument
// (device_lock), so other hosts are kept out; VXI-11 has no shared locks, so a shared lock stays
// within this process. Device clear and the status byte use device_clear and device_readstb.
#pragma once

#include <memory>
#include <vector>

#include "platform/visa/onc_rpc_client.h"
#include "platform/visa/session_base.h"

namespace zpv::visa {

class Vxi11Session final : public SessionBase {
    // Open: VI_ERROR_RSRC_NFOUND, with "No VXI-11 service at host:port ..." in the detail, when no
    // portmapper or core channel answers or the instrument refuses the link; VI_ERROR_TMO when
    // the open timeout passes first.
    ZPV_TRANSPORT_SESSION_OPERATIONS

public:
    Vxi11Session(ResourceDescriptor descriptor, std::unique_ptr<OncRpcClient> core, std::int32_t link,
                 std::uint32_t maxRecvSize);

    ViStatus Lock(ViUInt32 lockType, ViUInt32 timeoutMs, std::string_view requestedKey,
                  std::string* accessKey) override;
    ViStatus Unlock() override;

    std::uint32_t MaxRecvSize() const { return maxRecvSize_; }
    // Why the last failed operation failed, e.g. "VXI-11 error 11 (device locked by another link)".
    const std::string& LastError() const { return lastError_; }

protected:
    ViStatus ReadStatusByteFromPeer(ViUInt16* statusByte, const Deadline& deadline) override;

private:
    // One call whose results begin with a Device_ErrorCode; a nonzero code fails the call with its
    // status. results is positioned after the code.
    ViStatus Call(std::uint32_t procedure, const std::vector<std::uint8_t>& arguments, std::size_t maxReply,
                  const Deadline& deadline, RpcReply* reply, XdrReader* results, ReplyBulk* bulk = nullptr);
    // Hands out what an earlier device_read brought beyond its caller's count.
    ViStatus TakePending(ViByte* buffer, std::size_t count, std::size_t* returned, const ReadStop& stop, bool* more);
    ViStatus Generic(std::uint32_t procedure, const Deadline& deadline);

    std::unique_ptr<OncRpcClient> core_;
    std::int32_t link_;
    std::uint32_t maxRecvSize_;
    unsigned exclusiveDepth_ = 0;
    bool deviceLocked_ = false;
    std::string lastError_;
    // Replies land here, so their records keep their room from call to call.
    RpcReply reply_;
    // A device_read asks for at least maxRecvSize bytes, so a long reply takes few calls; what the
    // caller had no room for waits in its reply record, [pendingAt_, pendingEnd_), with the reason
    // the call ended.
    RpcReply pending_;
    std::size_t pendingAt_ = 0;
    std::size_t pendingEnd_ = 0;
    std::int32_t pendingReason_ = 0;
};

}  // namespace zpv::visa
