// List mode: the program being edited and its sequences.
#pragma once

#include "ZPV4870.h"
#include "core/range_check.h"
#include "members/member_declarations.h"
#include "members/mode_members.h"

namespace zpv::members {

inline bool IsHarmonicDistortion(const double& value) { return driver::InRange(value, 0.0, 45.0); }

}  // namespace zpv::members

#define ZPV_LIST_IZPV4870ListMode(X, I)                              \
    X(GROUP, I, IZPV4870ListModeFile, File, kAllModels)              \
    X(GROUP, I, IZPV4870ListModeProgram, Program, kAllModels)        \
    X(GROUP, I, IZPV4870ListModeSequence, Sequence, kAllModels)

#define ZPV_LIST_IZPV4870ListModeProgram(X, I) \
    X(SETTING, I, double, VoltageAC, "LIST:PROG:VOLT:AC", true, 0.0, kAllModels) \
    X(SETTING, I, LONG, Count, "LIST:PROG:COUN", true, 0, kAllModels) \
    X(ENUM_SETTING, I, ZPV4870BaseEnum, Base, "LIST:PROG:BASE", true, ZPV4870BaseTime, kAllModels) \
    X(ENUM_SETTING, I, ZPV4870RangeEnum, Range, "LIST:PROG:RANG", false, ZPV4870RangeAuto, kAllModels) \
    X(ENUM_SETTING, I, ZPV4870TriggerEnum, Trigger, "LIST:PROG:TRIG", false, ZPV4870TriggerAUTO, kAllModels) \
    X(SETTING, I, double, VoltageDC, "LIST:PROG:VOLT:DC", true, 0.0, kNotStandard) \
    X(SETTING, I, double, Frequency, "LIST:PROG:FREQ", true, 0.0, kAllModels) \
    X(ENUM_SETTING, I, ZPV4870EnableEnum, AngleConnect, "LIST:PROG:ANGL:CONT", true, ZPV4870EnableOFF, kAllModels) \
    X(ENUM_SETTING, I, ZPV4870EnableEnum, FailStop, "LIST:PROG:FAILS", false, ZPV4870EnableOFF, kAllModels)

#define ZPV_LIST_IZPV4870ListModeSequence(X, I) \
    X(ACTION, I, Add, "LIST:SEQ:ADD", kAllModels) \
    X(ACTION, I, Edit, "LIST:SEQ:EDIT %d", kAllModels, (IN, LONG, SequenceIndex)) \
    X(ACTION, I, Copy, "LIST:SEQ:COPY %d", kAllModels, (IN, LONG, SourceSequenceIndex)) \
    X(QUERY, I, LONG, GetEditSequence, "LIST:SEQ:EDIT?", "%d", kAllModels) \
    X(ACTION, I, Delete, "LIST:SEQ:DEL %d", kAllModels, (IN, LONG, SequenceIndex)) \
    X(QUERY, I, LONG, GetTotalSequence, "LIST:SEQ:TOT?", "%d", kAllModels) \
    X(ENUM_SETTING, I, ZPV4870WaveformEnum, Waveform, "LIST:SEQ:WAVE", false, ZPV4870WaveformSINE, kNotStandard) \
    X(SETTING, I, LONG, StartAngle, "LIST:SEQ:ANGL", true, 0, kAllModels) \
    X(SETTING, I, double, VoltageAcStart, "LIST:SEQ:VOLT:AC:STAR", true, 0.0, kNotStandard) \
    X(SETTING, I, double, VoltageDcStart, "LIST:SEQ:VOLT:DC:STAR", true, 0.0, kNotStandard) \
    X(SETTING, I, double, VoltageAcEnd, "LIST:SEQ:VOLT:AC:END", true, 0.0, kNotStandard) \
    X(SETTING, I, double, VoltageDcEnd, "LIST:SEQ:VOLT:DC:END", true, 0.0, kNotStandard) \
    X(CHECKED_PROPERTY, I, double, TotalHarmonicDistortion, "LIST:SEQ:THD?", "%lg", "LIST:SEQ:THD %0.15lg", true, 0.0, kNotStandard, &IsHarmonicDistortion) \
    X(SETTING, I, double, FrequencyEnd, "LIST:SEQ:FREQ:END", true, 0.0, kNotStandard) \
    X(SETTING, I, double, FrequencyStart, "LIST:SEQ:FREQ:STAR", true, 0.0, kNotStandard) \
    X(SETTING, I, double, Time, "LIST:SEQ:TIME", true, 0.0, kAllModels) \
    X(ENUM_SETTING, I, ZPV4870TimeUnitEnum, TimeUnit, "LIST:SEQ:TIME:UNIT", false, ZPV4870TimeUnitMillisecond, kAllModels) \
    X(SETTING, I, LONG, Cycle, "LIST:SEQ:CYCL", true, 0, kAllModels) \
    X(SETTING, I, double, CurrentHighLimit, "LIST:SEQ:CURR:HIGH", true, 0.0, kAllModels) \
    X(SETTING, I, double, CurrentLimitDelay, "LIST:SEQ:CURR:DEL", true, 0.0, kAllModels) \
    X(SETTING, I, double, CurrentLowLimit, "LIST:SEQ:CURR:LOW", true, 0.0, kAllModels) \
    X(SETTING, I, double, PowerHighLimit, "LIST:SEQ:POW:HIGH", true, 0.0, kAllModels) \
    X(SETTING, I, double, PowerLowLimit, "LIST:SEQ:POW:LOW", true, 0.0, kAllModels) \
    X(SETTING, I, double, PowerFactorLowLimit, "LIST:SEQ:PFAC:LOW", true, 0.0, kAllModels) \
    X(SETTING, I, double, PowerFactorHighLimit, "LIST:SEQ:PFAC:HIGH", true, 0.0, kAllModels) \
    X(SETTING, I, double, CurrentPeakHighLimit, "LIST:SEQ:APEAK:HIGH", true, 0.0, kAllModels) \
    X(SETTING, I, double, CurrentPeakLowLimit, "LIST:SEQ:APEAK:LOW", true, 0.0, kAllModels) \
    X(SETTING, I, double, ReactivePowerHighLimit, "LIST:SEQ:REAC:HIGH", true, 0.0, kAllModels) \
    X(SETTING, I, double, ReactivePowerLowLimit, "LIST:SEQ:REAC:LOW", true, 0.0, kAllModels) \
    X(SETTING, I, double, ApparentPowerHighLimit, "LIST:SEQ:APP:HIGH", true, 0.0, kAllModels) \
    X(SETTING, I, double, ApparentPowerLowLimit, "LIST:SEQ:APP:LOW", true, 0.0, kAllModels) \
    X(SETTING, I, double, CrestFactorLowLimit, "LIST:SEQ:CRES:LOW", true, 0.0, kAllModels) \
    X(SETTING, I, double, CrestFactorHighLimit, "LIST:SEQ:CRES:HIGH", true, 0.0, kAllModels) \
    X(SETTING, I, double, Frequency, "LIST:SEQ:FREQ", true, 0.0, kNotAdvanced) \
    /* The type library's VoltageAC is known to the instrument's tables, messages and key as "VoltageAc". */ \
    X(RENAMED_PROPERTY, I, double, VoltageAC, VoltageAc, "LIST:SEQ:VOLT:AC?", "%lg", "LIST:SEQ:VOLT:AC %0.15lg", true, 0.0, kNotAdvanced)
