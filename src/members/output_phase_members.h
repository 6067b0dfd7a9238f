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
    X(SETTING, I, double, Frequency, "OUTP:FREQ", .unit = "Hz")

#define ZPV_LIST_IZPV4870OutputPhase(X, I) \
    X(SETTING, I, double, CurrentLimit, "OUTP:CURR:HIGH", .stored = true, .unit = "A") \
    X(ENUM_SETTING, I, VARIANT_BOOL, Enabled, "OUTP") \
    X(SETTING, I, double, PhaseAngle, "MAN:ANGL", .unit = "deg") \
    X(SETTING, I, double, VoltageLevel, "OUTP:VOLT:AC", .unit = "V") \
    X(ENUM_SETTING, I, ZPV4870RangeEnum, VoltageRange, "MAN:RANG") \
    X(PROPERTY, I, BSTR, Waveform, "MAN:WAVE?", "%$Bs", "MAN:WAVE %$Bs", .stored = true, .initial = L"SINE", .check = &IsPhaseWaveformName) \
    X(GROUP, I, IZPV4870OutputPhaseCurrentProtection, CurrentProtection, kAllModels) \
    X(GROUP, I, IZPV4870OutputPhaseDCGeneration, DCGeneration, kAllModels) \
    X(GROUP, I, IZPV4870OutputPhaseVoltageProtection, VoltageProtection, kAllModels)

#define ZPV_LIST_IIviACPwrOutputPhases(X, I) \
    X(CLASS_GETTER, I, LONG, NumPhases) \
    X(CLASS_PROPERTY, I, double, Frequency, .unit = "Hz") \
    X(CLASS_PROPERTY, I, double, FrequencyRange, .unit = "Hz") \
    X(CLASS_GETTER, I, LONG, NumFrequencyRanges) \
    X(CLASS_GETTER, I, VARIANT_BOOL, FrequencyRampBusy) \
    X(CLASS_METHOD, I, QueryFrequencyRangeCapabilities, (IN, LONG, Range), (OUT, double, MinFrequency), (OUT, double, MaxFrequency)) \
    X(CLASS_METHOD, I, RampFrequency, (IN, double, Frequency), (IN, double, Rate)) \
    X(CLASS_METHOD, I, AbortFrequencyRamp) \
    X(CLASS_METHOD, I, InitiateMeasurement, (IN, IviACPwrMeasurementGroupEnum, Group)) \
    X(GROUP, I, IIviACPwrExternalSync, ExternalSync, kAllModels)

#define ZPV_LIST_IIviACPwrOutputPhase(X, I) \
    X(CLASS_PROPERTY, I, double, CurrentLimit, .unit = "A") \
    X(CLASS_PROPERTY, I, VARIANT_BOOL, Enabled, .initial = VARIANT_TRUE) \
    X(CLASS_PROPERTY, I, double, PhaseAngle, .unit = "deg") \
    X(CLASS_PROPERTY, I, double, VoltageLevel, .unit = "V") \
    X(CLASS_PROPERTY, I, double, VoltageRange, .unit = "V") \
    X(CLASS_PROPERTY, I, BSTR, Waveform, .initial = L"") \
    X(CLASS_GETTER, I, LONG, NumVoltageRanges) \
    X(CLASS_GETTER, I, VARIANT_BOOL, VoltageRampBusy) \
    X(CLASS_GETTER, I, VARIANT_BOOL, CurrentRampBusy) \
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
