// The byte transport under the formatted I/O buffers. A message-based transport (socket, serial
// line, VXI-11, HiSLIP, or the scripted one of the tests) implements these operations.
#pragma once

#include "io/io_status.h"
#include "io/session_attributes.h"
#include "zpv4870_runtime.h"

namespace zpv::io {

class ILowLevelIo {
public:
    // Reads at most count bytes into buffer and stores the number read in *actual. Returns S_OK
    // when the read ended the response (END, or the termination character while it is enabled)
    // and kStatusMoreData when count bytes arrived first. timeoutMs may be kUseSessionTimeout.
    virtual HRESULT Read(BYTE* buffer, LONG count, LONG* actual, LONG timeoutMs) = 0;
    // Sends count bytes and stores the number taken in *written; the last byte carries END when
    // sending END is enabled.
    virtual HRESULT Write(const BYTE* data, LONG count, LONG* written, LONG timeoutMs) = 0;

    // Timeout, termination character and its enable, send END: read and written whole.
    virtual HRESULT GetAttributes(SessionAttributes* attributes) = 0;
    virtual HRESULT SetAttributes(const SessionAttributes& attributes) = 0;

protected:
    ~ILowLevelIo() = default;
};

}  // namespace zpv::io
