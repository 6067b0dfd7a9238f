#include "platform/com/owned_bytes.h"

#include <cstdlib>

#include "platform/com/block_recycler.h"

namespace zpv::com {

OwnedBytes::~OwnedBytes() { recycler::Give(data_); }

bool OwnedBytes::Reserve(std::size_t more) {
    if (capacity_ - size_ >= more) return true;
    if (!data_) {
        data_ = static_cast<BYTE*>(recycler::Take(more, &capacity_));
        return data_ != nullptr;
    }
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
        // The array's elements come from std::malloc too, so it can free what it takes over. Much
        // room to spare goes back; a little stays, so the block serves the next read of this size.
        if (capacity_ - size_ > size_ / 8)
            if (auto* exact = static_cast<BYTE*>(std::realloc(data_, size_))) data_ = exact;
        std::free(array->pvData);
        array->pvData = data_;
        array->rgsabound[0].cElements = static_cast<ULONG>(size_);
        data_ = nullptr;
        size_ = capacity_ = 0;
    }
    return array;
}

}  // namespace zpv::com
