// How the C interface hands text to a caller's buffer.
#pragma once

#include <string_view>

#include "platform/ivi/vi_types.h"

namespace zpv::ivi {

// No buffer or size 0: nothing written, returns the size needed (length + 1). Negative size or
// enough room: the whole text with its NUL, returns 0. Otherwise size - 1 bytes and a NUL, returns
// the size needed.
ViInt32 CopyOutText(std::string_view text, ViInt32 bufferSize, char* buffer);

}  // namespace zpv::ivi
