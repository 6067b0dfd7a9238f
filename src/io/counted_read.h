// A read of bytes whose count is known (the data of a definite-length block): the termination
// character, which ends messages on sockets and serial lines, is data there.
#pragma once

#include "io/low_level_io.h"

namespace zpv::io {

// Reads at most count bytes with the termination character switched off for the read (and back
// on after it). S_OK only when END came with the bytes; kStatusMoreData when count arrived first.
HRESULT ReadIgnoringTermChar(ILowLevelIo& io, BYTE* buffer, LONG count, LONG* actual);

// Whether a read that ended the response (S_OK) with `last` as its last byte may have stopped at
// the termination character rather than at END.
bool MayHaveStoppedAtTermChar(ILowLevelIo& io, BYTE last);

}  // namespace zpv::io
