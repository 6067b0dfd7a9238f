// The message table as data: text, status and help context of every message id.
#pragma once

#include <span>

#include "zpv4870_runtime.h"

namespace zpv::resources {

struct MessageRow {
    unsigned id;
    const char* name;
    HRESULT status;
    DWORD helpContext;
    const char* text;  // begins "ZPV4870: "; %1..%3 are text inserts
};

std::span<const MessageRow> MessageTable();
// Null for ids outside the table.
const MessageRow* FindMessage(unsigned id);

inline constexpr const char* kHelpFile = "ZPV4870.chm";

}  // namespace zpv::resources
