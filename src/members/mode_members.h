// Manual, step and pulse modes, and the setting files of every mode.
#pragma once

#include "ZPV4870.h"
#include "members/member_declarations.h"

// The one shape of the four file interfaces: Prefix is the mode's command prefix, Separator what
// goes between the two quoted names of Copy, Family the family whose models lack the interface.
#define ZPV_FILE_LIST(X, I, Prefix, Separator, Family)                                                       \
    X(ACTION, I, Copy, Prefix "FILE:COPY %$BQs" Separator "%$BQs", Family, (IN, BSTR, SourceFile),              \
      (IN, BSTR, DestinationFile))                                                                            \
    X(ACTION, I, Add, Prefix "FILE:ADD %$BQs", Family, (IN, BSTR, FileName))                                   \
    X(ACTION, I, Edit, Prefix "FILE:EDIT %$BQs", Family, (IN, BSTR, FileName))                                 \
    X(ACTION, I, Load, Prefix "FILE:LOAD %$BQs", Family, (IN, BSTR, FileName))                                 \
    X(QUERY, I, BSTR, GetEditFile, Prefix "FILE:EDIT?", "%$Bs", Family)                                       \
    X(QUERY, I, BSTR, GetLoadFile, Prefix "FILE:LOAD?", "%$Bs", Family)                                       \
    X(ACTION, I, Delete, Prefix "FILE:DEL %$BQs", Family, (IN, BSTR, FileName))                                \
    X(QUERY, I, BSTR, GetFileName, Prefix "FILE:NAME?", "%$Bt", Family)                                       \
    X(QUERY, I, double, GetFileTotal, Prefix "FILE:TOT?", "%lg", Family)                                      \
    X(SETTING, I, double, SetFileIndex, Prefix "FILE:IND", true, 0.0, Family)
#define ZPV_LIST_IZPV4870ManualModeFile(X, I) ZPV_FILE_LIST(X, I, "MAN:", ",", kAllModels)
#define ZPV_LIST_IZPV4870StepModeFile(X, I) ZPV_FILE_LIST(X, I, "STEP:", ", ", kNotStandard)
#define ZPV_LIST_IZPV4870PulseModeFile(X, I) ZPV_FILE_LIST(X, I, "PULS:", ", ", kNotStandard)
#define ZPV_LIST_IZPV4870ListModeFile(X, I) ZPV_FILE_LIST(X, I, "LIST:", ", ", kAllModels)

#define ZPV_LIST_IZPV4870ManualMode(X, I) \
    X(ENUM_SETTING, I, ZPV4870CoupleEnum, Couple, "MAN:COUP", false, ZPV4870CoupleAC, kAllModels) \
    X(SETTING, I, double, CurrentHighLimit, "MAN:CURR:HIGH", true, 0.0, kAllModels) \
    X(SETTING, I, double, CurrentLimitDelay, "MAN:CURR:DEL", true, 0.0, kAllModels) \
    X(SETTING, I, double, CurrentLowLimit, "MAN:CURR:LOW", true, 0.0, kNotStandard) \
    X(GROUP, I, IZPV4870ManualModeFile, File, kAllModels) \
    X(SETTING, I, double, Frequency, "MAN:FREQ", true, 0.0, kAllModels) \
    X(SETTING, I, double, PowerHighLimit, "MAN:POW:HIGH", true, 0.0, kAllModels) \
    X(SETTING, I, double, PowerLowLimit, "MAN:POW:LOW", true, 0.0, kNotStandard) \
    X(SETTING, I, double, RampUp, "MAN:RAMP:UP", true, 0.0, kAllModels) \
    X(ENUM_SETTING, I, ZPV4870RangeEnum, Range, "MAN:RANG", false, ZPV4870RangeAuto, kAllModels) \
    X(SETTING, I, double, StartAngle, "MAN:ANGL", true, 0.0, kAllModels) \
    X(SETTING, I, double, TotalHarmonicDistortion, "MAN:THD", true, 0.0, kNotStandard) \
    X(SETTING, I, double, VoltageAC, "MAN:VOLT:AC", true, 0.0, kAllModels) \
    X(SETTING, I, double, VoltageDC, "MAN:VOLT:DC", true, 0.0, kAllModels) \
    X(ENUM_SETTING, I, ZPV4870WaveformEnum, Waveform, "MAN:WAVE", false, ZPV4870WaveformSINE, kNotStandard)

