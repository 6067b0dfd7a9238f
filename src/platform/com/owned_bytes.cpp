#include "platform/com/owned_bytes.h"

#include <cstdlib>
#include <cstring>

#include "platform/com/block_recycler.h"

namespace zpv::com {

OwnedBytes::~OwnedBytes() { recycler::Give(data_); }

bool OwnedBytes::Reserve(std::size_t more) {
    if (capacity_ - size_ >= more) return true;
    if (!data_) {
        data_ = static_cast<BYTE*>(recycler::Take(more, &capacity_));
        return data_ != nullptr;
    }
    std::size_t capacity = capacity_ + capacity_ / 2;
    if (capacity < size_ + more) capacity = size_ + more;
    // A kept block of the size needed is worth copying what is held into (no fresh pages);
    // otherwise large blocks are remapped by realloc rather than copied.
    std::size_t kept = 0;
    if (auto* reused = static_cast<BYTE*>(recycler::TakeKept(size_ + more, &kept))) {
        std::memcpy(reused, data_, size_);
        recycler::Give(data_);
        data_ = reused;
        capacity_ = kept;
        return true;
    }
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
        // The array's elements come from std::malloc too, so it can free what it takes over. Room
        // beyond twice the size goes back; less stays, so the block serves the next read of its size.
        if (capacity_ / 2 > size_)
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
