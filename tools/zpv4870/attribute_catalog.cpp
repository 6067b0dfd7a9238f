#include "attribute_catalog.h"

#include <algorithm>
#include <cctype>
#include <type_traits>

#include "ZPV4870.h"
#include "capi/attribute_rows.h"
#include "members/format_fit.h"
#include "capi/enum_value_rows.h"

namespace zpv::cli {

namespace {

using zpv::members::format_fit::TypeName;

template <class Member>
struct Getter;
template <class Base, class T>
struct Getter<HRESULT (Base::*)(T*)> {
    using Value = T;
};

template <class T>
constexpr ValueKind KindOf() {
    if constexpr (std::is_same_v<T, double>) return ValueKind::Real64;
    else if constexpr (std::is_same_v<T, VARIANT_BOOL>) return ValueKind::Boolean;
    else if constexpr (std::is_same_v<T, BSTR>) return ValueKind::String;
    else return ValueKind::Int32;
}

template <class T>
std::string EnumNameOf() {
    if constexpr (std::is_enum_v<T>) return std::string(TypeName<T>());
    else return {};
}

struct Value {
    std::string_view macro;  // "ZPV4870_VAL_RANGE_HIGH"
    std::string_view enumName;
    ViInt32 value;
};

#define ZPV_CLI_VALUE(Macro, Enumerator) \
    Value{#Macro, TypeName<std::remove_cv_t<decltype(Enumerator)>>(), static_cast<ViInt32>(Enumerator)},
const Value kValues[] = {ZPV_C_ENUM_VALUES(ZPV_CLI_VALUE)};

// The values of one enumeration, named without the words they all share ("RANGE_HIGH" -> "HIGH").
std::vector<EnumValue> ValuesOf(std::string_view enumName) {
    std::vector<std::string> names;
    std::vector<ViInt32> numbers;
    for (const Value& v : kValues)
        if (v.enumName == enumName) {
            names.emplace_back(v.macro.substr(std::string_view("ZPV4870_VAL_").size()));
            numbers.push_back(v.value);
        }
    std::size_t shared = 0;
    if (names.size() > 1) {
        for (;;) {
            const std::size_t next = names[0].find('_', shared);
            if (next == std::string::npos) break;
            const std::string prefix = names[0].substr(0, next + 1);
            const bool all = std::all_of(names.begin(), names.end(), [&](const std::string& n) {
                return n.size() > prefix.size() && n.compare(0, prefix.size(), prefix) == 0 &&
                       !std::isdigit(static_cast<unsigned char>(n[prefix.size()]));
            });
            if (!all) break;
            shared = next + 1;
        }
    }
    std::vector<EnumValue> values;
    for (std::size_t i = 0; i < names.size(); ++i) values.push_back({names[i].substr(shared), numbers[i]});
    return values;
}

// Where an interface's attributes are named.
struct Place {
    std::string_view interfaceName;
    std::string_view prefix;  // "OutputPhase" marks the phase's place
};
constexpr Place kPlaces[] = {
    {"IIviDriverOperation", "Driver"},
    {"IIviDriverIdentity", "Identity"},
    {"IIviComponentIdentity", "Identity"},
    {"IZPV4870System", "System"},
    {"IZPV4870ExecutionConfigurations", "Execution.Configurations"},
    {"IZPV4870ListModeFile", "ListMode.File"},
    {"IZPV4870ListModeProgram", "ListMode.Program"},
    {"IZPV4870ListModeSequence", "ListMode.Sequence"},
    {"IZPV4870ManualModeFile", "ManualMode.File"},
    {"IZPV4870ManualMode", "ManualMode"},
    {"IZPV4870OutputPhases", "Output"},
    {"IZPV4870OutputPhase", "OutputPhase"},
    {"IZPV4870OutputPhaseCurrentProtection", "OutputPhase.CurrentProtection"},
    {"IZPV4870OutputPhaseDCGeneration", "OutputPhase.DCGeneration"},
    {"IZPV4870PulseModeFile", "PulseMode.File"},
    {"IZPV4870PulseMode", "PulseMode"},
    {"IZPV4870Result", "Result"},
    {"IZPV4870StepModeFile", "StepMode.File"},
    {"IZPV4870StepMode", "StepMode"},
    {"IIviACPwrOutputPhases", "Ivi"},
    {"IIviACPwrArbWaveform", "Ivi.ArbWaveform"},
    {"IIviACPwrExternalSync", "Ivi.ExternalSync"},
    {"IIviACPwrOutputPhase", "Ivi.OutputPhase"},
    {"IIviACPwrImpedance", "Ivi.OutputPhase.Impedance"},
    {"IIviACPwrCurrentProtection", "Ivi.OutputPhase.CurrentProtection"},
    {"IIviACPwrVoltageProtection", "Ivi.OutputPhase.VoltageProtection"},
    {"IIviACPwrDCGeneration", "Ivi.OutputPhase.DCGeneration"},
};

std::string PlaceOf(std::string_view interfaceName) {
    for (const Place& p : kPlaces)
        if (p.interfaceName == interfaceName) return std::string(p.prefix);
    return std::string(interfaceName);
}

// Units by the words of the property name.
std::string UnitOf(std::string_view property, ValueKind kind) {
    if (kind != ValueKind::Real64) return {};
    auto has = [&](std::string_view word) { return property.find(word) != std::string_view::npos; };
    if (has("Delay") || has("Time") || has("Period") || has("RampUp")) return "s";
    if (has("Frequency")) return "Hz";
    if (has("Angle") || has("PhaseOffset")) return "deg";
    if (has("PowerFactor") || has("CrestFactor") || has("Harmonic")) return {};
    if (has("ReactivePower")) return "var";
    if (has("ApparentPower")) return "VA";
    if (has("Power")) return "W";
    if (has("Current") || has("Threshold")) return "A";
    if (has("Voltage") || has("Limit") || has("Level") || has("Range")) return "V";
    if (has("Inductive")) return "H";
    if (has("Resistive")) return "ohm";
    return {};
}

#define ZPV_CLI_PER_PHASE_Session false
#define ZPV_CLI_PER_PHASE_PerPhase true
#define ZPV_CLI_WRITABLE_ReadOnly false
#define ZPV_CLI_WRITABLE_ReadWrite true
#define ZPV_CLI_ATTRIBUTE(Id, I, Name, Access, Scope)                                                       \
    {                                                                                                         \
        using T = Getter<decltype(&I::get_##Name)>::Value;                                                    \
        list.push_back({PlaceOf(#I) + "." #Name, Id, KindOf<T>(), ZPV_CLI_WRITABLE_##Access,                \
                        ZPV_CLI_PER_PHASE_##Scope, EnumNameOf<T>(), ValuesOf(EnumNameOf<T>()),               \
                        UnitOf(#Name, KindOf<T>())});                                                         \
    }

bool EqualNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

}  // namespace

const std::vector<Attribute>& Attributes() {
    static const std::vector<Attribute> attributes = [] {
        std::vector<Attribute> list;
        list.push_back({"Identity.SpecificDriverPrefix", ZPV4870_ATTR_SPECIFIC_DRIVER_PREFIX, ValueKind::String, false,
                        false, {}, {}, {}});
        ZPV_C_ATTRIBUTES(ZPV_CLI_ATTRIBUTE)
        return list;
    }();
    return attributes;
}

std::optional<Resolved> Resolve(std::string_view name) {
    // A phase is named with its number where the catalog has "OutputPhase".
    std::string pattern(name), channel;
    const std::string_view marker = "outputphase";
    std::string lower(name);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
    if (const auto at = lower.find(marker); at != std::string::npos) {
        std::size_t end = at + marker.size();
        while (end < lower.size() && std::isdigit(static_cast<unsigned char>(lower[end]))) ++end;
        if (end > at + marker.size()) {
            channel = "OutputPhase" + std::string(name.substr(at + marker.size(), end - at - marker.size()));
            pattern = std::string(name.substr(0, at)) + "OutputPhase" + std::string(name.substr(end));
        }
    }
    for (const Attribute& a : Attributes())
        if (EqualNoCase(a.name, pattern)) {
            if (a.perPhase && channel.empty()) channel = "OutputPhase1";
            if (!a.perPhase && !channel.empty()) continue;
            return Resolved{&a, a.perPhase ? channel : std::string()};
        }
    return std::nullopt;
}

std::string DisplayName(const Resolved& resolved) {
    std::string name = resolved.attribute->name;
    if (!resolved.channel.empty()) {
        const auto at = name.find("OutputPhase");
        name.replace(at, std::string_view("OutputPhase").size(), resolved.channel);
    }
    return name;
}

const char* KindName(ValueKind kind) {
    switch (kind) {
        case ValueKind::Int32: return "ViInt32";
        case ValueKind::Real64: return "ViReal64";
        case ValueKind::Boolean: return "ViBoolean";
        case ValueKind::String: return "ViString";
    }
    return "?";
}

}  // namespace zpv::cli
