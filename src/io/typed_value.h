// The value types of the session's typed convenience operations.
#pragma once

#include <string>
#include <string_view>
#include <variant>

#include "zpv4870_runtime.h"

namespace zpv::io {

// One value to write: numbers as decimal text, booleans as "1"/"0", strings as they are.
using TypedValue = std::variant<BYTE, SHORT, LONG, LONGLONG, FLOAT, DOUBLE, bool, std::string_view>;

// Where a typed read stores its value.
using TypedDestination = std::variant<BYTE*, SHORT*, LONG*, LONGLONG*, FLOAT*, DOUBLE*, bool*, std::string*>;

}  // namespace zpv::io
