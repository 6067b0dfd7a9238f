// The scalar types and attribute values of the VISA-like I/O layer, numbered as VISA numbers them
// so that values from callers and configuration pass through unchanged.
#pragma once

#include <cstdint>

namespace zpv::visa {

using ViStatus = std::int32_t;
using ViUInt32 = std::uint32_t;
using ViUInt16 = std::uint16_t;
using ViByte = std::uint8_t;

// Timeouts in milliseconds.
inline constexpr ViUInt32 VI_TMO_IMMEDIATE = 0;
inline constexpr ViUInt32 VI_TMO_INFINITE = 0xFFFFFFFFu;
inline constexpr ViUInt32 kDefaultTimeoutMs = 2000;

// Access modes at open and lock types.
inline constexpr ViUInt32 VI_NO_LOCK = 0;
inline constexpr ViUInt32 VI_EXCLUSIVE_LOCK = 1;
inline constexpr ViUInt32 VI_SHARED_LOCK = 2;
inline constexpr ViUInt32 VI_LOAD_CONFIG = 4;

enum class InterfaceType : ViUInt16 { Gpib = 1, Vxi = 2, GpibVxi = 3, Asrl = 4, Pxi = 5, Tcpip = 6, Usb = 7 };

// Serial line attributes; values below.
enum class SerialAttribute { EndIn, EndOut, BaudRate, DataBits, Parity, StopBits, FlowControl };

inline constexpr ViUInt32 VI_ASRL_END_NONE = 0;
inline constexpr ViUInt32 VI_ASRL_END_LAST_BIT = 1;
inline constexpr ViUInt32 VI_ASRL_END_TERMCHAR = 2;
inline constexpr ViUInt32 VI_ASRL_END_BREAK = 3;

inline constexpr ViUInt32 VI_ASRL_PAR_NONE = 0;
inline constexpr ViUInt32 VI_ASRL_PAR_ODD = 1;
inline constexpr ViUInt32 VI_ASRL_PAR_EVEN = 2;
inline constexpr ViUInt32 VI_ASRL_PAR_MARK = 3;
inline constexpr ViUInt32 VI_ASRL_PAR_SPACE = 4;

inline constexpr ViUInt32 VI_ASRL_STOP_ONE = 10;
inline constexpr ViUInt32 VI_ASRL_STOP_ONE5 = 15;
inline constexpr ViUInt32 VI_ASRL_STOP_TWO = 20;

// Flow control values are bits and may be combined.
inline constexpr ViUInt32 VI_ASRL_FLOW_NONE = 0;
inline constexpr ViUInt32 VI_ASRL_FLOW_XON_XOFF = 1;
inline constexpr ViUInt32 VI_ASRL_FLOW_RTS_CTS = 2;
inline constexpr ViUInt32 VI_ASRL_FLOW_DTR_DSR = 4;

}  // namespace zpv::visa
