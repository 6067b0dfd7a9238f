// A growable block of bytes from std::malloc that a byte safe array can take over without a copy:
// a large reply is received straight into the memory the caller gets.
#pragma once

#include <cstddef>

#include "zpv4870_runtime.h"

namespace zpv::com {

class OwnedBytes {
public:
    OwnedBytes() = default;
    ~OwnedBytes();
    OwnedBytes(const OwnedBytes&) = delete;
    OwnedBytes& operator=(const OwnedBytes&) = delete;

    BYTE* data() { return data_; }
    std::size_t size() const { return size_; }
    // Room for at least `more` bytes after size(); false when memory runs out.
    bool Reserve(std::size_t more);
    // Counts `count` bytes written at data() + size().
    void Grow(std::size_t count) { size_ += count; }

    // A VT_UI1 safe array holding the bytes, which it now owns; null when memory runs out.
    SAFEARRAY* ReleaseAsSafeArray();

private:
    BYTE* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};

}  // namespace zpv::com
