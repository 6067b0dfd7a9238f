// The session attributes as the I/O layer passes them: the transports' one value type, the
// conversion of the I/O session's signed millisecond timeouts, and the one lock-mode numbering.
#pragma once

#include "platform/visa/session_attributes.h"
#include "zpv4870_runtime.h"

namespace zpv::io {

using visa::SessionAttributes;

// A negative timeout waits forever.
inline visa::ViUInt32 ToAttributeTimeout(LONG timeoutMs) {
    return timeoutMs < 0 ? visa::VI_TMO_INFINITE : static_cast<visa::ViUInt32>(timeoutMs);
}
inline LONG FromAttributeTimeout(visa::ViUInt32 timeoutMs) {
    return timeoutMs > 0x7FFFFFFFu ? -1 : static_cast<LONG>(timeoutMs);
}

// The I/O session's access modes: 0 exclusive, 1 shared (VISA numbers them 1 and 2).
enum class LockMode : LONG { Exclusive = 0, Shared = 1 };

}  // namespace zpv::io
