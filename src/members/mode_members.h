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
    X(PROPERTY, I, double, SetFileIndex, Prefix "FILE:IND?", "%lg", Prefix "FILE:IND %0.15lg", true, 0.0, Family)
#define ZPV_LIST_IZPV4870ManualModeFile(X, I) ZPV_FILE_LIST(X, I, "MAN:", ",", kAllModels)
#define ZPV_LIST_IZPV4870StepModeFile(X, I) ZPV_FILE_LIST(X, I, "STEP:", ", ", kNotStandard)
#define ZPV_LIST_IZPV4870PulseModeFile(X, I) ZPV_FILE_LIST(X, I, "PULS:", ", ", kNotStandard)
#define ZPV_LIST_IZPV4870ListModeFile(X, I) ZPV_FILE_LIST(X, I, "LIST:", ", ", kAllModels)

#define ZPV_LIST_IZPV4870ManualMode(X, I) \
    X(PROPERTY, I, ZPV4870CoupleEnum, Couple, "MAN:COUP?", "%{ZPV4870CoupleEnum}s", "MAN:COUP %{ZPV4870CoupleEnum}s", false, ZPV4870CoupleAC, kAllModels) \
    X(PROPERTY, I, double, CurrentHighLimit, "MAN:CURR:HIGH?", "%lg", "MAN:CURR:HIGH %0.15lg", true, 0.0, kAllModels) \
    X(PROPERTY, I, double, CurrentLimitDelay, "MAN:CURR:DEL?", "%lg", "MAN:CURR:DEL %0.15lg", true, 0.0, kAllModels) \
    X(PROPERTY, I, double, CurrentLowLimit, "MAN:CURR:LOW?", "%lg", "MAN:CURR:LOW %0.15lg", true, 0.0, kNotStandard) \
    X(GROUP, I, IZPV4870ManualModeFile, File, kAllModels) \
    X(PROPERTY, I, double, Frequency, "MAN:FREQ?", "%lg", "MAN:FREQ %0.15lg", true, 0.0, kAllModels) \
    X(PROPERTY, I, double, PowerHighLimit, "MAN:POW:HIGH?", "%lg", "MAN:POW:HIGH %0.15lg", true, 0.0, kAllModels) \
    X(PROPERTY, I, double, PowerLowLimit, "MAN:POW:LOW?", "%lg", "MAN:POW:LOW %0.15lg", true, 0.0, kNotStandard) \
    X(PROPERTY, I, double, RampUp, "MAN:RAMP:UP?", "%lg", "MAN:RAMP:UP %0.15lg", true, 0.0, kAllModels) \
    X(PROPERTY, I, ZPV4870RangeEnum, Range, "MAN:RANG?", "%{ZPV4870RangeEnum}s", "MAN:RANG %{ZPV4870RangeEnum}s", false, ZPV4870RangeAuto, kAllModels) \
    X(PROPERTY, I, double, StartAngle, "MAN:ANGL?", "%lg", "MAN:ANGL %0.15lg", true, 0.0, kAllModels) \
    X(PROPERTY, I, double, TotalHarmonicDistortion, "MAN:THD?", "%lg", "MAN:THD %0.15lg", true, 0.0, kNotStandard) \
    X(PROPERTY, I, double, VoltageAC, "MAN:VOLT:AC?", "%lg", "MAN:VOLT:AC %0.15lg", true, 0.0, kAllModels) \
    X(PROPERTY, I, double, VoltageDC, "MAN:VOLT:DC?", "%lg", "MAN:VOLT:DC %0.15lg", true, 0.0, kAllModels) \
    X(PROPERTY, I, ZPV4870WaveformEnum, Waveform, "MAN:WAVE?", "%{ZPV4870WaveformEnum}s", "MAN:WAVE %{ZPV4870WaveformEnum}s", false, ZPV4870WaveformSINE, kNotStandard)

