// VXI-11 Device_ErrorCode values turned into VISA statuses and words a user can act on.
#pragma once

#include <cstdint>
#include <string>

#include "platform/visa/status.h"

namespace zpv::visa {

// VI_SUCCESS for 0; a code the table does not know is an I/O error.
ViStatus Vxi11ErrorStatus(std::int32_t code);
// "VXI-11 error 11 (device locked by another link)".
std::string Vxi11ErrorText(std::int32_t code);

}  // namespace zpv::visa
