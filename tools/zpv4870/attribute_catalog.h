// The attributes by the names people type: "ManualMode.Frequency", "OutputPhase1.VoltageLevel",
// "OutputPhase1.CurrentProtection.Delay", "Ivi.OutputPhase1.VoltageLevel". Made from the C
// interface's attribute rows; the value types come from the object interface's members.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "zpv4870.h"

namespace zpv::cli {

enum class ValueKind { Int32, Real64, Boolean, String };

struct EnumValue {
    std::string name;  // "HIGH"
    ViInt32 value;
};

struct Attribute {
    std::string name;  // with "OutputPhase<n>" standing for the phase: "OutputPhase.VoltageLevel"
    ViAttr id;
    ValueKind kind;
    bool writable;
    bool perPhase;
    std::string enumName;           // "ZPV4870RangeEnum", or empty
    std::vector<EnumValue> values;  // the enumeration's values, by name
    std::string unit;               // "V", "A", "Hz", ... or empty
};

// A name resolved: the attribute and, for a per-phase one, the phase's channel name.
struct Resolved {
    const Attribute* attribute;
    std::string channel;
};

const std::vector<Attribute>& Attributes();

// "outputphase2.voltagelevel" (any letter case) -> the attribute and "OutputPhase2"; nullopt
// when no attribute has that name.
std::optional<Resolved> Resolve(std::string_view name);

// The display name of a resolved attribute ("OutputPhase1.VoltageLevel").
std::string DisplayName(const Resolved& resolved);

const char* KindName(ValueKind kind);

}  // namespace zpv::cli
