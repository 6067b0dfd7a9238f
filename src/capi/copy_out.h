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

// The one meaning of a positive result of a function with a text output: the size the text
// needs. A warning of the call that produced the text is replaced by the copy's result (0 when
// the text fitted), so a caller never reads a warning as a size; failures stay failures.
inline ViStatus TextResult(ViStatus callStatus, ViInt32 copied) { return callStatus < 0 ? callStatus : copied; }

}  // namespace zpv::capi