#define ZPV_LIST_IZPV4870StepMode(X, I) \
    X(GROUP, I, IZPV4870StepModeFile, File, kAllModels) \
    X(ENUM_SETTING, I, ZPV4870TriggerEnum, Trigger, "STEP:TRIG", false, ZPV4870TriggerAUTO, kNotStandard) \
    X(SETTING, I, LONG, Count, "STEP:COUN", true, 0, kNotStandard) \
    X(ENUM_SETTING, I, ZPV4870BaseEnum, Base, "STEP:BASE", true, ZPV4870BaseTime, kNotStandard) \
    X(ENUM_SETTING, I, ZPV4870RangeEnum, Range, "STEP:RANG", false, ZPV4870RangeAuto, kNotStandard) \
    X(ENUM_SETTING, I, ZPV4870WaveformEnum, Waveform, "STEP:WAVE", false, ZPV4870WaveformSINE, kNotStandard) \
    X(SETTING, I, double, TotalHarmonicDistortion, "STEP:THD", true, 0.0, kNotStandard) \
    X(SETTING, I, double, StartAngle, "STEP:ANGL", true, 0.0, kNotStandard) \
    X(SETTING, I, double, VoltageAC, "STEP:VOLT:AC", true, 0.0, kNotStandard) \
    X(SETTING, I, double, VoltageDC, "STEP:VOLT:DC", true, 0.0, kNotStandard) \
    X(SETTING, I, double, Frequency, "STEP:FREQ", true, 0.0, kNotStandard) \
    X(SETTING, I, double, Time, "STEP:TIME", true, 0.0, kNotStandard) \
    X(ENUM_SETTING, I, ZPV4870TimeUnitEnum, TimeUnit, "STEP:TIME:UNIT", false, ZPV4870TimeUnitMillisecond, kNotStandard) \
    X(SETTING, I, LONG, Cycle, "STEP:CYCL", true, 0, kNotStandard) \
    X(SETTING, I, double, DeltaVoltageAC, "STEP:DELT:VOLT:AC", true, 0.0, kNotStandard) \
    X(SETTING, I, double, DeltaVoltageDC, "STEP:DELT:VOLT:DC", true, 0.0, kNotStandard) \
    X(SETTING, I, double, DeltaFrequency, "STEP:DELT:FREQ", true, 0.0, kNotStandard)

#define ZPV_LIST_IZPV4870PulseMode(X, I) \
    X(GROUP, I, IZPV4870PulseModeFile, File, kNotStandard) \
    X(SETTING, I, LONG, Count, "PULS:COUN", true, 0, kNotStandard) \
    X(ENUM_SETTING, I, ZPV4870TriggerEnum, Trigger, "PULS:TRIG", false, ZPV4870TriggerAUTO, kNotStandard) \
    X(ENUM_SETTING, I, ZPV4870RangeEnum, Range, "PULS:RANG", false, ZPV4870RangeAuto, kNotStandard) \
    X(SETTING, I, double, StartAngle, "PULS:ANGL", true, 0.0, kNotStandard) \
    X(SETTING, I, double, VoltageAC, "PULS:VOLT:AC", true, 0.0, kNotStandard) \
    X(SETTING, I, double, VoltageDC, "PULS:VOLT:DC", true, 0.0, kNotStandard) \
    X(SETTING, I, double, Frequency, "PULS:FREQ", true, 0.0, kNotStandard) \
    X(SETTING, I, double, TransientVoltageAC, "PULS:TRAN:AC", true, 0.0, kNotStandard) \
    X(SETTING, I, double, TransientVoltageDC, "PULS:TRAN:DC", true, 0.0, kNotStandard) \
    X(SETTING, I, LONG, Duty, "PULS:DUTY", true, 0, kNotStandard) \
    X(SETTING, I, double, Period, "PULS:PER", true, 0.0, kNotStandard)
