// The formatted I/O read and write buffers between the engines and the byte transport.
#pragma once

#include <string_view>

#include "io/byte_sink.h"
#include "io/io_status.h"
#include "zpv4870_runtime.h"

namespace zpv::io {

class IIoBuffer : public IByteSink {
public:
    virtual ~IIoBuffer() = default;

    // Reads: kStatusMoreData while the response goes on, S_OK once its last byte was delivered.
    // A read that delivers nothing (*actual == 0) met the end of the response.
    virtual HRESULT ReadByte(BYTE* value, LONG* actual) = 0;
    virtual HRESULT ReadString(BSTR* text, LONG count, bool flushToEnd) = 0;  // bytes as a byte-length BSTR
    virtual HRESULT ReadBytes(SAFEARRAY** bytes, LONG count, bool flushToEnd) = 0;
    virtual HRESULT Read(BYTE* buffer, LONG count, LONG* actual, bool flushToEnd) = 0;
    // Reads at most count bytes of a definite-length block's data, in which the termination
    // character is data: a read that stopped at one inside the data goes on. S_OK once the
    // response ended (END), kStatusMoreData otherwise.
    virtual HRESULT ReadData(BYTE* buffer, LONG count, LONG* actual) = 0;
    // Steps back one byte; only one byte of push-back is guaranteed.
    virtual HRESULT PushBack() = 0;
    // The bytes already in the read buffer and not yet handed out (no transport read).
    virtual std::string_view Unread() const = 0;

    virtual HRESULT WriteWideString(BSTR text, LONG* written, bool flushWithEnd) = 0;
    virtual HRESULT WriteByteArray(SAFEARRAY* bytes, LONG* written, bool flushWithEnd) = 0;
    virtual HRESULT WriteText(const char* text, LONG* written, bool flushWithEnd) = 0;

    // Discards the rest of the current response.
    virtual HRESULT FlushRead() = 0;
    virtual HRESULT FlushWrite(bool sendEnd) = 0;
    // mask 0: read buffer, 1: write buffer, 2: both; other masks do nothing.
    virtual HRESULT SetBufferSize(LONG mask, LONG size) = 0;
    virtual HRESULT GetReadCapacity(LONG* capacity) = 0;
    virtual HRESULT GetWriteCapacity(LONG* capacity) = 0;
    virtual void SetBigEndian(bool bigEndian) = 0;
};

}  // namespace zpv::io
