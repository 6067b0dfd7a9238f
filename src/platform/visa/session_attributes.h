// The attributes every message-based session has, read and written as one value: the VISA
// defaults are timeout 2000 ms, termination character 0x0A disabled, send END on.
#pragma once

#include "platform/visa/visa_types.h"

namespace zpv::visa {

struct SessionAttributes {
    ViUInt32 timeoutMs = kDefaultTimeoutMs;  // VI_TMO_INFINITE waits forever, VI_TMO_IMMEDIATE takes only what is there
    ViByte termChar = '\n';
    bool termCharEnabled = false;
    bool sendEnd = true;  // the last byte of a write carries END where the transport has one

    bool operator==(const SessionAttributes&) const = default;
};

}  // namespace zpv::visa
