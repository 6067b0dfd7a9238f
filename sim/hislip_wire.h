// HiSLIP messages as the simulator's server reads and writes them: a 16-byte header ("HS", type,
// control code, parameter, payload length; big-endian) and the payload.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zpv::sim::hislip {

enum Type : std::uint8_t {
    kInitialize = 0,
    kInitializeResponse = 1,
    kFatalError = 2,
    kError = 3,
    kAsyncLock = 4,
    kAsyncLockResponse = 5,
    kData = 6,
    kDataEnd = 7,
    kDeviceClearComplete = 8,
    kDeviceClearAcknowledge = 9,
    kAsyncRemoteLocalControl = 10,
    kAsyncRemoteLocalResponse = 11,
    kTrigger = 12,
    kInterrupted = 13,
    kAsyncInterrupted = 14,
    kAsyncMaximumMessageSize = 15,
    kAsyncMaximumMessageSizeResponse = 16,
    kAsyncInitialize = 17,
    kAsyncInitializeResponse = 18,
    kAsyncDeviceClear = 19,
    kAsyncServiceRequest = 20,
    kAsyncStatusQuery = 21,
    kAsyncStatusResponse = 22,
    kAsyncDeviceClearAcknowledge = 23,
    kAsyncLockInfo = 24,
    kAsyncLockInfoResponse = 25,
};

// FatalError codes.
enum Fatal : std::uint8_t {
    kFatalUnidentified = 0,
    kFatalBadHeader = 1,
    kFatalChannelsNotReady = 2,
    kFatalBadInitialization = 3,
    kFatalTooManyClients = 4,
};

// Error codes.
enum NonFatal : std::uint8_t {
    kErrorUnidentified = 0,
    kErrorUnknownType = 1,
    kErrorUnknownControl = 2,
    kErrorTooLarge = 4
};

struct Header {
    std::uint8_t type = 0;
    std::uint8_t control = 0;
    std::uint32_t parameter = 0;
    std::uint64_t length = 0;
};

enum class Received { Header, BadPrologue, Gone };

// Gone when the peer left or the server stops (stopFd readable).
Received ReceiveHeader(int fd, int stopFd, Header* header);
bool ReceivePayload(int fd, int stopFd, std::uint64_t length, std::string* payload);
bool SkipPayload(int fd, int stopFd, std::uint64_t length);
bool Send(int fd, std::uint8_t type, std::uint8_t control, std::uint32_t parameter, std::string_view payload = {});

std::string BigEndian64(std::uint64_t value);
std::uint64_t FromBigEndian64(std::string_view bytes);

}  // namespace zpv::sim::hislip
