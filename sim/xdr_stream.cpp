#include "xdr_stream.h"

namespace zpv::sim {

void XdrOut::Uint(std::uint32_t value) {
    const char bytes[4] = {static_cast<char>(value >> 24), static_cast<char>(value >> 16),
                           static_cast<char>(value >> 8), static_cast<char>(value)};
    out_.append(bytes, 4);
}

void XdrOut::Opaque(std::string_view bytes) {
    out_.reserve(out_.size() + 8 + bytes.size());  // one allocation for a long answer, not a doubling series
    Uint(static_cast<std::uint32_t>(bytes.size()));
    out_.append(bytes);
    out_.append((4 - bytes.size() % 4) % 4, '\0');
}

void XdrOut::OpaqueTail(std::string_view bytes, std::shared_ptr<const void> keep) {
    if (!tail_) return Opaque(bytes);
    Uint(static_cast<std::uint32_t>(bytes.size()));
    *tail_ = {bytes, std::move(keep)};
}

std::uint32_t XdrIn::Uint() {
    if (!ok_ || rest_.size() < 4) {
        ok_ = false;
        return 0;
    }
    const auto byte = [&](size_t i) { return static_cast<std::uint32_t>(static_cast<unsigned char>(rest_[i])); };
    const std::uint32_t value = byte(0) << 24 | byte(1) << 16 | byte(2) << 8 | byte(3);
    rest_.remove_prefix(4);
    return value;
}

std::string_view XdrIn::Opaque(std::size_t maxLength) {
    const std::uint32_t length = Uint();
    const std::size_t padded = static_cast<std::size_t>(length) + (4 - length % 4) % 4;
    if (!ok_ || length > maxLength || padded > rest_.size()) {
        ok_ = false;
        return {};
    }
    const std::string_view bytes = rest_.substr(0, length);
    rest_.remove_prefix(padded);
    return bytes;
}

}  // namespace zpv::sim
