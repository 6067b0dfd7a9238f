// The element block of a byte array a program reads over and over (a waveform per test step) is
// kept for the next read, one block per thread, as string caches do for BSTRs: handing a block of
// a few hundred kilobytes back to the C library only to fault fresh pages in for the next read
// costs more than the read itself.
#pragma once

#include <cstddef>

namespace zpv::com::recycler {

// A malloc block of at least `bytes` - the thread's kept block when it is large enough - with its
// usable size; null when memory runs out.
void* Take(std::size_t bytes, std::size_t* usable);
// Takes over a malloc block (or null): kept for the thread when it is a size worth keeping and
// larger than the one kept, freed otherwise.
void Give(void* block);

}  // namespace zpv::com::recycler
