// Message ids of the driver's message table.
#pragma once

namespace zpv::errors {

enum class MessageId : unsigned {
#define ZPV_MESSAGE(id, name, status, help, text) name = id,
#include "resources/messages.inc"
#undef ZPV_MESSAGE
};

}  // namespace zpv::errors
