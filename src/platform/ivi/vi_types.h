// The scalar types of the flat C interface: those of the public C header, plus the few the
// driver uses inside.
#pragma once

#include <cstdint>

#include "zpv4870.h"

using ViInt64 = std::int64_t;
