// Large blocks a program reads over and over (a waveform per test step, as bytes or as text) are
// kept for the next read instead of going back to the C library: a fresh block of megabytes costs
// a page fault and the kernel's zero-fill per 4 KiB, more than receiving the reply itself.
// Each thread keeps its own blocks, at most Limit() bytes in all; a block nobody takes for
// IdleTime() is freed by a sweeper thread, and ReleaseAll() frees every kept block at once (a
// session closed).
#pragma once

#include <chrono>
#include <cstddef>

namespace zpv::com::recycler {

// Blocks smaller than this come cheaply from the allocator's free lists and are never kept.
inline constexpr std::size_t kSmallestKept = 16 * 1024;

// A malloc block of at least `bytes` - the smallest kept block that fits and is at most twice as
// large, or a fresh one - with its usable size; null when memory runs out.
void* Take(std::size_t bytes, std::size_t* usable);
// Only a kept block (same fit), or null: for growing a block that already holds data.
void* TakeKept(std::size_t bytes, std::size_t* usable);
// Takes over a malloc block (or null): kept for the thread when it is a size worth keeping, the
// oldest kept blocks freed as needed to stay within Limit(); freed otherwise.
void Give(void* block);

// Frees every block kept by any thread.
void ReleaseAll();

// The most one thread keeps, in bytes: the largest response limit any session asked for
// (RaiseLimit), at least the default response limit.
std::size_t Limit();
void RaiseLimit(std::size_t bytes);

// How long a kept block waits for its next reply before it is freed.
std::chrono::milliseconds IdleTime();
void SetIdleTime(std::chrono::milliseconds idle);

struct Kept {
    std::size_t blocks = 0;
    std::size_t bytes = 0;
};
Kept KeptByThisThread();
Kept KeptInProcess();

}  // namespace zpv::com::recycler
