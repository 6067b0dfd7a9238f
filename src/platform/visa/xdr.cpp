#include "platform/visa/xdr.h"

namespace zpv::visa {

namespace {

constexpr std::size_t Padding(std::size_t length) { return (4 - length % 4) % 4; }

}  // namespace

void XdrWriter::PutUint32(std::uint32_t value) {
    out_.push_back(static_cast<std::uint8_t>(value >> 24));
    out_.push_back(static_cast<std::uint8_t>(value >> 16));
    out_.push_back(static_cast<std::uint8_t>(value >> 8));
    out_.push_back(static_cast<std::uint8_t>(value));
}

void XdrWriter::PutOpaque(const void* data, std::size_t length) {
    PutUint32(static_cast<std::uint32_t>(length));
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    out_.insert(out_.end(), bytes, bytes + length);
    out_.insert(out_.end(), Padding(length), 0);
}

bool XdrReader::GetUint32(std::uint32_t* value) {
    if (!ok_ || left_ < 4) return Fail();
    *value = static_cast<std::uint32_t>(data_[0]) << 24 | static_cast<std::uint32_t>(data_[1]) << 16 |
             static_cast<std::uint32_t>(data_[2]) << 8 | data_[3];
    data_ += 4;
    left_ -= 4;
    return true;
}

bool XdrReader::GetInt32(std::int32_t* value) {
    std::uint32_t raw = 0;
    if (!GetUint32(&raw)) return false;
    *value = static_cast<std::int32_t>(raw);
    return true;
}

bool XdrReader::GetOpaque(const std::uint8_t** bytes, std::size_t* length, std::size_t maxLength) {
    std::uint32_t declared = 0;
    if (!GetUint32(&declared)) return false;
    if (declared > maxLength || declared > left_ || Padding(declared) > left_ - declared) return Fail();
    *bytes = data_;
    *length = declared;
    return Skip(declared + Padding(declared));
}

bool XdrReader::Skip(std::size_t bytes) {
    if (!ok_ || bytes > left_) return Fail();
    data_ += bytes;
    left_ -= bytes;
    return true;
}

}  // namespace zpv::visa
