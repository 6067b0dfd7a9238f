// The output phases: the instrument collection and phase, and their class-compliant counterparts.
#pragma once

#include <algorithm>
#include <string_view>

#include "ZPV4870.h"
#include "commands/member_macros.h"
#include "platform/com/text_conversion.h"
#include "repcap/rep_cap_collection.h"

namespace zpv::commands {

// The waveform names the instrument accepts for a phase, exactly as written.
inline bool IsPhaseWaveformName(const BSTR& value) {
    static constexpr std::string_view kNames[] = {"SINE", "TRIANGLE", "SQUARE", "CLIPPED", "Sine", "Triangle",
                                                  "Square", "Clipped", "TRI", "SQU", "CLIP"};
    const std::string name = com::Utf8FromBstr(value);
    return std::find(std::begin(kNames), std::end(kNames), name) != std::end(kNames);
}

namespace rows {

ZPV_INSTRUMENT_PROPERTY(IZPV4870OutputPhases, Frequency, double, "OUTP:FREQ?", "%lg", "OUTP:FREQ %0.15lg", false, 0.0, kAllModels)

ZPV_INSTRUMENT_PROPERTY(IZPV4870OutputPhase, CurrentLimit, double, "OUTP:CURR:HIGH?", "%lg", "OUTP:CURR:HIGH %0.15lg", true, 0.0, kAllModels)
ZPV_INSTRUMENT_PROPERTY(IZPV4870OutputPhase, Enabled, VARIANT_BOOL, "OUTP?", "%{VARIANT_BOOL}s", "OUTP %{VARIANT_BOOL}s", false, VARIANT_FALSE, kAllModels)
ZPV_INSTRUMENT_PROPERTY(IZPV4870OutputPhase, PhaseAngle, double, "MAN:ANGL?", "%lg", "MAN:ANGL %0.15lg", false, 0.0, kAllModels)
ZPV_INSTRUMENT_PROPERTY(IZPV4870OutputPhase, VoltageLevel, double, "OUTP:VOLT:AC?", "%lg", "OUTP:VOLT:AC %0.15lg", false, 0.0, kAllModels)
ZPV_INSTRUMENT_PROPERTY(IZPV4870OutputPhase, VoltageRange, ZPV4870RangeEnum, "MAN:RANG?", "%{ZPV4870RangeEnum}s", "MAN:RANG %{ZPV4870RangeEnum}s", false, ZPV4870RangeAuto, kAllModels)
inline const PropertyRow<BSTR> kIZPV4870OutputPhase_Waveform{{.iid = IID_IZPV4870OutputPhase,
                                                              .interfaceName = "IZPV4870OutputPhase",
                                                              .property = "Waveform",
                                                              .access = Access::Instrument,
                                                              .simulatedKey = "IZPV4870OutputPhase.Waveform",
                                                              .simulatedDefault = L"SINE",
                                                              .getCommand = "MAN:WAVE?",
                                                              .getResponse = "%$Bs",
                                                              .putCommand = "MAN:WAVE %$Bs",
                                                              .inRange = &IsPhaseWaveformName}};
ZPV_GROUP_ROW(IZPV4870OutputPhase, CurrentProtection, kAllModels)
ZPV_GROUP_ROW(IZPV4870OutputPhase, DCGeneration, kAllModels)
ZPV_GROUP_ROW(IZPV4870OutputPhase, VoltageProtection, kAllModels)

ZPV_CLASS_PROPERTY(IIviACPwrOutputPhases, NumPhases, LONG, false, 0)
ZPV_CLASS_PROPERTY(IIviACPwrOutputPhases, Frequency, double, true, 0.0)
ZPV_CLASS_PROPERTY(IIviACPwrOutputPhases, FrequencyRange, double, true, 0.0)
ZPV_CLASS_PROPERTY(IIviACPwrOutputPhases, NumFrequencyRanges, LONG, false, 0)
ZPV_CLASS_PROPERTY(IIviACPwrOutputPhases, FrequencyRampBusy, VARIANT_BOOL, false, VARIANT_FALSE)
ZPV_CLASS_METHOD_ROW(IIviACPwrOutputPhases, QueryFrequencyRangeCapabilities)
ZPV_CLASS_METHOD_ROW(IIviACPwrOutputPhases, RampFrequency)
ZPV_CLASS_METHOD_ROW(IIviACPwrOutputPhases, AbortFrequencyRamp)
ZPV_CLASS_METHOD_ROW(IIviACPwrOutputPhases, InitiateMeasurement)
ZPV_GROUP_ROW(IIviACPwrOutputPhases, ExternalSync, kAllModels)

ZPV_CLASS_PROPERTY(IIviACPwrOutputPhase, CurrentLimit, double, true, 0.0)
ZPV_CLASS_PROPERTY(IIviACPwrOutputPhase, Enabled, VARIANT_BOOL, true, VARIANT_TRUE)
ZPV_CLASS_PROPERTY(IIviACPwrOutputPhase, PhaseAngle, double, true, 0.0)
ZPV_CLASS_PROPERTY(IIviACPwrOutputPhase, VoltageLevel, double, true, 0.0)
ZPV_CLASS_PROPERTY(IIviACPwrOutputPhase, VoltageRange, double, true, 0.0)
ZPV_CLASS_PROPERTY(IIviACPwrOutputPhase, Waveform, BSTR, true, L"")
ZPV_CLASS_PROPERTY(IIviACPwrOutputPhase, NumVoltageRanges, LONG, false, 0)
ZPV_CLASS_PROPERTY(IIviACPwrOutputPhase, VoltageRampBusy, VARIANT_BOOL, false, VARIANT_FALSE)
ZPV_CLASS_PROPERTY(IIviACPwrOutputPhase, CurrentRampBusy, VARIANT_BOOL, false, VARIANT_FALSE)
ZPV_CLASS_METHOD_ROW(IIviACPwrOutputPhase, QueryVoltageRangeCapabilities)
ZPV_CLASS_METHOD_ROW(IIviACPwrOutputPhase, FetchMeasurement)
ZPV_CLASS_METHOD_ROW(IIviACPwrOutputPhase, FetchMeasurementArray)
ZPV_CLASS_METHOD_ROW(IIviACPwrOutputPhase, RampVoltage)
ZPV_CLASS_METHOD_ROW(IIviACPwrOutputPhase, RampCurrent)
ZPV_CLASS_METHOD_ROW(IIviACPwrOutputPhase, AbortVoltageRamp)
ZPV_CLASS_METHOD_ROW(IIviACPwrOutputPhase, AbortCurrentRamp)
ZPV_GROUP_ROW(IIviACPwrOutputPhase, CurrentProtection, kAllModels)
ZPV_GROUP_ROW(IIviACPwrOutputPhase, DCGeneration, kAllModels)
ZPV_GROUP_ROW(IIviACPwrOutputPhase, Impedance, kAllModels)
ZPV_GROUP_ROW(IIviACPwrOutputPhase, VoltageProtection, kAllModels)

}  // namespace rows

template <class Owner>
class Zpv4870OutputPhasesMembers : public repcap::RepCapCollection<Owner, IZPV4870OutputPhases, IZPV4870OutputPhase> {
    ZPV_MEMBERS_OF(Owner)
    ZPV_PROPERTY(double, Frequency, rows::kIZPV4870OutputPhases_Frequency)
};

template <class Owner>
class Zpv4870OutputPhaseMembers : public IZPV4870OutputPhase {
    ZPV_MEMBERS_OF(Owner)
    ZPV_PROPERTY(double, CurrentLimit, rows::kIZPV4870OutputPhase_CurrentLimit)
    ZPV_GROUP(IZPV4870OutputPhaseCurrentProtection, CurrentProtection, rows::kIZPV4870OutputPhase_get_CurrentProtection)
    ZPV_GROUP(IZPV4870OutputPhaseDCGeneration, DCGeneration, rows::kIZPV4870OutputPhase_get_DCGeneration)
    ZPV_PROPERTY(VARIANT_BOOL, Enabled, rows::kIZPV4870OutputPhase_Enabled)
    ZPV_PROPERTY(double, PhaseAngle, rows::kIZPV4870OutputPhase_PhaseAngle)
    ZPV_PROPERTY(double, VoltageLevel, rows::kIZPV4870OutputPhase_VoltageLevel)
    ZPV_GROUP(IZPV4870OutputPhaseVoltageProtection, VoltageProtection, rows::kIZPV4870OutputPhase_get_VoltageProtection)
    ZPV_PROPERTY(ZPV4870RangeEnum, VoltageRange, rows::kIZPV4870OutputPhase_VoltageRange)
    ZPV_PROPERTY(BSTR, Waveform, rows::kIZPV4870OutputPhase_Waveform)
};

template <class Owner>
class IviACPwrOutputPhasesMembers : public repcap::RepCapCollection<Owner, IIviACPwrOutputPhases, IIviACPwrOutputPhase> {
    ZPV_MEMBERS_OF(Owner)
    ZPV_GETTER(LONG, NumPhases, rows::kIIviACPwrOutputPhases_NumPhases)
    ZPV_PROPERTY(double, Frequency, rows::kIIviACPwrOutputPhases_Frequency)
    ZPV_PROPERTY(double, FrequencyRange, rows::kIIviACPwrOutputPhases_FrequencyRange)
    ZPV_GETTER(LONG, NumFrequencyRanges, rows::kIIviACPwrOutputPhases_NumFrequencyRanges)
    HRESULT QueryFrequencyRangeCapabilities(LONG, double* MinFrequency, double* MaxFrequency) override {
        return NotImplemented(Self(), rows::kIIviACPwrOutputPhases_QueryFrequencyRangeCapabilities,
                              driver::RetVal(MinFrequency, "MinFrequency"), driver::RetVal(MaxFrequency, "MaxFrequency"));
    }
    HRESULT RampFrequency(double, double) override {
        return NotImplemented(Self(), rows::kIIviACPwrOutputPhases_RampFrequency);
    }
    HRESULT AbortFrequencyRamp() override { return NotImplemented(Self(), rows::kIIviACPwrOutputPhases_AbortFrequencyRamp); }
    ZPV_GETTER(VARIANT_BOOL, FrequencyRampBusy, rows::kIIviACPwrOutputPhases_FrequencyRampBusy)
    HRESULT InitiateMeasurement(IviACPwrMeasurementGroupEnum) override {
        return NotImplemented(Self(), rows::kIIviACPwrOutputPhases_InitiateMeasurement);
    }
    ZPV_GROUP(IIviACPwrExternalSync, ExternalSync, rows::kIIviACPwrOutputPhases_get_ExternalSync)
};

template <class Owner>
class IviACPwrOutputPhaseMembers : public IIviACPwrOutputPhase {
    ZPV_MEMBERS_OF(Owner)
    ZPV_PROPERTY(double, CurrentLimit, rows::kIIviACPwrOutputPhase_CurrentLimit)
    ZPV_PROPERTY(VARIANT_BOOL, Enabled, rows::kIIviACPwrOutputPhase_Enabled)
    ZPV_PROPERTY(double, PhaseAngle, rows::kIIviACPwrOutputPhase_PhaseAngle)
    ZPV_PROPERTY(double, VoltageLevel, rows::kIIviACPwrOutputPhase_VoltageLevel)
    ZPV_PROPERTY(double, VoltageRange, rows::kIIviACPwrOutputPhase_VoltageRange)
    ZPV_PROPERTY(BSTR, Waveform, rows::kIIviACPwrOutputPhase_Waveform)
    ZPV_GETTER(LONG, NumVoltageRanges, rows::kIIviACPwrOutputPhase_NumVoltageRanges)
    ZPV_GETTER(VARIANT_BOOL, VoltageRampBusy, rows::kIIviACPwrOutputPhase_VoltageRampBusy)
    ZPV_GETTER(VARIANT_BOOL, CurrentRampBusy, rows::kIIviACPwrOutputPhase_CurrentRampBusy)
    HRESULT QueryVoltageRangeCapabilities(LONG, double* MaxVoltage, double* MinVoltage) override {
        return NotImplemented(Self(), rows::kIIviACPwrOutputPhase_QueryVoltageRangeCapabilities,
                              driver::RetVal(MaxVoltage, "MaxVoltage"), driver::RetVal(MinVoltage, "MinVoltage"));
    }
    HRESULT FetchMeasurement(IviACPwrMeasurementTypeEnum, double* Measurement) override {
        return NotImplemented(Self(), rows::kIIviACPwrOutputPhase_FetchMeasurement,
                              driver::RetVal(Measurement, "Measurement"));
    }
    HRESULT FetchMeasurementArray(IviACPwrMeasurementTypeEnum, SAFEARRAY** Measurement,
                                  LONG* MeasurementActualSize) override {
        return NotImplemented(Self(), rows::kIIviACPwrOutputPhase_FetchMeasurementArray,
                              driver::InOut(Measurement, "Measurement"),
                              driver::RetVal(MeasurementActualSize, "MeasurementActualSize"));
    }
    HRESULT RampVoltage(double, double) override { return NotImplemented(Self(), rows::kIIviACPwrOutputPhase_RampVoltage); }
    HRESULT RampCurrent(double, double) override { return NotImplemented(Self(), rows::kIIviACPwrOutputPhase_RampCurrent); }
    HRESULT AbortVoltageRamp() override { return NotImplemented(Self(), rows::kIIviACPwrOutputPhase_AbortVoltageRamp); }
    HRESULT AbortCurrentRamp() override { return NotImplemented(Self(), rows::kIIviACPwrOutputPhase_AbortCurrentRamp); }
    ZPV_GROUP(IIviACPwrCurrentProtection, CurrentProtection, rows::kIIviACPwrOutputPhase_get_CurrentProtection)
    ZPV_GROUP(IIviACPwrDCGeneration, DCGeneration, rows::kIIviACPwrOutputPhase_get_DCGeneration)
    ZPV_GROUP(IIviACPwrImpedance, Impedance, rows::kIIviACPwrOutputPhase_get_Impedance)
    ZPV_GROUP(IIviACPwrVoltageProtection, VoltageProtection, rows::kIIviACPwrOutputPhase_get_VoltageProtection)
};

}  // namespace zpv::commands
