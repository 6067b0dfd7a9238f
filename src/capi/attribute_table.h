// The C interface's attributes by identifier, built once from the attribute rows: the member
// rows' `.attribute` columns and the driver object's own (capi/attribute_rows.h).
#pragma once

#include <span>
#include <string_view>

#include "platform/ivi/vi_types.h"

namespace zpv::capi {

// The value type of an attribute, numbered as the C interface numbers them.
enum class ValueType : int { Int32 = 1, Real64 = 3, Boolean = 4, Session = 5, String = 6 };

// Reads into the C value at value (a ViInt32, ViReal64, ViBoolean or a text buffer of
// bufferSize bytes); writes the C value at value (a ViInt32, ViReal64, ViBoolean or ViConstString).
using AttributeReader = ViStatus (*)(ViSession vi, ViConstString channel, void* value, ViInt32 bufferSize);
using AttributeWriter = ViStatus (*)(ViSession vi, ViConstString channel, const void* value);

struct AttributeEntry {
    ViAttr id;
    const char* name;  // "ZPV4870_ATTR_VOLTAGE_LEVEL"
    ValueType type;
    std::string_view enumName;  // "ZPV4870RangeEnum" for an enumeration-valued ViInt32, else empty
    bool perPhase;
    AttributeReader read;
    AttributeWriter write;  // null: read-only
    const char* interfaceName;  // "IZPV4870OutputPhase"; "" for the driver prefix
    const char* property;       // "VoltageLevel" (the member's get_/put_ name)
};

std::span<const AttributeEntry> AllAttributes();
// Null for an identifier without an attribute.
const AttributeEntry* FindAttribute(ViAttr id);

}  // namespace zpv::capi
