#include "platform/com/block_recycler.h"

#include <malloc.h>

#include <cstdlib>

namespace zpv::com::recycler {

namespace {

// Smaller blocks come cheaply from the allocator's free lists; larger ones are not held idle.
constexpr std::size_t kSmallestKept = 16 * 1024;
constexpr std::size_t kLargestKept = 4u << 20;

struct KeptBlock {
    void* block = nullptr;
    std::size_t usable = 0;
    ~KeptBlock() { std::free(block); }
};

thread_local KeptBlock kept;

}  // namespace

void* Take(std::size_t bytes, std::size_t* usable) {
    if (kept.block && kept.usable >= bytes) {
        void* block = kept.block;
        *usable = kept.usable;
        kept.block = nullptr;
        kept.usable = 0;
        return block;
    }
    void* block = std::malloc(bytes);
    *usable = block ? malloc_usable_size(block) : 0;
    return block;
}

void Give(void* block) {
    if (!block) return;
    const std::size_t usable = malloc_usable_size(block);
    if (usable < kSmallestKept || usable > kLargestKept || usable <= kept.usable) {
        std::free(block);
        return;
    }
    std::free(kept.block);
    kept.block = block;
    kept.usable = usable;
}

}  // namespace zpv::com::recycler
