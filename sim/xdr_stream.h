// XDR as the simulator's RPC servers read and write it: 4-byte big-endian units, opaque data padded
// to a multiple of 4. Reading stops at the first bad field and stays failed, so a handler decodes a
// whole argument structure and checks once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace zpv::sim {

// Bulk data that ends a reply, sent from where it lies rather than copied into the record; keep
// holds it alive until it has gone out.
struct XdrTail {
    std::string_view bytes;
    std::shared_ptr<const void> keep;
};

class XdrOut {
public:
    explicit XdrOut(std::string& out, XdrTail* tail = nullptr) : out_(out), tail_(tail) {}
    void Uint(std::uint32_t value);
    void Int(std::int32_t value) { Uint(static_cast<std::uint32_t>(value)); }
    void Opaque(std::string_view bytes);
    // Opaque data that is the last thing written: left where it is when the writer takes a tail.
    void OpaqueTail(std::string_view bytes, std::shared_ptr<const void> keep);

private:
    std::string& out_;
    XdrTail* tail_;
};

class XdrIn {
public:
    explicit XdrIn(std::string_view bytes) : rest_(bytes) {}
    std::uint32_t Uint();
    std::int32_t Int() { return static_cast<std::int32_t>(Uint()); }
    // Variable-length opaque data of at most maxLength bytes.
    std::string_view Opaque(std::size_t maxLength);
    bool ok() const { return ok_; }
    std::string_view rest() const { return rest_; }

private:
    std::string_view rest_;
    bool ok_ = true;
};

}  // namespace zpv::sim
