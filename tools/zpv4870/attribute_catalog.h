// The attributes by the names people type: "ManualMode.Frequency", "OutputPhase1.VoltageLevel",
// "OutputPhase1.CurrentProtection.Delay", "Ivi.OutputPhase1.VoltageLevel". Made from the library's
// catalog (share/zpv4870/catalog.json, built into the tool): the places of the driver's tree,
// types, access, units and ranges are all the rows', none is written here.
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
    std::string name;  // with the item's name standing for a phase: "OutputPhase.VoltageLevel"
    ViAttr id;
    ValueKind kind;
    bool writable;
    bool perPhase;
    std::string enumName;           // "ZPV4870RangeEnum", or empty
    std::vector<EnumValue> values;  // the enumeration's values, by name
    std::string unit;               // "V", "A", "Hz", "per TimeUnit", ... or empty
    std::string range;              // "0 to 9" where the driver checks one, or empty
    std::string item;               // per phase: what one phase is called ("OutputPhase")
    std::string missingOn;          // the family whose models lack it, or empty
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

// "VoltageAcStart" as "voltage_ac_start": the names of list files and JSON keys.
std::string SnakeCase(const std::string& name);

// The fields of the instrument's list of all readings, in its order: name and unit.
struct ReadingField {
    std::string name;  // "VoltageAC"
    std::string unit;
};
const std::vector<ReadingField>& ReadingFields();

// The library's short text of a status ("Not implemented."), or "" for one it does not know.
std::string StatusText(long status);

// The catalog's text, as built into the tool.
extern const char* const kCatalogJson;

}  // namespace zpv::cli
