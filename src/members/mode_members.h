// Manual, step and pulse modes, and the setting files of every mode.
#pragma once

#include "ZPV4870.h"
#include "members/member_declarations.h"

// The one shape of the four file interfaces: Prefix is the mode's command prefix, Separator what
// goes between the two quoted names of Copy, Family the family whose models lack the interface.
#define ZPV_FILE_LIST(X, I, Prefix, Separator, Family, ...)                                                       \
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
    X(SETTING, I, double, SetFileIndex, Prefix "FILE:IND", .stored = true, .family = Family, __VA_ARGS__)
#define ZPV_LIST_IZPV4870ManualModeFile(X, I) \
    ZPV_FILE_LIST(X, I, "MAN:", ",", kAllModels, .attribute = {"MANUAL_MODE_FILE_SET_FILE_INDEX", 1150043})
#define ZPV_LIST_IZPV4870StepModeFile(X, I) \
    ZPV_FILE_LIST(X, I, "STEP:", ", ", kNotStandard, .attribute = {"STEP_MODE_FILE_SET_FILE_INDEX", 1150085})
#define ZPV_LIST_IZPV4870PulseModeFile(X, I) \
    ZPV_FILE_LIST(X, I, "PULS:", ", ", kNotStandard, .attribute = {"PULSE_MODE_FILE_SET_FILE_INDEX", 1150071})
#define ZPV_LIST_IZPV4870ListModeFile(X, I) \
    ZPV_FILE_LIST(X, I, "LIST:", ", ", kAllModels, .attribute = {"LIST_MODE_FILE_SET_FILE_INDEX", 1150006})

#define ZPV_LIST_IZPV4870ManualMode(X, I) \
    X(ENUM_SETTING, I, ZPV4870CoupleEnum, Couple, "MAN:COUP", .attribute = {"MANUAL_MODE_COUPLE", 1150044}) \
    X(SETTING, I, double, CurrentHighLimit, "MAN:CURR:HIGH", .stored = true, .unit = "A", .attribute = {"MANUAL_MODE_CURRENT_HIGH_LIMIT", 1150045}) \
    X(SETTING, I, double, CurrentLimitDelay, "MAN:CURR:DEL", .stored = true, .attribute = {"MANUAL_MODE_CURRENT_LIMIT_DELAY", 1150046}) \
    X(SETTING, I, double, CurrentLowLimit, "MAN:CURR:LOW", .stored = true, .family = kNotStandard, .unit = "A", .attribute = {"MANUAL_MODE_CURRENT_LOW_LIMIT", 1150047}) \
    X(GROUP, I, IZPV4870ManualModeFile, File, kAllModels) \
    X(SETTING, I, double, Frequency, "MAN:FREQ", .stored = true, .unit = "Hz", .attribute = {"MANUAL_MODE_FREQUENCY", 1150048}) \
    X(SETTING, I, double, PowerHighLimit, "MAN:POW:HIGH", .stored = true, .unit = "W", .attribute = {"MANUAL_MODE_POWER_HIGH_LIMIT", 1150049}) \
    X(SETTING, I, double, PowerLowLimit, "MAN:POW:LOW", .stored = true, .family = kNotStandard, .unit = "W", .attribute = {"MANUAL_MODE_POWER_LOW_LIMIT", 1150050}) \
    X(SETTING, I, double, RampUp, "MAN:RAMP:UP", .stored = true, .attribute = {"MANUAL_MODE_RAMP_UP", 1150051}) \
    X(ENUM_SETTING, I, ZPV4870RangeEnum, Range, "MAN:RANG", .attribute = {"MANUAL_MODE_RANGE", 1150052}) \
    X(SETTING, I, double, StartAngle, "MAN:ANGL", .stored = true, .unit = "deg", .attribute = {"MANUAL_MODE_START_ANGLE", 1150053}) \
    X(SETTING, I, double, TotalHarmonicDistortion, "MAN:THD", .stored = true, .family = kNotStandard, .unit = "%", .attribute = {"MANUAL_MODE_TOTAL_HARMONIC_DISTORTION", 1150054}) \
    X(SETTING, I, double, VoltageAC, "MAN:VOLT:AC", .stored = true, .unit = "V", .attribute = {"MANUAL_MODE_VOLTAGE_AC", 1150055}) \
    X(SETTING, I, double, VoltageDC, "MAN:VOLT:DC", .stored = true, .unit = "V", .attribute = {"MANUAL_MODE_VOLTAGE_DC", 1150056}) \
    X(ENUM_SETTING, I, ZPV4870WaveformEnum, Waveform, "MAN:WAVE", .family = kNotStandard, .attribute = {"MANUAL_MODE_WAVEFORM", 1150057})

