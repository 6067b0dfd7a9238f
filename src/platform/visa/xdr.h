// XDR encoding (big-endian 4-byte units, opaque data padded to a multiple of 4) for the RPC-based
// transports. The reader never trusts a length it is given: every read is checked against what is
// left, and the first failure sticks so a caller can decode a whole structure and check once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zpv::visa {

class XdrWriter {
public:
    explicit XdrWriter(std::vector<std::uint8_t>& out) : out_(out) {}

    void PutUint32(std::uint32_t value);
    void PutInt32(std::int32_t value) { PutUint32(static_cast<std::uint32_t>(value)); }
    void PutBool(bool value) { PutUint32(value ? 1 : 0); }
    // Variable-length opaque data: length, bytes, zero padding.
    void PutOpaque(const void* data, std::size_t length);
    void PutString(std::string_view text) { PutOpaque(text.data(), text.size()); }

private:
    std::vector<std::uint8_t>& out_;
};

class XdrReader {
public:
    XdrReader(const std::uint8_t* data, std::size_t length) : data_(data), left_(length) {}

    bool GetUint32(std::uint32_t* value);
    bool GetInt32(std::int32_t* value);
    // Variable-length opaque data no longer than maxLength; bytes points into the reader's buffer.
    bool GetOpaque(const std::uint8_t** bytes, std::size_t* length, std::size_t maxLength);
    bool Skip(std::size_t bytes);

    bool Ok() const { return ok_; }
    std::size_t Left() const { return left_; }

private:
    bool Fail() { return ok_ = false; }

    const std::uint8_t* data_;
    std::size_t left_;
    bool ok_ = true;
};

}  // namespace zpv::visa
