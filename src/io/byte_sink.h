// Where the output engine puts its bytes: the session's write buffer or a string (trace text).
#pragma once

#include "zpv4870_runtime.h"

namespace zpv::io {

class IByteSink {
public:
    // Appends count bytes; *written (when given) is the number taken. flushWithEnd sends the
    // message with END afterwards.
    virtual HRESULT Write(const BYTE* data, LONG count, LONG* written, bool flushWithEnd) = 0;
    virtual HRESULT WriteByte(BYTE value, bool flushWithEnd) = 0;
    // Whether block elements wider than a byte go most significant byte first.
    virtual bool GetBigEndian() const = 0;

protected:
    ~IByteSink() = default;
};

}  // namespace zpv::io
