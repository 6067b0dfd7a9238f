// Protection, DC generation, impedance, arbitrary waveform and external synchronisation groups:
// the instrument's own groups on the phase object and the class-compliant groups.
#pragma once

#include "ZPV4870.h"
#include "commands/member_macros.h"

namespace zpv::commands {

namespace rows {

ZPV_ACTION_ROW(IZPV4870OutputPhaseCurrentProtection, Configure, "MAN:CURR:HIGH %0.15lg;DEL %0.15lg", kAllModels)
ZPV_ACTION_ROW(IZPV4870OutputPhaseCurrentProtection, Reset, "OUTP:PROT:CLE", kAllModels)
ZPV_INSTRUMENT_PROPERTY(IZPV4870OutputPhaseCurrentProtection, Delay, double, "MAN:CURR:DEL?", "%lg", "MAN:CURR:DEL %0.15lg", false, 0.0, kAllModels)
ZPV_INSTRUMENT_PROPERTY(IZPV4870OutputPhaseCurrentProtection, Enabled, VARIANT_BOOL, "MAN:CURR:HIGH?", "%{VARIANT_BOOL}s", "MAN:CURR:HIGH %{VARIANT_BOOL}s", false, VARIANT_FALSE, kAllModels)
ZPV_INSTRUMENT_PROPERTY(IZPV4870OutputPhaseCurrentProtection, Threshold, double, "MAN:CURR:HIGH?", "%lg", "MAN:CURR:HIGH %0.15lg", false, 0.0, kAllModels)

ZPV_ACTION_ROW(IZPV4870OutputPhaseDCGeneration, Configure, "MAN:COUP %{ZPV4870DCGenerationEnum}s;VOLT:DC %0.15lg", kAllModels)
ZPV_INSTRUMENT_PROPERTY(IZPV4870OutputPhaseDCGeneration, Mode, ZPV4870DCGenerationEnum, "MAN:COUP?", "%{ZPV4870DCGenerationEnum}s", "MAN:COUP %{ZPV4870DCGenerationEnum}s", true, ZPV4870DCGenerationModeACOnly, kAllModels)
ZPV_INSTRUMENT_PROPERTY(IZPV4870OutputPhaseDCGeneration, DCVoltageLevel, double, "MAN:VOLT:DC?", "%lg", "MAN:VOLT:DC %0.15lg", false, 0.0, kAllModels)
ZPV_INSTRUMENT_PROPERTY(IZPV4870OutputPhaseDCGeneration, ConfigureRange, ZPV4870RangeEnum, "MAN:RANG?", "%{ZPV4870RangeEnum}s", "MAN:RANG %{ZPV4870RangeEnum}s", true, ZPV4870RangeAuto, kAllModels)

ZPV_ACTION_ROW(IZPV4870OutputPhaseVoltageProtection, Reset, "OUTP:PROT:CLE", kAllModels)

ZPV_CLASS_METHOD_ROW(IIviACPwrCurrentProtection, Configure)
ZPV_CLASS_METHOD_ROW(IIviACPwrCurrentProtection, Reset)
ZPV_CLASS_PROPERTY(IIviACPwrCurrentProtection, Delay, double, true, 0.0)
ZPV_CLASS_PROPERTY(IIviACPwrCurrentProtection, Enabled, VARIANT_BOOL, true, VARIANT_TRUE)
ZPV_CLASS_PROPERTY(IIviACPwrCurrentProtection, Threshold, double, true, 0.0)
ZPV_CLASS_PROPERTY(IIviACPwrCurrentProtection, Tripped, VARIANT_BOOL, false, VARIANT_FALSE)

ZPV_CLASS_METHOD_ROW(IIviACPwrVoltageProtection, Configure)
ZPV_CLASS_METHOD_ROW(IIviACPwrVoltageProtection, Reset)
ZPV_CLASS_PROPERTY(IIviACPwrVoltageProtection, OverEnabled, VARIANT_BOOL, true, VARIANT_TRUE)
ZPV_CLASS_PROPERTY(IIviACPwrVoltageProtection, OverLimit, double, true, 0.0)
ZPV_CLASS_PROPERTY(IIviACPwrVoltageProtection, UnderEnabled, VARIANT_BOOL, true, VARIANT_TRUE)
ZPV_CLASS_PROPERTY(IIviACPwrVoltageProtection, UnderLimit, double, true, 0.0)
ZPV_CLASS_PROPERTY(IIviACPwrVoltageProtection, Tripped, VARIANT_BOOL, false, VARIANT_FALSE)

ZPV_CLASS_METHOD_ROW(IIviACPwrDCGeneration, Configure)
ZPV_CLASS_METHOD_ROW(IIviACPwrDCGeneration, ConfigureRange)
ZPV_CLASS_METHOD_ROW(IIviACPwrDCGeneration, QueryCapabilities)
ZPV_CLASS_PROPERTY(IIviACPwrDCGeneration, DCVoltageLevel, double, true, 0.0)
ZPV_CLASS_PROPERTY(IIviACPwrDCGeneration, Mode, IviACPwrDCGenerationEnum, true, IviACPwrDCGenerationACOnly)
ZPV_CLASS_PROPERTY(IIviACPwrDCGeneration, NumRanges, LONG, false, 0)
ZPV_CLASS_PROPERTY(IIviACPwrDCGeneration, RangeMin, double, false, 0.0)
ZPV_CLASS_PROPERTY(IIviACPwrDCGeneration, RangeMax, double, false, 0.0)

ZPV_CLASS_METHOD_ROW(IIviACPwrImpedance, Configure)
ZPV_CLASS_METHOD_ROW(IIviACPwrImpedance, QueryCapabilities)
ZPV_CLASS_PROPERTY(IIviACPwrImpedance, Enabled, VARIANT_BOOL, true, VARIANT_TRUE)
ZPV_CLASS_PROPERTY(IIviACPwrImpedance, Inductive, double, true, 0.0)
ZPV_CLASS_PROPERTY(IIviACPwrImpedance, Resistive, double, true, 0.0)

ZPV_CLASS_METHOD_ROW(IIviACPwrExternalSync, Configure)
ZPV_CLASS_PROPERTY(IIviACPwrExternalSync, Enabled, VARIANT_BOOL, true, VARIANT_TRUE)
ZPV_CLASS_PROPERTY(IIviACPwrExternalSync, PhaseOffset, double, true, 0.0)
ZPV_CLASS_PROPERTY(IIviACPwrExternalSync, Locked, VARIANT_BOOL, false, VARIANT_FALSE)

ZPV_CLASS_PROPERTY(IIviACPwrArbWaveform, AvailableWaveformCount, LONG, false, 0)
ZPV_CLASS_PROPERTY(IIviACPwrArbWaveform, FixedWaveformCount, LONG, false, 0)
ZPV_CLASS_PROPERTY(IIviACPwrArbWaveform, NumOptimalDataPoints, LONG, false, 0)
ZPV_CLASS_PROPERTY(IIviACPwrArbWaveform, NumWaveformsMax, LONG, false, 0)
ZPV_CLASS_PROPERTY(IIviACPwrArbWaveform, UserWaveformCount, LONG, false, 0)
ZPV_CLASS_METHOD_ROW(IIviACPwrArbWaveform, Clear)
ZPV_CLASS_METHOD_ROW(IIviACPwrArbWaveform, QueryCatalog)
ZPV_CLASS_METHOD_ROW(IIviACPwrArbWaveform, Write)

}  // namespace rows

template <class Owner>
class Zpv4870CurrentProtectionMembers : public IZPV4870OutputPhaseCurrentProtection {
    ZPV_MEMBERS_OF(Owner)
    // Enabled is part of the call (and its trace) but the instrument takes only the threshold and delay.
    HRESULT Configure(VARIANT_BOOL, double Threshold, double Delay) override {
        return RunAction(Self(), rows::kIZPV4870OutputPhaseCurrentProtection_Configure, Threshold, Delay);
    }
    HRESULT Reset() override { return RunAction(Self(), rows::kIZPV4870OutputPhaseCurrentProtection_Reset); }
    ZPV_PROPERTY(double, Delay, rows::kIZPV4870OutputPhaseCurrentProtection_Delay)
    ZPV_PROPERTY(VARIANT_BOOL, Enabled, rows::kIZPV4870OutputPhaseCurrentProtection_Enabled)
    ZPV_PROPERTY(double, Threshold, rows::kIZPV4870OutputPhaseCurrentProtection_Threshold)
};

template <class Owner>
class Zpv4870DCGenerationMembers : public IZPV4870OutputPhaseDCGeneration {
    ZPV_MEMBERS_OF(Owner)
    HRESULT Configure(ZPV4870DCGenerationEnum Mode, double DCVoltageLevel) override {
        return RunAction(Self(), rows::kIZPV4870OutputPhaseDCGeneration_Configure, Mode, DCVoltageLevel);
    }
    ZPV_PROPERTY(ZPV4870DCGenerationEnum, Mode, rows::kIZPV4870OutputPhaseDCGeneration_Mode)
    ZPV_PROPERTY(double, DCVoltageLevel, rows::kIZPV4870OutputPhaseDCGeneration_DCVoltageLevel)
    ZPV_PROPERTY(ZPV4870RangeEnum, ConfigureRange, rows::kIZPV4870OutputPhaseDCGeneration_ConfigureRange)
};

template <class Owner>
class Zpv4870VoltageProtectionMembers : public IZPV4870OutputPhaseVoltageProtection {
    ZPV_MEMBERS_OF(Owner)
    HRESULT Reset() override { return RunAction(Self(), rows::kIZPV4870OutputPhaseVoltageProtection_Reset); }
};

template <class Owner>
class IviACPwrCurrentProtectionMembers : public IIviACPwrCurrentProtection {
    ZPV_MEMBERS_OF(Owner)
    HRESULT Configure(VARIANT_BOOL, double, double) override {
        return NotImplemented(Self(), rows::kIIviACPwrCurrentProtection_Configure);
    }
    HRESULT Reset() override { return NotImplemented(Self(), rows::kIIviACPwrCurrentProtection_Reset); }
    ZPV_PROPERTY(double, Delay, rows::kIIviACPwrCurrentProtection_Delay)
    ZPV_PROPERTY(VARIANT_BOOL, Enabled, rows::kIIviACPwrCurrentProtection_Enabled)
    ZPV_PROPERTY(double, Threshold, rows::kIIviACPwrCurrentProtection_Threshold)
    ZPV_GETTER(VARIANT_BOOL, Tripped, rows::kIIviACPwrCurrentProtection_Tripped)
};

template <class Owner>
class IviACPwrVoltageProtectionMembers : public IIviACPwrVoltageProtection {
    ZPV_MEMBERS_OF(Owner)
    HRESULT Configure(double, double, VARIANT_BOOL, VARIANT_BOOL) override {
        return NotImplemented(Self(), rows::kIIviACPwrVoltageProtection_Configure);
    }
    HRESULT Reset() override { return NotImplemented(Self(), rows::kIIviACPwrVoltageProtection_Reset); }
    ZPV_PROPERTY(VARIANT_BOOL, OverEnabled, rows::kIIviACPwrVoltageProtection_OverEnabled)
    ZPV_PROPERTY(double, OverLimit, rows::kIIviACPwrVoltageProtection_OverLimit)
    ZPV_PROPERTY(VARIANT_BOOL, UnderEnabled, rows::kIIviACPwrVoltageProtection_UnderEnabled)
    ZPV_PROPERTY(double, UnderLimit, rows::kIIviACPwrVoltageProtection_UnderLimit)
    ZPV_GETTER(VARIANT_BOOL, Tripped, rows::kIIviACPwrVoltageProtection_Tripped)
};

template <class Owner>
class IviACPwrDCGenerationMembers : public IIviACPwrDCGeneration {
    ZPV_MEMBERS_OF(Owner)
    HRESULT Configure(IviACPwrDCGenerationEnum, double) override {
        return NotImplemented(Self(), rows::kIIviACPwrDCGeneration_Configure);
    }
    HRESULT ConfigureRange(double) override { return NotImplemented(Self(), rows::kIIviACPwrDCGeneration_ConfigureRange); }
    HRESULT QueryCapabilities(LONG, double* Maximum, double* Minimum) override {
        return NotImplemented(Self(), rows::kIIviACPwrDCGeneration_QueryCapabilities, driver::RetVal(Maximum, "Maximum"),
                              driver::RetVal(Minimum, "Minimum"));
    }
    ZPV_PROPERTY(double, DCVoltageLevel, rows::kIIviACPwrDCGeneration_DCVoltageLevel)
    ZPV_PROPERTY(IviACPwrDCGenerationEnum, Mode, rows::kIIviACPwrDCGeneration_Mode)
    ZPV_GETTER(LONG, NumRanges, rows::kIIviACPwrDCGeneration_NumRanges)
    ZPV_GETTER(double, RangeMin, rows::kIIviACPwrDCGeneration_RangeMin)
    ZPV_GETTER(double, RangeMax, rows::kIIviACPwrDCGeneration_RangeMax)
};

template <class Owner>
class IviACPwrImpedanceMembers : public IIviACPwrImpedance {
    ZPV_MEMBERS_OF(Owner)
    HRESULT Configure(double, double) override { return NotImplemented(Self(), rows::kIIviACPwrImpedance_Configure); }
    HRESULT QueryCapabilities(double* ResistiveMin, double* ResistiveMax, double* InductiveMax,
                              double* InductiveMin) override {
        return NotImplemented(Self(), rows::kIIviACPwrImpedance_QueryCapabilities,
                              driver::RetVal(ResistiveMin, "ResistiveMin"), driver::RetVal(ResistiveMax, "ResistiveMax"),
                              driver::RetVal(InductiveMax, "InductiveMax"), driver::RetVal(InductiveMin, "InductiveMin"));
    }
    ZPV_PROPERTY(VARIANT_BOOL, Enabled, rows::kIIviACPwrImpedance_Enabled)
    ZPV_PROPERTY(double, Inductive, rows::kIIviACPwrImpedance_Inductive)
    ZPV_PROPERTY(double, Resistive, rows::kIIviACPwrImpedance_Resistive)
};

template <class Owner>
class IviACPwrExternalSyncMembers : public IIviACPwrExternalSync {
    ZPV_MEMBERS_OF(Owner)
    HRESULT Configure(VARIANT_BOOL, double) override { return NotImplemented(Self(), rows::kIIviACPwrExternalSync_Configure); }
    ZPV_PROPERTY(VARIANT_BOOL, Enabled, rows::kIIviACPwrExternalSync_Enabled)
    ZPV_PROPERTY(double, PhaseOffset, rows::kIIviACPwrExternalSync_PhaseOffset)
    ZPV_GETTER(VARIANT_BOOL, Locked, rows::kIIviACPwrExternalSync_Locked)
};

template <class Owner>
class IviACPwrArbWaveformMembers : public IIviACPwrArbWaveform {
    ZPV_MEMBERS_OF(Owner)
    ZPV_GETTER(LONG, AvailableWaveformCount, rows::kIIviACPwrArbWaveform_AvailableWaveformCount)
    ZPV_GETTER(LONG, FixedWaveformCount, rows::kIIviACPwrArbWaveform_FixedWaveformCount)
    ZPV_GETTER(LONG, NumOptimalDataPoints, rows::kIIviACPwrArbWaveform_NumOptimalDataPoints)
    ZPV_GETTER(LONG, NumWaveformsMax, rows::kIIviACPwrArbWaveform_NumWaveformsMax)
    ZPV_GETTER(LONG, UserWaveformCount, rows::kIIviACPwrArbWaveform_UserWaveformCount)
    HRESULT Clear(BSTR) override { return NotImplemented(Self(), rows::kIIviACPwrArbWaveform_Clear); }
    HRESULT QueryCatalog(IviACPwrWaveformCatalogEnum, BSTR* Catalog) override {
        return NotImplemented(Self(), rows::kIIviACPwrArbWaveform_QueryCatalog, driver::RetVal(Catalog, "Catalog"));
    }
    HRESULT Write(BSTR, SAFEARRAY*) override { return NotImplemented(Self(), rows::kIIviACPwrArbWaveform_Write); }
};

}  // namespace zpv::commands
