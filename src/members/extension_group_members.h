// Protection, DC generation, impedance, arbitrary waveform and external synchronisation groups:
// the instrument's own groups on the phase object and the class-compliant groups.
#pragma once

#include "ZPV4870.h"
#include "members/member_declarations.h"

#define ZPV_LIST_IZPV4870OutputPhaseCurrentProtection(X, I) \
    X(ACTION, I, Configure, "MAN:CURR:HIGH %0.15lg;DEL %0.15lg", kAllModels, (IGNORED, VARIANT_BOOL, Enabled), (IN, double, Threshold), (IN, double, Delay)) \
    X(ACTION, I, Reset, "OUTP:PROT:CLE", kAllModels) \
    X(SETTING, I, double, Delay, "MAN:CURR:DEL", .attribute = {"OUTPUT_PHASE_CURRENT_PROTECTION_DELAY", 1150065}) \
    X(ENUM_SETTING, I, VARIANT_BOOL, Enabled, "MAN:CURR:HIGH", .attribute = {"OUTPUT_PHASE_CURRENT_PROTECTION_ENABLED", 1150066}) \
    X(SETTING, I, double, Threshold, "MAN:CURR:HIGH", .unit = "A", .attribute = {"OUTPUT_PHASE_CURRENT_PROTECTION_THRESHOLD", 1150067})

#define ZPV_LIST_IZPV4870OutputPhaseDCGeneration(X, I) \
    X(ACTION, I, Configure, "MAN:COUP %{ZPV4870DCGenerationEnum}s;VOLT:DC %0.15lg", kAllModels, (IN, ZPV4870DCGenerationEnum, Mode), (IN, double, DCVoltageLevel)) \
    X(ENUM_SETTING, I, ZPV4870DCGenerationEnum, Mode, "MAN:COUP", .stored = true, .initial = ZPV4870DCGenerationModeACOnly, .attribute = {"OUTPUT_PHASE_DC_GENERATION_MODE", 1150068}) \
    X(SETTING, I, double, DCVoltageLevel, "MAN:VOLT:DC", .unit = "V", .attribute = {"OUTPUT_PHASE_DC_GENERATION_DC_VOLTAGE_LEVEL", 1150069}) \
    X(ENUM_SETTING, I, ZPV4870RangeEnum, ConfigureRange, "MAN:RANG", .stored = true, .initial = ZPV4870RangeAuto, .attribute = {"OUTPUT_PHASE_DC_GENERATION_CONFIGURE_RANGE", 1150070})

#define ZPV_LIST_IZPV4870OutputPhaseVoltageProtection(X, I) \
    X(ACTION, I, Reset, "OUTP:PROT:CLE", kAllModels)

#define ZPV_LIST_IIviACPwrCurrentProtection(X, I) \
    X(CLASS_METHOD, I, Configure, (IN, VARIANT_BOOL, Enabled), (IN, double, Threshold), (IN, double, Delay)) \
    X(CLASS_METHOD, I, Reset) \
    X(CLASS_PROPERTY, I, double, Delay, .attribute = {"CURRENT_PROTECTION_DELAY", 1250023}) \
    X(CLASS_PROPERTY, I, VARIANT_BOOL, Enabled, .initial = VARIANT_TRUE, .attribute = {"CURRENT_PROTECTION_ENABLED", 1250024}) \
    X(CLASS_PROPERTY, I, double, Threshold, .unit = "A", .attribute = {"CURRENT_PROTECTION_THRESHOLD", 1250025}) \
    X(CLASS_GETTER, I, VARIANT_BOOL, Tripped, .attribute = {"CURRENT_PROTECTION_TRIPPED", 1250026})

#define ZPV_LIST_IIviACPwrVoltageProtection(X, I) \
    X(CLASS_METHOD, I, Configure, (IN, double, OverLimit), (IN, double, UnderLimit), (IN, VARIANT_BOOL, OverEnabled), (IN, VARIANT_BOOL, UnderEnabled)) \
    X(CLASS_METHOD, I, Reset) \
    X(CLASS_PROPERTY, I, VARIANT_BOOL, OverEnabled, .initial = VARIANT_TRUE, .attribute = {"VOLTAGE_PROTECTION_OVER_ENABLED", 1250027}) \
    X(CLASS_PROPERTY, I, double, OverLimit, .unit = "V", .attribute = {"VOLTAGE_PROTECTION_OVER_LIMIT", 1250028}) \
    X(CLASS_PROPERTY, I, VARIANT_BOOL, UnderEnabled, .initial = VARIANT_TRUE, .attribute = {"VOLTAGE_PROTECTION_UNDER_ENABLED", 1250029}) \
    X(CLASS_PROPERTY, I, double, UnderLimit, .unit = "V", .attribute = {"VOLTAGE_PROTECTION_UNDER_LIMIT", 1250030}) \
    X(CLASS_GETTER, I, VARIANT_BOOL, Tripped, .attribute = {"VOLTAGE_PROTECTION_TRIPPED", 1250031})