#define ZPV_LIST_IZPV4870StepMode(X, I) \
    X(GROUP, I, IZPV4870StepModeFile, File, kAllModels) \
    X(PROPERTY, I, ZPV4870TriggerEnum, Trigger, "STEP:TRIG?", "%{ZPV4870TriggerEnum}s", "STEP:TRIG %{ZPV4870TriggerEnum}s", false, ZPV4870TriggerAUTO, kNotStandard) \
    X(PROPERTY, I, LONG, Count, "STEP:COUN?", "%d", "STEP:COUN %d", true, 0, kNotStandard) \
    X(PROPERTY, I, ZPV4870BaseEnum, Base, "STEP:BASE?", "%{ZPV4870BaseEnum}s", "STEP:BASE %{ZPV4870BaseEnum}s", true, ZPV4870BaseTime, kNotStandard) \
    X(PROPERTY, I, ZPV4870RangeEnum, Range, "STEP:RANG?", "%{ZPV4870RangeEnum}s", "STEP:RANG %{ZPV4870RangeEnum}s", false, ZPV4870RangeAuto, kNotStandard) \
    X(PROPERTY, I, ZPV4870WaveformEnum, Waveform, "STEP:WAVE?", "%{ZPV4870WaveformEnum}s", "STEP:WAVE %{ZPV4870WaveformEnum}s", false, ZPV4870WaveformSINE, kNotStandard) \
    X(PROPERTY, I, double, TotalHarmonicDistortion, "STEP:THD?", "%lg", "STEP:THD %0.15lg", true, 0.0, kNotStandard) \
    X(PROPERTY, I, double, StartAngle, "STEP:ANGL?", "%lg", "STEP:ANGL %0.15lg", true, 0.0, kNotStandard) \
    X(PROPERTY, I, double, VoltageAC, "STEP:VOLT:AC?", "%lg", "STEP:VOLT:AC %0.15lg", true, 0.0, kNotStandard) \
    X(PROPERTY, I, double, VoltageDC, "STEP:VOLT:DC?", "%lg", "STEP:VOLT:DC %0.15lg", true, 0.0, kNotStandard) \
    X(PROPERTY, I, double, Frequency, "STEP:FREQ?", "%lg", "STEP:FREQ %0.15lg", true, 0.0, kNotStandard) \
    X(PROPERTY, I, double, Time, "STEP:TIME?", "%lg", "STEP:TIME %0.15lg", true, 0.0, kNotStandard) \
    X(PROPERTY, I, ZPV4870TimeUnitEnum, TimeUnit, "STEP:TIME:UNIT?", "%{ZPV4870TimeUnitEnum}s", "STEP:TIME:UNIT %{ZPV4870TimeUnitEnum}s", false, ZPV4870TimeUnitMillisecond, kNotStandard) \
    X(PROPERTY, I, LONG, Cycle, "STEP:CYCL?", "%d", "STEP:CYCL %d", true, 0, kNotStandard) \
    X(PROPERTY, I, double, DeltaVoltageAC, "STEP:DELT:VOLT:AC?", "%lg", "STEP:DELT:VOLT:AC %0.15lg", true, 0.0, kNotStandard) \
    X(PROPERTY, I, double, DeltaVoltageDC, "STEP:DELT:VOLT:DC?", "%lg", "STEP:DELT:VOLT:DC %0.15lg", true, 0.0, kNotStandard) \
    X(PROPERTY, I, double, DeltaFrequency, "STEP:DELT:FREQ?", "%lg", "STEP:DELT:FREQ %0.15lg", true, 0.0, kNotStandard)

#define ZPV_LIST_IZPV4870PulseMode(X, I) \
    X(GROUP, I, IZPV4870PulseModeFile, File, kNotStandard) \
    X(PROPERTY, I, LONG, Count, "PULS:COUN?", "%d", "PULS:COUN %d", true, 0, kNotStandard) \
    X(PROPERTY, I, ZPV4870TriggerEnum, Trigger, "PULS:TRIG?", "%{ZPV4870TriggerEnum}s", "PULS:TRIG %{ZPV4870TriggerEnum}s", false, ZPV4870TriggerAUTO, kNotStandard) \
    X(PROPERTY, I, ZPV4870RangeEnum, Range, "PULS:RANG?", "%{ZPV4870RangeEnum}s", "PULS:RANG %{ZPV4870RangeEnum}s", false, ZPV4870RangeAuto, kNotStandard) \
    X(PROPERTY, I, double, StartAngle, "PULS:ANGL?", "%lg", "PULS:ANGL %0.15lg", true, 0.0, kNotStandard) \
    X(PROPERTY, I, double, VoltageAC, "PULS:VOLT:AC?", "%lg", "PULS:VOLT:AC %0.15lg", true, 0.0, kNotStandard) \
    X(PROPERTY, I, double, VoltageDC, "PULS:VOLT:DC?", "%lg", "PULS:VOLT:DC %0.15lg", true, 0.0, kNotStandard) \
    X(PROPERTY, I, double, Frequency, "PULS:FREQ?", "%lg", "PULS:FREQ %0.15lg", true, 0.0, kNotStandard) \
    X(PROPERTY, I, double, TransientVoltageAC, "PULS:TRAN:AC?", "%lg", "PULS:TRAN:AC %0.15lg", true, 0.0, kNotStandard) \
    X(PROPERTY, I, double, TransientVoltageDC, "PULS:TRAN:DC?", "%lg", "PULS:TRAN:DC %0.15lg", true, 0.0, kNotStandard) \
    X(PROPERTY, I, LONG, Duty, "PULS:DUTY?", "%d", "PULS:DUTY %d", true, 0, kNotStandard) \
    X(PROPERTY, I, double, Period, "PULS:PER?", "%lg", "PULS:PER %0.15lg", true, 0.0, kNotStandard)
