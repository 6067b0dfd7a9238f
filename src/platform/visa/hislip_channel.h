// One of a HiSLIP session's two TCP connections, read message by message. A header that arrives
// in pieces, or a payload the caller reads in several goes, survives a timeout; a payload the
// caller does not want is skipped when the next header is asked for, so the stream stays in step.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/visa/hislip_message.h"
#include "platform/visa/stream_channel.h"

namespace zpv::visa {

class HislipChannel {
public:
    explicit HislipChannel(int fd) : stream_(fd, StreamChannel::Kind::Socket) {}

    // sent tells how much of the message went out; 0 after a failure means the stream is intact.
    ViStatus Send(hislip::MessageType type, std::uint8_t control, std::uint32_t parameter, const void* payload,
                  std::size_t length, const Deadline& deadline, std::size_t* sent);
    ViStatus Send(hislip::MessageType type, std::uint8_t control, std::uint32_t parameter, std::string_view payload,
                  const Deadline& deadline, std::size_t* sent) {
        return Send(type, control, parameter, payload.data(), payload.size(), deadline, sent);
    }

    // The next header, after skipping what is left of the current payload. VI_ERROR_IO when the
    // bytes are not a HiSLIP header: the stream has lost step and is of no further use.
    ViStatus NextHeader(hislip::Header* header, const Deadline& deadline);
    // Payload bytes of the current message, stopping where the delimiters say.
    ViStatus ReadPayload(ViByte* buffer, std::size_t count, std::size_t* returned, const StreamDelimiters& delimiters,
                         const Deadline& deadline);
    // All of a short payload (an error text, a size); VI_ERROR_IO when it is longer than maxLength.
    ViStatus ReadSmallPayload(std::string* payload, std::size_t maxLength, const Deadline& deadline);
    std::uint64_t PayloadLeft() const { return payloadLeft_; }

    ViStatus Close() { return stream_.Close(); }

private:
    StreamChannel stream_;
    std::uint8_t header_[hislip::kHeaderSize] = {};
    std::size_t headerHave_ = 0;
    std::uint64_t payloadLeft_ = 0;
};

}  // namespace zpv::visa
