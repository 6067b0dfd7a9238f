// Status values and timeout conventions shared by the I/O session, its buffers and transports.
#pragma once

#include "zpv4870_runtime.h"

namespace zpv::io {

// Success: the requested count was read and the response goes on.
inline constexpr HRESULT kStatusMoreData = 0x00040102;

// Timeout argument that keeps the session's own timeout.
inline constexpr LONG kUseSessionTimeout = -2;

}  // namespace zpv::io
