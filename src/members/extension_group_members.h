// Protection, DC generation, impedance, arbitrary waveform and external synchronisation groups:
// the instrument's own groups on the phase object and the class-compliant groups.
#pragma once

#include "ZPV4870.h"
#include "members/member_declarations.h"

#define ZPV_LIST_IZPV4870OutputPhaseCurrentProtection(X, I) \
    X(ACTION, I, Configure, "MAN:CURR:HIGH %0.15lg;DEL %0.15lg", kAllModels, (IGNORED, VARIANT_BOOL, Enabled), (IN, double, Threshold), (IN, double, Delay)) \
    X(ACTION, I, Reset, "OUTP:PROT:CLE", kAllModels) \
    X(SETTING, I, double, Delay, "MAN:CURR:DEL") \
    X(ENUM_SETTING, I, VARIANT_BOOL, Enabled, "MAN:CURR:HIGH") \
    X(SETTING, I, double, Threshold, "MAN:CURR:HIGH", .unit = "A")

#define ZPV_LIST_IZPV4870OutputPhaseDCGeneration(X, I) \
    X(ACTION, I, Configure, "MAN:COUP %{ZPV4870DCGenerationEnum}s;VOLT:DC %0.15lg", kAllModels, (IN, ZPV4870DCGenerationEnum, Mode), (IN, double, DCVoltageLevel)) \
    X(ENUM_SETTING, I, ZPV4870DCGenerationEnum, Mode, "MAN:COUP", .stored = true, .initial = ZPV4870DCGenerationModeACOnly) \
    X(SETTING, I, double, DCVoltageLevel, "MAN:VOLT:DC", .unit = "V") \
    X(ENUM_SETTING, I, ZPV4870RangeEnum, ConfigureRange, "MAN:RANG", .stored = true, .initial = ZPV4870RangeAuto)

#define ZPV_LIST_IZPV4870OutputPhaseVoltageProtection(X, I) \
    X(ACTION, I, Reset, "OUTP:PROT:CLE", kAllModels)

#define ZPV_LIST_IIviACPwrCurrentProtection(X, I) \
    X(CLASS_METHOD, I, Configure, (IN, VARIANT_BOOL, Enabled), (IN, double, Threshold), (IN, double, Delay)) \
    X(CLASS_METHOD, I, Reset) \
    X(CLASS_PROPERTY, I, double, Delay) \
    X(CLASS_PROPERTY, I, VARIANT_BOOL, Enabled, .initial = VARIANT_TRUE) \
    X(CLASS_PROPERTY, I, double, Threshold, .unit = "A") \
    X(CLASS_GETTER, I, VARIANT_BOOL, Tripped)

#define ZPV_LIST_IIviACPwrVoltageProtection(X, I) \
    X(CLASS_METHOD, I, Configure, (IN, double, OverLimit), (IN, double, UnderLimit), (IN, VARIANT_BOOL, OverEnabled), (IN, VARIANT_BOOL, UnderEnabled)) \
    X(CLASS_METHOD, I, Reset) \
    X(CLASS_PROPERTY, I, VARIANT_BOOL, OverEnabled, .initial = VARIANT_TRUE) \
    X(CLASS_PROPERTY, I, double, OverLimit, .unit = "V") \
    X(CLASS_PROPERTY, I, VARIANT_BOOL, UnderEnabled, .initial = VARIANT_TRUE) \
    X(CLASS_PROPERTY, I, double, UnderLimit, .unit = "V") \
    X(CLASS_GETTER, I, VARIANT_BOOL, Tripped)

#define ZPV_LIST_IIviACPwrDCGeneration(X, I) \
    X(CLASS_METHOD, I, Configure, (IN, IviACPwrDCGenerationEnum, Mode), (IN, double, DCVoltageLevel)) \
    X(CLASS_METHOD, I, ConfigureRange, (IN, double, Range)) \
    X(CLASS_METHOD, I, QueryCapabilities, (IN, LONG, Range), (OUT, double, Maximum), (OUT, double, Minimum)) \
    X(CLASS_PROPERTY, I, double, DCVoltageLevel, .unit = "V") \
    X(CLASS_PROPERTY, I, IviACPwrDCGenerationEnum, Mode, .initial = IviACPwrDCGenerationACOnly) \
    X(CLASS_GETTER, I, LONG, NumRanges) \
    X(CLASS_GETTER, I, double, RangeMin, .unit = "V") \
    X(CLASS_GETTER, I, double, RangeMax, .unit = "V")

#define ZPV_LIST_IIviACPwrImpedance(X, I) \
    X(CLASS_METHOD, I, Configure, (IN, double, ResistiveValue), (IN, double, InductiveValue)) \
    X(CLASS_METHOD, I, QueryCapabilities, (OUT, double, ResistiveMin), (OUT, double, ResistiveMax), (OUT, double, InductiveMax), (OUT, double, InductiveMin)) \
    X(CLASS_PROPERTY, I, VARIANT_BOOL, Enabled, .initial = VARIANT_TRUE) \
    X(CLASS_PROPERTY, I, double, Inductive, .unit = "H") \
    X(CLASS_PROPERTY, I, double, Resistive, .unit = "ohm")

#define ZPV_LIST_IIviACPwrExternalSync(X, I) \
    X(CLASS_METHOD, I, Configure, (IN, VARIANT_BOOL, Enabled), (IN, double, PhaseOffset)) \
    X(CLASS_PROPERTY, I, VARIANT_BOOL, Enabled, .initial = VARIANT_TRUE) \
    X(CLASS_PROPERTY, I, double, PhaseOffset, .unit = "deg") \
    X(CLASS_GETTER, I, VARIANT_BOOL, Locked)

#define ZPV_LIST_IIviACPwrArbWaveform(X, I) \
    X(CLASS_GETTER, I, LONG, AvailableWaveformCount) \
    X(CLASS_GETTER, I, LONG, FixedWaveformCount) \
    X(CLASS_GETTER, I, LONG, NumOptimalDataPoints) \
    X(CLASS_GETTER, I, LONG, NumWaveformsMax) \
    X(CLASS_GETTER, I, LONG, UserWaveformCount) \
    X(CLASS_METHOD, I, Clear, (IN, BSTR, WaveformName)) \
    X(CLASS_METHOD, I, QueryCatalog, (IN, IviACPwrWaveformCatalogEnum, CatalogType), (OUT, BSTR, Catalog)) \
    X(CLASS_METHOD, I, Write, (IN, BSTR, WaveformName), (IN, SAFEARRAY*, Waveform))
