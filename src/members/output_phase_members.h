// The output phases: the instrument collection and phase, and their class-compliant counterparts.
#pragma once

#include <algorithm>
#include <string_view>

#include "ZPV4870.h"
#include "members/member_declarations.h"
#include "platform/com/text_conversion.h"
#include "members/rep_cap_collection.h"

namespace zpv::members {

// The waveform names the instrument accepts for a phase, exactly as written.
inline bool IsPhaseWaveformName(const BSTR& value) {
    static constexpr std::string_view kNames[] = {"SINE", "TRIANGLE", "SQUARE", "CLIPPED", "Sine", "Triangle",
                                                  "Square", "Clipped", "TRI", "SQU", "CLIP"};
    const std::string name = com::Utf8FromBstr(value);
    return std::find(std::begin(kNames), std::end(kNames), name) != std::end(kNames);
}

}  // namespace zpv::members

#define ZPV_LIST_IZPV4870OutputPhases(X, I) \
    X(SETTING, I, double, Frequency, "OUTP:FREQ", .unit = "Hz", .attribute = {"OUTPUT_PHASES_FREQUENCY", 1150058})

#define ZPV_LIST_IZPV4870OutputPhase(X, I) \
    X(SETTING, I, double, CurrentLimit, "OUTP:CURR:HIGH", .stored = true, .unit = "A", .attribute = {"OUTPUT_PHASE_CURRENT_LIMIT", 1150059}) \
    X(ENUM_SETTING, I, VARIANT_BOOL, Enabled, "OUTP", .attribute = {"OUTPUT_PHASE_ENABLED", 1150060}) \
    X(SETTING, I, double, PhaseAngle, "MAN:ANGL", .unit = "deg", .attribute = {"OUTPUT_PHASE_PHASE_ANGLE", 1150061}) \
    X(SETTING, I, double, VoltageLevel, "OUTP:VOLT:AC", .unit = "V", .attribute = {"OUTPUT_PHASE_VOLTAGE_LEVEL", 1150062}) \
    X(ENUM_SETTING, I, ZPV4870RangeEnum, VoltageRange, "MAN:RANG", .attribute = {"OUTPUT_PHASE_VOLTAGE_RANGE", 1150063}) \
    X(PROPERTY, I, BSTR, Waveform, "MAN:WAVE?", "%$Bs", "MAN:WAVE %$Bs", .stored = true, .initial = L"SINE", .check = &IsPhaseWaveformName, .attribute = {"OUTPUT_PHASE_WAVEFORM", 1150064}) \
    X(GROUP, I, IZPV4870OutputPhaseCurrentProtection, CurrentProtection, kAllModels) \
    X(GROUP, I, IZPV4870OutputPhaseDCGeneration, DCGeneration, kAllModels) \
    X(GROUP, I, IZPV4870OutputPhaseVoltageProtection, VoltageProtection, kAllModels)

#define ZPV_LIST_IIviACPwrOutputPhases(X, I) \
    X(CLASS_GETTER, I, LONG, NumPhases, .attribute = {"NUM_PHASES", 1250002}) \
    X(CLASS_PROPERTY, I, double, Frequency, .unit = "Hz", .attribute = {"FREQUENCY", 1250001}) \
    X(CLASS_PROPERTY, I, double, FrequencyRange, .unit = "Hz", .attribute = {"FREQUENCY_RANGE", 1250004}) \
    X(CLASS_GETTER, I, LONG, NumFrequencyRanges, .attribute = {"NUM_FREQUENCY_RANGES", 1250003}) \
    X(CLASS_GETTER, I, VARIANT_BOOL, FrequencyRampBusy, .attribute = {"FREQUENCY_RAMP_BUSY", 1250039}) \
    X(CLASS_METHOD, I, QueryFrequencyRangeCapabilities, (IN, LONG, Range), (OUT, double, MinFrequency), (OUT, double, MaxFrequency)) \
    X(CLASS_METHOD, I, RampFrequency, (IN, double, Frequency), (IN, double, Rate)) \
    X(CLASS_METHOD, I, AbortFrequencyRamp) \
    X(CLASS_METHOD, I, InitiateMeasurement, (IN, IviACPwrMeasurementGroupEnum, Group)) \
    X(GROUP, I, IIviACPwrExternalSync, ExternalSync, kAllModels)

#define ZPV_LIST_IIviACPwrOutputPhase(X, I) \
    X(CLASS_PROPERTY, I, double, CurrentLimit, .unit = "A", .attribute = {"CURRENT_LIMIT", 1250013}) \
    X(CLASS_PROPERTY, I, VARIANT_BOOL, Enabled, .initial = VARIANT_TRUE, .attribute = {"OUTPUT_ENABLED", 1250014}) \
    X(CLASS_PROPERTY, I, double, PhaseAngle, .unit = "deg", .attribute = {"PHASE_ANGLE", 1250019}) \
    X(CLASS_PROPERTY, I, double, VoltageLevel, .unit = "V", .attribute = {"VOLTAGE_LEVEL", 1250016}) \
    X(CLASS_PROPERTY, I, double, VoltageRange, .unit = "V", .attribute = {"VOLTAGE_RANGE", 1250018}) \
    X(CLASS_PROPERTY, I, BSTR, Waveform, .initial = L"", .attribute = {"WAVEFORM", 1250017}) \
    X(CLASS_GETTER, I, LONG, NumVoltageRanges, .attribute = {"NUM_VOLTAGE_RANGES", 1250015}) \
    X(CLASS_GETTER, I, VARIANT_BOOL, VoltageRampBusy, .attribute = {"VOLTAGE_RAMP_BUSY", 1250037}) \
    X(CLASS_GETTER, I, VARIANT_BOOL, CurrentRampBusy, .attribute = {"CURRENT_RAMP_BUSY", 1250038}) \
    X(CLASS_METHOD, I, QueryVoltageRangeCapabilities, (IN, LONG, Range), (OUT, double, MaxVoltage), (OUT, double, MinVoltage)) \
    X(CLASS_METHOD, I, FetchMeasurement, (IN, IviACPwrMeasurementTypeEnum, MeasurementType), (OUT, double, Measurement)) \
    X(CLASS_METHOD, I, FetchMeasurementArray, (IN, IviACPwrMeasurementTypeEnum, MeasurementType), (INOUT, SAFEARRAY*, Measurement), (OUT, LONG, MeasurementActualSize)) \
    X(CLASS_METHOD, I, RampVoltage, (IN, double, Voltage), (IN, double, Rate)) \
    X(CLASS_METHOD, I, RampCurrent, (IN, double, Current), (IN, double, Rate)) \
    X(CLASS_METHOD, I, AbortVoltageRamp) \
    X(CLASS_METHOD, I, AbortCurrentRamp) \
    X(GROUP, I, IIviACPwrCurrentProtection, CurrentProtection, kAllModels) \
    X(GROUP, I, IIviACPwrDCGeneration, DCGeneration, kAllModels) \
    X(GROUP, I, IIviACPwrImpedance, Impedance, kAllModels) \
    X(GROUP, I, IIviACPwrVoltageProtection, VoltageProtection, kAllModels)
