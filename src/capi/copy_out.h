// Text handed to a C caller: the object interface's wide string as UTF-8, by the buffer rule of
// every C text output (see ivi::CopyOutText).
#pragma once

#include "platform/com/text_conversion.h"
#include "platform/ivi/text_buffer.h"

namespace zpv::capi {

// The fixed size of the message buffers of the session utility functions.
inline constexpr ViInt32 kMessageBufferSize = 256;

inline ViInt32 CopyOut(BSTR text, ViInt32 bufferSize, char* buffer) {
    return ivi::CopyOutText(com::Utf8FromBstr(text), bufferSize, buffer);
}

}  // namespace zpv::capi
