// The C interface's own short text of each status, as ZPV4870_error_message gives it.
#pragma once

#include <string_view>

#include "platform/ivi/vi_types.h"

namespace zpv::capi {

// The text of status, with its %1 inserts unfilled; empty for a status without one.
std::string_view StatusMessage(ViStatus status);

}  // namespace zpv::capi
