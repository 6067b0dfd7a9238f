// TCPIP[n]::host::port::SOCKET: a raw TCP connection carrying instrument messages.
//
// A byte stream has no END, so a socket read never reports END (VI_SUCCESS): it stops at the
// termination character when that is enabled (VI_SUCCESS_TERM_CHAR), when count bytes have arrived
// (VI_SUCCESS_MAX_CNT), or at the timeout (VI_ERROR_TMO, with whatever arrived counted in returned).
// A peer that closes gives VI_ERROR_CONN_LOST, again with what arrived before counted. END on
// writes adds nothing to the stream; every write is sent at once (TCP_NODELAY).
#pragma once

#include "platform/visa/session_base.h"
#include "platform/visa/stream_channel.h"

namespace zpv::visa {

class TcpSocketSession final : public SessionBase {
    // Open: Resolves the host with getaddrinfo and connects within the open timeout: VI_ERROR_TMO when
    // the host does not answer in time, VI_ERROR_RSRC_NFOUND when it cannot be resolved or refuses.
    ZPV_TRANSPORT_SESSION_OPERATIONS
    ViStatus DiscardLateTransportInput(const Deadline& deadline) override;

public:
    TcpSocketSession(ResourceDescriptor descriptor, int fd);

private:
    StreamChannel channel_;
};

}  // namespace zpv::visa