#define ZPV_LIST_IIviACPwrDCGeneration(X, I) \
    X(CLASS_METHOD, I, Configure, (IN, IviACPwrDCGenerationEnum, Mode), (IN, double, DCVoltageLevel)) \
    X(CLASS_METHOD, I, ConfigureRange, (IN, double, Range)) \
    X(CLASS_METHOD, I, QueryCapabilities, (IN, LONG, Range), (OUT, double, Maximum), (OUT, double, Minimum)) \
    X(CLASS_PROPERTY, I, double, DCVoltageLevel, .unit = "V", .attribute = {"DC_VOLTAGE_LEVEL", 1250033}) \
    X(CLASS_PROPERTY, I, IviACPwrDCGenerationEnum, Mode, .initial = IviACPwrDCGenerationACOnly, .attribute = {"DC_GENERATION_MODE", 1250032}) \
    X(CLASS_GETTER, I, LONG, NumRanges, .attribute = {"DC_GENERATION_NUM_RANGES", 1250035}) \
    X(CLASS_GETTER, I, double, RangeMin, .unit = "V", .attribute = {"DC_GENERATION_RANGE_MIN", 1250040}) \
    X(CLASS_GETTER, I, double, RangeMax, .unit = "V", .attribute = {"DC_GENERATION_RANGE_MAX", 1250041})

#define ZPV_LIST_IIviACPwrImpedance(X, I) \
    X(CLASS_METHOD, I, Configure, (IN, double, ResistiveValue), (IN, double, InductiveValue)) \
    X(CLASS_METHOD, I, QueryCapabilities, (OUT, double, ResistiveMin), (OUT, double, ResistiveMax), (OUT, double, InductiveMax), (OUT, double, InductiveMin)) \
    X(CLASS_PROPERTY, I, VARIANT_BOOL, Enabled, .initial = VARIANT_TRUE, .attribute = {"IMPEDANCE_ENABLED", 1250021}) \
    X(CLASS_PROPERTY, I, double, Inductive, .unit = "H", .attribute = {"IMPEDANCE_INDUCTIVE", 1250020}) \
    X(CLASS_PROPERTY, I, double, Resistive, .unit = "ohm", .attribute = {"IMPEDANCE_RESISTIVE", 1250022})

#define ZPV_LIST_IIviACPwrExternalSync(X, I) \
    X(CLASS_METHOD, I, Configure, (IN, VARIANT_BOOL, Enabled), (IN, double, PhaseOffset)) \
    X(CLASS_PROPERTY, I, VARIANT_BOOL, Enabled, .initial = VARIANT_TRUE, .attribute = {"EXTERNAL_SYNC_ENABLED", 1250010}) \
    X(CLASS_PROPERTY, I, double, PhaseOffset, .unit = "deg", .attribute = {"EXTERNAL_SYNC_PHASE_OFFSET", 1250011}) \
    X(CLASS_GETTER, I, VARIANT_BOOL, Locked, .attribute = {"EXTERNAL_SYNC_LOCKED", 1250012})

#define ZPV_LIST_IIviACPwrArbWaveform(X, I) \
    X(CLASS_GETTER, I, LONG, AvailableWaveformCount, .attribute = {"AVAILABLE_WAVEFORM_COUNT", 1250009}) \
    X(CLASS_GETTER, I, LONG, FixedWaveformCount, .attribute = {"FIXED_WAVEFORM_COUNT", 1250007}) \
    X(CLASS_GETTER, I, LONG, NumOptimalDataPoints, .attribute = {"NUM_OPTIMAL_DATA_POINTS", 1250006}) \
    X(CLASS_GETTER, I, LONG, NumWaveformsMax, .attribute = {"NUM_WAVEFORMS_MAX", 1250005}) \
    X(CLASS_GETTER, I, LONG, UserWaveformCount, .attribute = {"USER_WAVEFORM_COUNT", 1250008}) \
    X(CLASS_METHOD, I, Clear, (IN, BSTR, WaveformName)) \
    X(CLASS_METHOD, I, QueryCatalog, (IN, IviACPwrWaveformCatalogEnum, CatalogType), (OUT, BSTR, Catalog)) \
    X(CLASS_METHOD, I, Write, (IN, BSTR, WaveformName), (IN, SAFEARRAY*, Waveform))