#define ZPV_LIST_IZPV4870StepMode(X, I) \
    X(GROUP, I, IZPV4870StepModeFile, File, kAllModels) \
    X(ENUM_SETTING, I, ZPV4870TriggerEnum, Trigger, "STEP:TRIG", .family = kNotStandard, .attribute = {"STEP_MODE_TRIGGER", 1150086}) \
    X(SETTING, I, LONG, Count, "STEP:COUN", .stored = true, .family = kNotStandard, .attribute = {"STEP_MODE_COUNT", 1150087}) \
    X(ENUM_SETTING, I, ZPV4870BaseEnum, Base, "STEP:BASE", .stored = true, .initial = ZPV4870BaseTime, .family = kNotStandard, .attribute = {"STEP_MODE_BASE", 1150088}) \
    X(ENUM_SETTING, I, ZPV4870RangeEnum, Range, "STEP:RANG", .family = kNotStandard, .attribute = {"STEP_MODE_RANGE", 1150089}) \
    X(ENUM_SETTING, I, ZPV4870WaveformEnum, Waveform, "STEP:WAVE", .family = kNotStandard, .attribute = {"STEP_MODE_WAVEFORM", 1150090}) \
    X(SETTING, I, double, TotalHarmonicDistortion, "STEP:THD", .stored = true, .family = kNotStandard, .unit = "%", .attribute = {"STEP_MODE_TOTAL_HARMONIC_DISTORTION", 1150091}) \
    X(SETTING, I, double, StartAngle, "STEP:ANGL", .stored = true, .family = kNotStandard, .unit = "deg", .attribute = {"STEP_MODE_START_ANGLE", 1150092}) \
    X(SETTING, I, double, VoltageAC, "STEP:VOLT:AC", .stored = true, .family = kNotStandard, .unit = "V", .attribute = {"STEP_MODE_VOLTAGE_AC", 1150093}) \
    X(SETTING, I, double, VoltageDC, "STEP:VOLT:DC", .stored = true, .family = kNotStandard, .unit = "V", .attribute = {"STEP_MODE_VOLTAGE_DC", 1150094}) \
    X(SETTING, I, double, Frequency, "STEP:FREQ", .stored = true, .family = kNotStandard, .unit = "Hz", .attribute = {"STEP_MODE_FREQUENCY", 1150095}) \
    X(SETTING, I, double, Time, "STEP:TIME", .stored = true, .family = kNotStandard, .unit = "per TimeUnit", .attribute = {"STEP_MODE_TIME", 1150096}) \
    X(ENUM_SETTING, I, ZPV4870TimeUnitEnum, TimeUnit, "STEP:TIME:UNIT", .family = kNotStandard, .attribute = {"STEP_MODE_TIME_UNIT", 1150097}) \
    X(SETTING, I, LONG, Cycle, "STEP:CYCL", .stored = true, .family = kNotStandard, .attribute = {"STEP_MODE_CYCLE", 1150098}) \
    X(SETTING, I, double, DeltaVoltageAC, "STEP:DELT:VOLT:AC", .stored = true, .family = kNotStandard, .unit = "V", .attribute = {"STEP_MODE_DELTA_VOLTAGE_AC", 1150099}) \
    X(SETTING, I, double, DeltaVoltageDC, "STEP:DELT:VOLT:DC", .stored = true, .family = kNotStandard, .unit = "V", .attribute = {"STEP_MODE_DELTA_VOLTAGE_DC", 1150100}) \
    X(SETTING, I, double, DeltaFrequency, "STEP:DELT:FREQ", .stored = true, .family = kNotStandard, .unit = "Hz", .attribute = {"STEP_MODE_DELTA_FREQUENCY", 1150101})

#define ZPV_LIST_IZPV4870PulseMode(X, I) \
    X(GROUP, I, IZPV4870PulseModeFile, File, kNotStandard) \
    X(SETTING, I, LONG, Count, "PULS:COUN", .stored = true, .family = kNotStandard, .attribute = {"PULSE_MODE_COUNT", 1150072}) \
    X(ENUM_SETTING, I, ZPV4870TriggerEnum, Trigger, "PULS:TRIG", .family = kNotStandard, .attribute = {"PULSE_MODE_TRIGGER", 1150073}) \
    X(ENUM_SETTING, I, ZPV4870RangeEnum, Range, "PULS:RANG", .family = kNotStandard, .attribute = {"PULSE_MODE_RANGE", 1150074}) \
    X(SETTING, I, double, StartAngle, "PULS:ANGL", .stored = true, .family = kNotStandard, .unit = "deg", .attribute = {"PULSE_MODE_START_ANGLE", 1150075}) \
    X(SETTING, I, double, VoltageAC, "PULS:VOLT:AC", .stored = true, .family = kNotStandard, .unit = "V", .attribute = {"PULSE_MODE_VOLTAGE_AC", 1150076}) \
    X(SETTING, I, double, VoltageDC, "PULS:VOLT:DC", .stored = true, .family = kNotStandard, .unit = "V", .attribute = {"PULSE_MODE_VOLTAGE_DC", 1150077}) \
    X(SETTING, I, double, Frequency, "PULS:FREQ", .stored = true, .family = kNotStandard, .unit = "Hz", .attribute = {"PULSE_MODE_FREQUENCY", 1150078}) \
    X(SETTING, I, double, TransientVoltageAC, "PULS:TRAN:AC", .stored = true, .family = kNotStandard, .unit = "V", .attribute = {"PULSE_MODE_TRANSIENT_VOLTAGE_AC", 1150079}) \
    X(SETTING, I, double, TransientVoltageDC, "PULS:TRAN:DC", .stored = true, .family = kNotStandard, .unit = "V", .attribute = {"PULSE_MODE_TRANSIENT_VOLTAGE_DC", 1150080}) \
    X(SETTING, I, LONG, Duty, "PULS:DUTY", .stored = true, .family = kNotStandard, .unit = "%", .attribute = {"PULSE_MODE_DUTY", 1150081}) \
    X(SETTING, I, double, Period, "PULS:PER", .stored = true, .family = kNotStandard, .attribute = {"PULSE_MODE_PERIOD", 1150082})
