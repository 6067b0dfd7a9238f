// The scalar types of the flat C interface.
#pragma once

#include <cstdint>

using ViStatus = std::int32_t;
using ViSession = std::uint32_t;
using ViBoolean = std::uint16_t;
using ViInt16 = std::int16_t;
using ViInt32 = std::int32_t;
using ViInt64 = std::int64_t;
using ViReal64 = double;
using ViChar = char;
using ViString = char*;
using ViConstString = const char*;
using ViAttr = std::uint32_t;

inline constexpr ViBoolean VI_TRUE = 1;
inline constexpr ViBoolean VI_FALSE = 0;
inline constexpr ViStatus VI_SUCCESS = 0;
