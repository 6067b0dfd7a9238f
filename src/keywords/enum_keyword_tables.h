// The keyword tables of the enumerations that cross the instrument link, as data.
#pragma once

#include <span>

#include "zpv4870_runtime.h"

namespace zpv::keywords {

// One value: the keyword sent for it, and one more keyword a response may carry for it.
struct KeywordRow {
    LONG value;
    const char* sends;
    const char* alsoAccepted = nullptr;
};

// Call contexts that share one keyword table.
struct ContextGroup {
    std::span<const char* const> contexts;
    std::span<const KeywordRow> keywords;
};

struct EnumTable {
    const char* name;  // the short name ("Range"), or "VARIANT_BOOL"
    // A driver enumeration answers to the short name, the name with "Enum", and both again with
    // the driver prefix.
    bool driverEnum;
    std::span<const ContextGroup> groups;         // the first group's first context is the default
    std::span<const KeywordRow> anyOtherContext;  // empty: other contexts select nothing
};

std::span<const EnumTable> EnumTables();

}  // namespace zpv::keywords
