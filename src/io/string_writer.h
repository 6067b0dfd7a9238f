// A byte sink that appends to a string: the output engine renders trace text through it.
#pragma once

#include <string>

#include "io/byte_sink.h"

namespace zpv::io {

class CStringWriter final : public IByteSink {
public:
    explicit CStringWriter(std::string& text) : text_(text) {}

    HRESULT Write(const BYTE* data, LONG count, LONG* written, bool flushWithEnd) override;
    HRESULT WriteByte(BYTE value, bool flushWithEnd) override;
    bool GetBigEndian() const override { return true; }

private:
    std::string& text_;
};

}  // namespace zpv::io
