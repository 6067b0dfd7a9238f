// A BSTR filled in place: reserved with room for the most characters a conversion can give, then
// finished at the length it gave. The characters are not initialised in between.
#pragma once

#include <cstddef>

#include "zpv4870_runtime.h"

namespace zpv::com {

// Room for `capacity` wide characters; null when memory runs out or the length cannot be a BSTR's.
BSTR ReserveBstr(std::size_t capacity);
// Sets the length (at most the capacity) and the terminating NUL; the BSTR may move.
BSTR FinishBstr(BSTR text, std::size_t length);

}  // namespace zpv::com
