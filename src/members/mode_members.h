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
    X(QUERY, I, BSTR, GetEditFile, Prefix "FILE:EDIT?", "%$Bs", .family = Family)                                       \
    X(QUERY, I, BSTR, GetLoadFile, Prefix "FILE:LOAD?", "%$Bs", .family = Family)                                       \
    X(ACTION, I, Delete, Prefix "FILE:DEL %$BQs", Family, (IN, BSTR, FileName))                                \
    X(QUERY, I, BSTR, GetFileName, Prefix "FILE:NAME?", "%$Bt", .family = Family)                                       \
    X(QUERY, I, double, GetFileTotal, Prefix "FILE:TOT?", "%lg", .family = Family)                                      \
    X(SETTING, I, double, SetFileIndex, Prefix "FILE:IND", .stored = true, .family = Family)
#define ZPV_LIST_IZPV4870ManualModeFile(X, I) ZPV_FILE_LIST(X, I, "MAN:", ",", kAllModels)
#define ZPV_LIST_IZPV4870StepModeFile(X, I) ZPV_FILE_LIST(X, I, "STEP:", ", ", kNotStandard)
#define ZPV_LIST_IZPV4870PulseModeFile(X, I) ZPV_FILE_LIST(X, I, "PULS:", ", ", kNotStandard)
#define ZPV_LIST_IZPV4870ListModeFile(X, I) ZPV_FILE_LIST(X, I, "LIST:", ", ", kAllModels)

#define ZPV_LIST_IZPV4870ManualMode(X, I) \
    X(ENUM_SETTING, I, ZPV4870CoupleEnum, Couple, "MAN:COUP") \
    X(SETTING, I, double, CurrentHighLimit, "MAN:CURR:HIGH", .stored = true, .unit = "A") \
    X(SETTING, I, double, CurrentLimitDelay, "MAN:CURR:DEL", .stored = true) \
    X(SETTING, I, double, CurrentLowLimit, "MAN:CURR:LOW", .stored = true, .family = kNotStandard, .unit = "A") \
    X(GROUP, I, IZPV4870ManualModeFile, File, kAllModels) \
    X(SETTING, I, double, Frequency, "MAN:FREQ", .stored = true, .unit = "Hz") \
    X(SETTING, I, double, PowerHighLimit, "MAN:POW:HIGH", .stored = true, .unit = "W") \
    X(SETTING, I, double, PowerLowLimit, "MAN:POW:LOW", .stored = true, .family = kNotStandard, .unit = "W") \
    X(SETTING, I, double, RampUp, "MAN:RAMP:UP", .stored = true) \
    X(ENUM_SETTING, I, ZPV4870RangeEnum, Range, "MAN:RANG") \
    X(SETTING, I, double, StartAngle, "MAN:ANGL", .stored = true, .unit = "deg") \
    X(SETTING, I, double, TotalHarmonicDistortion, "MAN:THD", .stored = true, .family = kNotStandard, .unit = "%") \
    X(SETTING, I, double, VoltageAC, "MAN:VOLT:AC", .stored = true, .unit = "V") \
    X(SETTING, I, double, VoltageDC, "MAN:VOLT:DC", .stored = true, .unit = "V") \
    X(ENUM_SETTING, I, ZPV4870WaveformEnum, Waveform, "MAN:WAVE", .family = kNotStandard)

#define ZPV_LIST_IZPV4870StepMode(X, I) \
    X(GROUP, I, IZPV4870StepModeFile, File, kAllModels) \
    X(ENUM_SETTING, I, ZPV4870TriggerEnum, Trigger, "STEP:TRIG", .family = kNotStandard) \
    X(SETTING, I, LONG, Count, "STEP:COUN", .stored = true, .family = kNotStandard) \
    X(ENUM_SETTING, I, ZPV4870BaseEnum, Base, "STEP:BASE", .stored = true, .initial = ZPV4870BaseTime, .family = kNotStandard) \
    X(ENUM_SETTING, I, ZPV4870RangeEnum, Range, "STEP:RANG", .family = kNotStandard) \
    X(ENUM_SETTING, I, ZPV4870WaveformEnum, Waveform, "STEP:WAVE", .family = kNotStandard) \
    X(SETTING, I, double, TotalHarmonicDistortion, "STEP:THD", .stored = true, .family = kNotStandard, .unit = "%") \
    X(SETTING, I, double, StartAngle, "STEP:ANGL", .stored = true, .family = kNotStandard, .unit = "deg") \
    X(SETTING, I, double, VoltageAC, "STEP:VOLT:AC", .stored = true, .family = kNotStandard, .unit = "V") \
    X(SETTING, I, double, VoltageDC, "STEP:VOLT:DC", .stored = true, .family = kNotStandard, .unit = "V") \
    X(SETTING, I, double, Frequency, "STEP:FREQ", .stored = true, .family = kNotStandard, .unit = "Hz") \
    X(SETTING, I, double, Time, "STEP:TIME", .stored = true, .family = kNotStandard, .unit = "per TimeUnit") \
    X(ENUM_SETTING, I, ZPV4870TimeUnitEnum, TimeUnit, "STEP:TIME:UNIT", .family = kNotStandard) \
    X(SETTING, I, LONG, Cycle, "STEP:CYCL", .stored = true, .family = kNotStandard) \
    X(SETTING, I, double, DeltaVoltageAC, "STEP:DELT:VOLT:AC", .stored = true, .family = kNotStandard, .unit = "V") \
    X(SETTING, I, double, DeltaVoltageDC, "STEP:DELT:VOLT:DC", .stored = true, .family = kNotStandard, .unit = "V") \
    X(SETTING, I, double, DeltaFrequency, "STEP:DELT:FREQ", .stored = true, .family = kNotStandard, .unit = "Hz")

#define ZPV_LIST_IZPV4870PulseMode(X, I) \
    X(GROUP, I, IZPV4870PulseModeFile, File, kNotStandard) \
    X(SETTING, I, LONG, Count, "PULS:COUN", .stored = true, .family = kNotStandard) \
    X(ENUM_SETTING, I, ZPV4870TriggerEnum, Trigger, "PULS:TRIG", .family = kNotStandard) \
    X(ENUM_SETTING, I, ZPV4870RangeEnum, Range, "PULS:RANG", .family = kNotStandard) \
    X(SETTING, I, double, StartAngle, "PULS:ANGL", .stored = true, .family = kNotStandard, .unit = "deg") \
    X(SETTING, I, double, VoltageAC, "PULS:VOLT:AC", .stored = true, .family = kNotStandard, .unit = "V") \
    X(SETTING, I, double, VoltageDC, "PULS:VOLT:DC", .stored = true, .family = kNotStandard, .unit = "V") \
    X(SETTING, I, double, Frequency, "PULS:FREQ", .stored = true, .family = kNotStandard, .unit = "Hz") \
    X(SETTING, I, double, TransientVoltageAC, "PULS:TRAN:AC", .stored = true, .family = kNotStandard, .unit = "V") \
    X(SETTING, I, double, TransientVoltageDC, "PULS:TRAN:DC", .stored = true, .family = kNotStandard, .unit = "V") \
    X(SETTING, I, LONG, Duty, "PULS:DUTY", .stored = true, .family = kNotStandard, .unit = "%") \
    X(SETTING, I, double, Period, "PULS:PER", .stored = true, .family = kNotStandard)
