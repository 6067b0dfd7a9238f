#include "platform/com/owned_bytes.h"

#include <cstdlib>

namespace zpv::com {

OwnedBytes::~OwnedBytes() { std::free(data_); }

bool OwnedBytes::Reserve(std::size_t more) {
    if (capacity_ - size_ >= more) return true;
    // Grows by half again: large blocks are remapped by realloc rather than copied.
    std::size_t capacity = capacity_ + capacity_ / 2;
    if (capacity < size_ + more) capacity = size_ + more;
    auto* grown = static_cast<BYTE*>(std::realloc(data_, capacity));
    if (!grown) return false;
    data_ = grown;
    capacity_ = capacity;
    return true;
}

SAFEARRAY* OwnedBytes::ReleaseAsSafeArray() {
    if (size_ > 0xFFFFFFFFu) return nullptr;
    SAFEARRAY* array = SafeArrayCreateVector(VT_UI1, 0, 0);
    if (!array) return nullptr;
    if (size_ > 0) {
        // The array's elements come from std::malloc too, so it can free what it takes over.
        auto* exact = static_cast<BYTE*>(std::realloc(data_, size_));
        if (exact) data_ = exact;
        std::free(array->pvData);
        array->pvData = data_;
        array->rgsabound[0].cElements = static_cast<ULONG>(size_);
        data_ = nullptr;
        size_ = capacity_ = 0;
    }
    return array;
}

}  // namespace zpv::com
