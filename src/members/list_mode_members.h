// List mode: the program being edited and its sequences.
#pragma once

#include "ZPV4870.h"
#include "members/member_declarations.h"
#include "members/mode_members.h"

#define ZPV_LIST_IZPV4870ListMode(X, I)                              \
    X(GROUP, I, IZPV4870ListModeFile, File, kAllModels)              \
    X(GROUP, I, IZPV4870ListModeProgram, Program, kAllModels)        \
    X(GROUP, I, IZPV4870ListModeSequence, Sequence, kAllModels)

#define ZPV_LIST_IZPV4870ListModeProgram(X, I) \
    X(SETTING, I, double, VoltageAC, "LIST:PROG:VOLT:AC", .stored = true, .unit = "V") \
    X(SETTING, I, LONG, Count, "LIST:PROG:COUN", .stored = true) \
    X(ENUM_SETTING, I, ZPV4870BaseEnum, Base, "LIST:PROG:BASE", .stored = true, .initial = ZPV4870BaseTime) \
    X(ENUM_SETTING, I, ZPV4870RangeEnum, Range, "LIST:PROG:RANG") \
    X(ENUM_SETTING, I, ZPV4870TriggerEnum, Trigger, "LIST:PROG:TRIG") \
    X(SETTING, I, double, VoltageDC, "LIST:PROG:VOLT:DC", .stored = true, .family = kNotStandard, .unit = "V") \
    X(SETTING, I, double, Frequency, "LIST:PROG:FREQ", .stored = true, .unit = "Hz") \
    X(ENUM_SETTING, I, ZPV4870EnableEnum, AngleConnect, "LIST:PROG:ANGL:CONT", .stored = true, .initial = ZPV4870EnableOFF) \
    X(ENUM_SETTING, I, ZPV4870EnableEnum, FailStop, "LIST:PROG:FAILS")

#define ZPV_LIST_IZPV4870ListModeSequence(X, I) \
    X(ACTION, I, Add, "LIST:SEQ:ADD", kAllModels) \
    X(ACTION, I, Edit, "LIST:SEQ:EDIT %d", kAllModels, (IN, LONG, SequenceIndex)) \
    X(ACTION, I, Copy, "LIST:SEQ:COPY %d", kAllModels, (IN, LONG, SourceSequenceIndex)) \
    X(QUERY, I, LONG, GetEditSequence, "LIST:SEQ:EDIT?", "%d") \
    X(ACTION, I, Delete, "LIST:SEQ:DEL %d", kAllModels, (IN, LONG, SequenceIndex)) \
    X(QUERY, I, LONG, GetTotalSequence, "LIST:SEQ:TOT?", "%d") \
    X(ENUM_SETTING, I, ZPV4870WaveformEnum, Waveform, "LIST:SEQ:WAVE", .family = kNotStandard) \
    X(SETTING, I, LONG, StartAngle, "LIST:SEQ:ANGL", .stored = true, .unit = "deg") \
    X(SETTING, I, double, VoltageAcStart, "LIST:SEQ:VOLT:AC:STAR", .stored = true, .family = kNotStandard, .unit = "V") \
    X(SETTING, I, double, VoltageDcStart, "LIST:SEQ:VOLT:DC:STAR", .stored = true, .family = kNotStandard, .unit = "V") \
    X(SETTING, I, double, VoltageAcEnd, "LIST:SEQ:VOLT:AC:END", .stored = true, .family = kNotStandard, .unit = "V") \
    X(SETTING, I, double, VoltageDcEnd, "LIST:SEQ:VOLT:DC:END", .stored = true, .family = kNotStandard, .unit = "V") \
    X(PROPERTY, I, double, TotalHarmonicDistortion, "LIST:SEQ:THD?", "%lg", "LIST:SEQ:THD %0.15lg", .stored = true, .family = kNotStandard, .unit = "%", .range = {0, 45}) \
    X(SETTING, I, double, FrequencyEnd, "LIST:SEQ:FREQ:END", .stored = true, .family = kNotStandard, .unit = "Hz") \
    X(SETTING, I, double, FrequencyStart, "LIST:SEQ:FREQ:STAR", .stored = true, .family = kNotStandard, .unit = "Hz") \
    X(SETTING, I, double, Time, "LIST:SEQ:TIME", .stored = true, .unit = "per TimeUnit") \
    X(ENUM_SETTING, I, ZPV4870TimeUnitEnum, TimeUnit, "LIST:SEQ:TIME:UNIT") \
    X(SETTING, I, LONG, Cycle, "LIST:SEQ:CYCL", .stored = true) \
    X(SETTING, I, double, CurrentHighLimit, "LIST:SEQ:CURR:HIGH", .stored = true, .unit = "A") \
    X(SETTING, I, double, CurrentLimitDelay, "LIST:SEQ:CURR:DEL", .stored = true) \
    X(SETTING, I, double, CurrentLowLimit, "LIST:SEQ:CURR:LOW", .stored = true, .unit = "A") \
    X(SETTING, I, double, PowerHighLimit, "LIST:SEQ:POW:HIGH", .stored = true, .unit = "W") \
    X(SETTING, I, double, PowerLowLimit, "LIST:SEQ:POW:LOW", .stored = true, .unit = "W") \
    X(SETTING, I, double, PowerFactorLowLimit, "LIST:SEQ:PFAC:LOW", .stored = true) \
    X(SETTING, I, double, PowerFactorHighLimit, "LIST:SEQ:PFAC:HIGH", .stored = true) \
    X(SETTING, I, double, CurrentPeakHighLimit, "LIST:SEQ:APEAK:HIGH", .stored = true, .unit = "A") \
    X(SETTING, I, double, CurrentPeakLowLimit, "LIST:SEQ:APEAK:LOW", .stored = true, .unit = "A") \
    X(SETTING, I, double, ReactivePowerHighLimit, "LIST:SEQ:REAC:HIGH", .stored = true, .unit = "var") \
    X(SETTING, I, double, ReactivePowerLowLimit, "LIST:SEQ:REAC:LOW", .stored = true, .unit = "var") \
    X(SETTING, I, double, ApparentPowerHighLimit, "LIST:SEQ:APP:HIGH", .stored = true, .unit = "VA") \
    X(SETTING, I, double, ApparentPowerLowLimit, "LIST:SEQ:APP:LOW", .stored = true, .unit = "VA") \
    X(SETTING, I, double, CrestFactorLowLimit, "LIST:SEQ:CRES:LOW", .stored = true) \
    X(SETTING, I, double, CrestFactorHighLimit, "LIST:SEQ:CRES:HIGH", .stored = true) \
    X(SETTING, I, double, Frequency, "LIST:SEQ:FREQ", .stored = true, .family = kNotAdvanced, .unit = "Hz") \
    /* The type library's VoltageAC is known to the instrument's tables, messages and key as "VoltageAc". */ \
    X(RENAMED_PROPERTY, I, double, VoltageAC, VoltageAc, "LIST:SEQ:VOLT:AC?", "%lg", "LIST:SEQ:VOLT:AC %0.15lg", .stored = true, .family = kNotAdvanced, .unit = "V")
