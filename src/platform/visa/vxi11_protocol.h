// The numbers of the VXI-11 RPC programs as the client uses them.
#pragma once

#include <cstdint>

namespace zpv::visa::vxi11 {

inline constexpr std::uint32_t kCoreProgram = 0x0607AF;
inline constexpr std::uint32_t kAbortProgram = 0x0607B0;
inline constexpr std::uint32_t kInterruptProgram = 0x0607B1;
inline constexpr std::uint32_t kVersion = 1;

enum Procedure : std::uint32_t {
    kCreateLink = 10,
    kDeviceWrite = 11,
    kDeviceRead = 12,
    kDeviceReadStb = 13,
    kDeviceTrigger = 14,
    kDeviceClear = 15,
    kDeviceRemote = 16,
    kDeviceLocal = 17,
    kDeviceLock = 18,
    kDeviceUnlock = 19,
    kDeviceEnableSrq = 20,
    kDeviceDocmd = 22,
    kDestroyLink = 23,
    kCreateIntrChan = 25,
    kDestroyIntrChan = 26,
};

// Device_Flags bits.
inline constexpr std::uint32_t kFlagWaitLock = 1;
inline constexpr std::uint32_t kFlagEnd = 8;
inline constexpr std::uint32_t kFlagTermCharSet = 128;

// Why device_read stopped; several may be set.
inline constexpr std::int32_t kReasonRequestCount = 1;
inline constexpr std::int32_t kReasonTermChar = 2;
inline constexpr std::int32_t kReasonEnd = 4;

}  // namespace zpv::visa::vxi11
