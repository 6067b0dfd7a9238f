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
    X(SETTING, I, double, VoltageAC, "LIST:PROG:VOLT:AC", .stored = true, .unit = "V", .attribute = {"LIST_MODE_PROGRAM_VOLTAGE_AC", 1150007}) \
    X(SETTING, I, LONG, Count, "LIST:PROG:COUN", .stored = true, .attribute = {"LIST_MODE_PROGRAM_COUNT", 1150008}) \
    X(ENUM_SETTING, I, ZPV4870BaseEnum, Base, "LIST:PROG:BASE", .stored = true, .initial = ZPV4870BaseTime, .attribute = {"LIST_MODE_PROGRAM_BASE", 1150009}) \
    X(ENUM_SETTING, I, ZPV4870RangeEnum, Range, "LIST:PROG:RANG", .attribute = {"LIST_MODE_PROGRAM_RANGE", 1150010}) \
    X(ENUM_SETTING, I, ZPV4870TriggerEnum, Trigger, "LIST:PROG:TRIG", .attribute = {"LIST_MODE_PROGRAM_TRIGGER", 1150011}) \
    X(SETTING, I, double, VoltageDC, "LIST:PROG:VOLT:DC", .stored = true, .family = kNotStandard, .unit = "V", .attribute = {"LIST_MODE_PROGRAM_VOLTAGE_DC", 1150012}) \
    X(SETTING, I, double, Frequency, "LIST:PROG:FREQ", .stored = true, .unit = "Hz", .attribute = {"LIST_MODE_PROGRAM_FREQUENCY", 1150013}) \
    X(ENUM_SETTING, I, ZPV4870EnableEnum, AngleConnect, "LIST:PROG:ANGL:CONT", .stored = true, .initial = ZPV4870EnableOFF, .attribute = {"LIST_MODE_PROGRAM_ANGLE_CONNECT", 1150014}) \
    X(ENUM_SETTING, I, ZPV4870EnableEnum, FailStop, "LIST:PROG:FAILS", .attribute = {"LIST_MODE_PROGRAM_FAIL_STOP", 1150015})

