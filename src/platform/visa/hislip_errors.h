// The error codes of HiSLIP's FatalError and Error messages, as VISA statuses and words.
#pragma once

#include <cstdint>
#include <string>

#include "platform/visa/status.h"

namespace zpv::visa {

// A fatal error ends the connection: the session is lost whatever the code.
std::string HislipFatalErrorText(std::uint8_t code);
// The server may refuse a session for want of room; every other fatal error at open means no service.
ViStatus HislipRefusalStatus(std::uint8_t code);

// A non-fatal error leaves the session usable; the failed operation gets this status.
ViStatus HislipErrorStatus(std::uint8_t code);
std::string HislipErrorText(std::uint8_t code);

}  // namespace zpv::visa
