#include "platform/visa/hislip_channel.h"

#include <algorithm>
#include <vector>

namespace zpv::visa {

namespace {

// Small messages go out in one piece, so a command costs one segment.
constexpr std::size_t kCoalesceLimit = 64 * 1024;

}  // namespace

ViStatus HislipChannel::Send(hislip::MessageType type, std::uint8_t control, std::uint32_t parameter,
                             const void* payload, std::size_t length, const Deadline& deadline, std::size_t* sent) {
    std::uint8_t header[hislip::kHeaderSize];
    hislip::EncodeHeader({type, control, parameter, length}, header);
    *sent = 0;
    if (length <= kCoalesceLimit) {
        std::vector<std::uint8_t> message(header, header + sizeof header);
        const auto* bytes = static_cast<const std::uint8_t*>(payload);
        message.insert(message.end(), bytes, bytes + length);
        return stream_.Write(message.data(), message.size(), sent, deadline);
    }
    ViStatus status = stream_.Write(header, sizeof header, sent, deadline, true);
    if (Failed(status)) return status;
    std::size_t body = 0;
    status = stream_.Write(static_cast<const ViByte*>(payload), length, &body, deadline);
    *sent += body;
    return status;
}

ViStatus HislipChannel::NextHeader(hislip::Header* header, const Deadline& deadline) {
    while (payloadLeft_ > 0) {
        ViByte scratch[4096];
        std::size_t got = 0;
        ViStatus status =
            ReadPayload(scratch, static_cast<std::size_t>(std::min<std::uint64_t>(payloadLeft_, sizeof scratch)), &got,
                        StreamDelimiters{}, deadline);
        if (Failed(status)) return status;
    }
    std::size_t got = 0;
    ViStatus status =
        stream_.Read(header_ + headerHave_, sizeof header_ - headerHave_, &got, StreamDelimiters{}, deadline);
    headerHave_ += got;
    if (Failed(status)) return status;
    headerHave_ = 0;
    if (!hislip::DecodeHeader(header_, header)) return VI_ERROR_IO;
    payloadLeft_ = header->payloadLength;
    return VI_SUCCESS;
}

ViStatus HislipChannel::ReadPayload(ViByte* buffer, std::size_t count, std::size_t* returned,
                                    const StreamDelimiters& delimiters, const Deadline& deadline) {
    const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(count, payloadLeft_));
    *returned = 0;
    if (want == 0) return VI_SUCCESS_MAX_CNT;
    ViStatus status = stream_.Read(buffer, want, returned, delimiters, deadline);
    payloadLeft_ -= *returned;
    return status;
}

ViStatus HislipChannel::ReadSmallPayload(std::string* payload, std::size_t maxLength, const Deadline& deadline) {
    payload->clear();
    if (payloadLeft_ > maxLength) return VI_ERROR_IO;
    payload->resize(static_cast<std::size_t>(payloadLeft_));
    std::size_t got = 0;
    ViStatus status = ReadPayload(reinterpret_cast<ViByte*>(payload->data()), payload->size(), &got, StreamDelimiters{},
                                  deadline);
    payload->resize(got);
    return Failed(status) ? status : VI_SUCCESS;
}

}  // namespace zpv::visa
