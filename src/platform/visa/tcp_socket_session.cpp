#include "platform/visa/tcp_socket_session.h"

#include "platform/visa/tcp_connector.h"
#include "platform/text/sentence.h"

namespace zpv::visa {

ViStatus TcpSocketSession::Open(const ResourceDescriptor& descriptor, const OpenContext& context,
                                std::unique_ptr<MessageSession>* session) {
    int fd = -1;
    std::string why;
    const ViStatus status =
        ConnectTcp(descriptor.host, descriptor.port, Deadline::After(context.openTimeoutMs), &fd, &why);
    if (status != VI_SUCCESS) {
        const std::string where = HostPort(descriptor.host, descriptor.port);
        *context.detail = status == VI_ERROR_TMO
                              ? "No answer from " + where + " within " + std::to_string(context.openTimeoutMs) + " ms."
                              : "Cannot connect to " + where + ": " + text::Sentence(why);
        return status;
    }
    *session = std::make_unique<TcpSocketSession>(descriptor, fd);
    return VI_SUCCESS;
}

TcpSocketSession::TcpSocketSession(ResourceDescriptor descriptor, int fd)
    : SessionBase(std::move(descriptor)), channel_(fd, StreamChannel::Kind::Socket) {}

ViStatus TcpSocketSession::ReadBytes(ViByte* buffer, std::size_t count, std::size_t* returned, const ReadStop& stop,
                                     const Deadline& deadline) {
    return channel_.Read(buffer, count, returned, StreamDelimiters{stop.termCharEnabled, stop.termChar}, deadline);
}

ViStatus TcpSocketSession::WriteBytes(const ViByte* data, std::size_t count, std::size_t* returned, bool,
                                      const Deadline& deadline) {
    return channel_.Write(data, count, returned, deadline);
}

ViStatus TcpSocketSession::ClearTransport(const Deadline&) {
    channel_.DiscardInput();
    return VI_SUCCESS;
}

// A byte stream has no device clear: what belongs to the abandoned answer is read and dropped
// until the line has been quiet for a while, or briefly once an answer ended. First, though, what
// we sent must have reached the instrument: a command still waiting in our send queue (a pulled
// cable) is answered only after it arrives, long after any drain.
ViStatus TcpSocketSession::DiscardLateTransportInput(const Deadline& deadline) {
    if (const ViStatus sent = channel_.WaitUntilDelivered(deadline); Failed(sent)) return sent;
    channel_.DiscardUntilQuiet(kLateAnswerQuietMs, kLateAnswerSettleMs, Attributes().termChar, deadline);
    return VI_SUCCESS;
}

ViStatus TcpSocketSession::CloseTransport() { return channel_.Close(); }

}  // namespace zpv::visa