#define ZPV_LIST_IZPV4870ListModeSequence(X, I) \
    X(ACTION, I, Add, "LIST:SEQ:ADD", kAllModels) \
    X(ACTION, I, Edit, "LIST:SEQ:EDIT %d", kAllModels, (IN, LONG, SequenceIndex)) \
    X(ACTION, I, Copy, "LIST:SEQ:COPY %d", kAllModels, (IN, LONG, SourceSequenceIndex)) \
    X(QUERY, I, LONG, GetEditSequence, "LIST:SEQ:EDIT?", "%d") \
    X(ACTION, I, Delete, "LIST:SEQ:DEL %d", kAllModels, (IN, LONG, SequenceIndex)) \
    X(QUERY, I, LONG, GetTotalSequence, "LIST:SEQ:TOT?", "%d") \
    X(ENUM_SETTING, I, ZPV4870WaveformEnum, Waveform, "LIST:SEQ:WAVE", .family = kNotStandard, .attribute = {"LIST_MODE_SEQUENCE_WAVEFORM", 1150016}) \
    X(SETTING, I, LONG, StartAngle, "LIST:SEQ:ANGL", .stored = true, .unit = "deg", .attribute = {"LIST_MODE_SEQUENCE_START_ANGLE", 1150017}) \
    X(SETTING, I, double, VoltageAcStart, "LIST:SEQ:VOLT:AC:STAR", .stored = true, .family = kNotStandard, .unit = "V", .attribute = {"LIST_MODE_SEQUENCE_VOLTAGE_AC_START", 1150018}) \
    X(SETTING, I, double, VoltageDcStart, "LIST:SEQ:VOLT:DC:STAR", .stored = true, .family = kNotStandard, .unit = "V", .attribute = {"LIST_MODE_SEQUENCE_VOLTAGE_DC_START", 1150019}) \
    X(SETTING, I, double, VoltageAcEnd, "LIST:SEQ:VOLT:AC:END", .stored = true, .family = kNotStandard, .unit = "V", .attribute = {"LIST_MODE_SEQUENCE_VOLTAGE_AC_END", 1150020}) \
    X(SETTING, I, double, VoltageDcEnd, "LIST:SEQ:VOLT:DC:END", .stored = true, .family = kNotStandard, .unit = "V", .attribute = {"LIST_MODE_SEQUENCE_VOLTAGE_DC_END", 1150021}) \
    X(PROPERTY, I, double, TotalHarmonicDistortion, "LIST:SEQ:THD?", "%lg", "LIST:SEQ:THD %0.15lg", .stored = true, .family = kNotStandard, .unit = "%", .range = {0, 45}, .attribute = {"LIST_MODE_SEQUENCE_TOTAL_HARMONIC_DISTORTION", 1150022}) \
    X(SETTING, I, double, FrequencyEnd, "LIST:SEQ:FREQ:END", .stored = true, .family = kNotStandard, .unit = "Hz", .attribute = {"LIST_MODE_SEQUENCE_FREQUENCY_END", 1150023}) \
    X(SETTING, I, double, FrequencyStart, "LIST:SEQ:FREQ:STAR", .stored = true, .family = kNotStandard, .unit = "Hz", .attribute = {"LIST_MODE_SEQUENCE_FREQUENCY_START", 1150024}) \
    X(SETTING, I, double, Time, "LIST:SEQ:TIME", .stored = true, .unit = "per TimeUnit", .attribute = {"LIST_MODE_SEQUENCE_TIME", 1150025}) \
    X(ENUM_SETTING, I, ZPV4870TimeUnitEnum, TimeUnit, "LIST:SEQ:TIME:UNIT", .attribute = {"LIST_MODE_SEQUENCE_TIME_UNIT", 1150026}) \
    X(SETTING, I, LONG, Cycle, "LIST:SEQ:CYCL", .stored = true, .attribute = {"LIST_MODE_SEQUENCE_CYCLE", 1150027}) \
    X(SETTING, I, double, CurrentHighLimit, "LIST:SEQ:CURR:HIGH", .stored = true, .unit = "A", .attribute = {"LIST_MODE_SEQUENCE_CURRENT_HIGH_LIMIT", 1150028}) \
    X(SETTING, I, double, CurrentLimitDelay, "LIST:SEQ:CURR:DEL", .stored = true, .attribute = {"LIST_MODE_SEQUENCE_CURRENT_LIMIT_DELAY", 1150029}) \
    X(SETTING, I, double, CurrentLowLimit, "LIST:SEQ:CURR:LOW", .stored = true, .unit = "A", .attribute = {"LIST_MODE_SEQUENCE_CURRENT_LOW_LIMIT", 1150030}) \
    X(SETTING, I, double, PowerHighLimit, "LIST:SEQ:POW:HIGH", .stored = true, .unit = "W", .attribute = {"LIST_MODE_SEQUENCE_POWER_HIGH_LIMIT", 1150031}) \
    X(SETTING, I, double, PowerLowLimit, "LIST:SEQ:POW:LOW", .stored = true, .unit = "W", .attribute = {"LIST_MODE_SEQUENCE_POWER_LOW_LIMIT", 1150032}) \
    X(SETTING, I, double, PowerFactorLowLimit, "LIST:SEQ:PFAC:LOW", .stored = true, .attribute = {"LIST_MODE_SEQUENCE_POWER_FACTOR_LOW_LIMIT", 1150033}) \
    X(SETTING, I, double, PowerFactorHighLimit, "LIST:SEQ:PFAC:HIGH", .stored = true, .attribute = {"LIST_MODE_SEQUENCE_POWER_FACTOR_HIGH_LIMIT", 1150034}) \
    X(SETTING, I, double, CurrentPeakHighLimit, "LIST:SEQ:APEAK:HIGH", .stored = true, .unit = "A", .attribute = {"LIST_MODE_SEQUENCE_CURRENT_PEAK_HIGH_LIMIT", 1150035}) \
    X(SETTING, I, double, CurrentPeakLowLimit, "LIST:SEQ:APEAK:LOW", .stored = true, .unit = "A", .attribute = {"LIST_MODE_SEQUENCE_CURRENT_PEAK_LOW_LIMIT", 1150036}) \
    X(SETTING, I, double, ReactivePowerHighLimit, "LIST:SEQ:REAC:HIGH", .stored = true, .unit = "var", .attribute = {"LIST_MODE_SEQUENCE_REACTIVE_POWER_HIGH_LIMIT", 1150037}) \
    X(SETTING, I, double, ReactivePowerLowLimit, "LIST:SEQ:REAC:LOW", .stored = true, .unit = "var", .attribute = {"LIST_MODE_SEQUENCE_REACTIVE_POWER_LOW_LIMIT", 1150038}) \
    X(SETTING, I, double, ApparentPowerHighLimit, "LIST:SEQ:APP:HIGH", .stored = true, .unit = "VA", .attribute = {"LIST_MODE_SEQUENCE_APPARENT_POWER_HIGH_LIMIT", 1150039}) \
    X(SETTING, I, double, ApparentPowerLowLimit, "LIST:SEQ:APP:LOW", .stored = true, .unit = "VA", .attribute = {"LIST_MODE_SEQUENCE_APPARENT_POWER_LOW_LIMIT", 1150040}) \
    X(SETTING, I, double, CrestFactorLowLimit, "LIST:SEQ:CRES:LOW", .stored = true, .attribute = {"LIST_MODE_SEQUENCE_CREST_FACTOR_LOW_LIMIT", 1150041}) \
    X(SETTING, I, double, CrestFactorHighLimit, "LIST:SEQ:CRES:HIGH", .stored = true, .attribute = {"LIST_MODE_SEQUENCE_CREST_FACTOR_HIGH_LIMIT", 1150042}) \
    X(SETTING, I, double, Frequency, "LIST:SEQ:FREQ", .stored = true, .family = kNotAdvanced, .unit = "Hz", .attribute = {"LIST_MODE_SEQUENCE_FREQUENCY", 1150117}) \
    /* The type library's VoltageAC is known to the instrument's tables, messages and key as "VoltageAc". */ \
    X(RENAMED_PROPERTY, I, double, VoltageAC, VoltageAc, "LIST:SEQ:VOLT:AC?", "%lg", "LIST:SEQ:VOLT:AC %0.15lg", .stored = true, .family = kNotAdvanced, .unit = "V", .attribute = {"LIST_MODE_SEQUENCE_VOLTAGE_AC", 1150118})
