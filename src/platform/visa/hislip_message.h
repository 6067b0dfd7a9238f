// HiSLIP messages: the 16-byte header ("HS", type, control code, parameter, payload length, all
// big-endian) and the message types with what the client needs to know about each.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace zpv::visa::hislip {

enum class MessageType : std::uint8_t {
    Initialize = 0,
    InitializeResponse = 1,
    FatalError = 2,
    Error = 3,
    AsyncLock = 4,
    AsyncLockResponse = 5,
    Data = 6,
    DataEnd = 7,
    DeviceClearComplete = 8,
    DeviceClearAcknowledge = 9,
    AsyncRemoteLocalControl = 10,
    AsyncRemoteLocalResponse = 11,
    Trigger = 12,
    Interrupted = 13,
    AsyncInterrupted = 14,
    AsyncMaximumMessageSize = 15,
    AsyncMaximumMessageSizeResponse = 16,
    AsyncInitialize = 17,
    AsyncInitializeResponse = 18,
    AsyncDeviceClear = 19,
    AsyncServiceRequest = 20,
    AsyncStatusQuery = 21,
    AsyncStatusResponse = 22,
    AsyncDeviceClearAcknowledge = 23,
    AsyncLockInfo = 24,
    AsyncLockInfoResponse = 25,
};

inline constexpr std::size_t kHeaderSize = 16;
inline constexpr std::uint16_t kProtocolVersion = 0x0100;  // 1.0
inline constexpr std::uint32_t kFirstMessageId = 0xFFFFFF00u;
inline constexpr std::uint32_t kMessageIdStep = 2;

struct Header {
    MessageType type = MessageType::Initialize;
    std::uint8_t control = 0;
    std::uint32_t parameter = 0;
    std::uint64_t payloadLength = 0;
};

void EncodeHeader(const Header& header, std::uint8_t out[kHeaderSize]);
// False when the bytes do not start with the "HS" prologue.
bool DecodeHeader(const std::uint8_t in[kHeaderSize], Header* header);

// "DataEnd", or "message type 200" for types the table does not know.
std::string MessageTypeName(MessageType type);
// True for the answers the server sends on the asynchronous channel to a request of ours (and the
// Error it may send instead); false for what it sends on its own (service requests, interrupts).
bool IsAsyncAnswer(MessageType type);

}  // namespace zpv::visa::hislip
