// The byte transport under the formatted I/O buffers. A message-based transport (socket, serial
// line, VXI-11, HiSLIP, or the scripted one of the tests) implements these operations.
#pragma once

#include "io/io_status.h"
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

    virtual HRESULT SetTimeout(LONG timeoutMs) = 0;
    virtual HRESULT GetTimeout(LONG* timeoutMs) = 0;
    virtual HRESULT SetTerminationCharacter(BYTE character) = 0;
    virtual HRESULT GetTerminationCharacter(BYTE* character) = 0;
    virtual HRESULT SetTerminationCharacterEnabled(bool enabled) = 0;
    virtual HRESULT GetTerminationCharacterEnabled(bool* enabled) = 0;
    virtual HRESULT SetSendEndEnabled(bool enabled) = 0;
    virtual HRESULT GetSendEndEnabled(bool* enabled) = 0;

protected:
    ~ILowLevelIo() = default;
};

}  // namespace zpv::io
