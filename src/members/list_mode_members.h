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
    X(PROPERTY, I, double, VoltageAC, "LIST:PROG:VOLT:AC?", "%lg", "LIST:PROG:VOLT:AC %0.15lg", true, 0.0, kAllModels) \
    X(PROPERTY, I, LONG, Count, "LIST:PROG:COUN?", "%d", "LIST:PROG:COUN %d", true, 0, kAllModels) \
    X(PROPERTY, I, ZPV4870BaseEnum, Base, "LIST:PROG:BASE?", "%{ZPV4870BaseEnum}s", "LIST:PROG:BASE %{ZPV4870BaseEnum}s", true, ZPV4870BaseTime, kAllModels) \
    X(PROPERTY, I, ZPV4870RangeEnum, Range, "LIST:PROG:RANG?", "%{ZPV4870RangeEnum}s", "LIST:PROG:RANG %{ZPV4870RangeEnum}s", false, ZPV4870RangeAuto, kAllModels) \
    X(PROPERTY, I, ZPV4870TriggerEnum, Trigger, "LIST:PROG:TRIG?", "%{ZPV4870TriggerEnum}s", "LIST:PROG:TRIG %{ZPV4870TriggerEnum}s", false, ZPV4870TriggerAUTO, kAllModels) \
    X(PROPERTY, I, double, VoltageDC, "LIST:PROG:VOLT:DC?", "%lg", "LIST:PROG:VOLT:DC %0.15lg", true, 0.0, kNotStandard) \
    X(PROPERTY, I, double, Frequency, "LIST:PROG:FREQ?", "%lg", "LIST:PROG:FREQ %0.15lg", true, 0.0, kAllModels) \
    X(PROPERTY, I, ZPV4870EnableEnum, AngleConnect, "LIST:PROG:ANGL:CONT?", "%{ZPV4870EnableEnum}s", "LIST:PROG:ANGL:CONT %{ZPV4870EnableEnum}s", true, ZPV4870EnableOFF, kAllModels) \
    X(PROPERTY, I, ZPV4870EnableEnum, FailStop, "LIST:PROG:FAILS?", "%{ZPV4870EnableEnum}s", "LIST:PROG:FAILS %{ZPV4870EnableEnum}s", false, ZPV4870EnableOFF, kAllModels)

#define ZPV_LIST_IZPV4870ListModeSequence(X, I) \
    X(ACTION, I, Add, "LIST:SEQ:ADD", kAllModels) \
    X(ACTION, I, Edit, "LIST:SEQ:EDIT %d", kAllModels, (IN, LONG, SequenceIndex)) \
    X(ACTION, I, Copy, "LIST:SEQ:COPY %d", kAllModels, (IN, LONG, SourceSequenceIndex)) \
    X(QUERY, I, LONG, GetEditSequence, "LIST:SEQ:EDIT?", "%d", kAllModels) \
    X(ACTION, I, Delete, "LIST:SEQ:DEL %d", kAllModels, (IN, LONG, SequenceIndex)) \
    X(QUERY, I, LONG, GetTotalSequence, "LIST:SEQ:TOT?", "%d", kAllModels) \
    X(PROPERTY, I, ZPV4870WaveformEnum, Waveform, "LIST:SEQ:WAVE?", "%{ZPV4870WaveformEnum}s", "LIST:SEQ:WAVE %{ZPV4870WaveformEnum}s", false, ZPV4870WaveformSINE, kNotStandard) \
    X(PROPERTY, I, LONG, StartAngle, "LIST:SEQ:ANGL?", "%d", "LIST:SEQ:ANGL %d", true, 0, kAllModels) \
    X(PROPERTY, I, double, VoltageAcStart, "LIST:SEQ:VOLT:AC:STAR?", "%lg", "LIST:SEQ:VOLT:AC:STAR %0.15lg", true, 0.0, kNotStandard) \
    X(PROPERTY, I, double, VoltageDcStart, "LIST:SEQ:VOLT:DC:STAR?", "%lg", "LIST:SEQ:VOLT:DC:STAR %0.15lg", true, 0.0, kNotStandard) \
    X(PROPERTY, I, double, VoltageAcEnd, "LIST:SEQ:VOLT:AC:END?", "%lg", "LIST:SEQ:VOLT:AC:END %0.15lg", true, 0.0, kNotStandard) \
    X(PROPERTY, I, double, VoltageDcEnd, "LIST:SEQ:VOLT:DC:END?", "%lg", "LIST:SEQ:VOLT:DC:END %0.15lg", true, 0.0, kNotStandard) \
    X(CHECKED_PROPERTY, I, double, TotalHarmonicDistortion, "LIST:SEQ:THD?", "%lg", "LIST:SEQ:THD %0.15lg", true, 0.0, kNotStandard, &IsHarmonicDistortion) \
    X(PROPERTY, I, double, FrequencyEnd, "LIST:SEQ:FREQ:END?", "%lg", "LIST:SEQ:FREQ:END %0.15lg", true, 0.0, kNotStandard) \
    X(PROPERTY, I, double, FrequencyStart, "LIST:SEQ:FREQ:STAR?", "%lg", "LIST:SEQ:FREQ:STAR %0.15lg", true, 0.0, kNotStandard) \
    X(PROPERTY, I, double, Time, "LIST:SEQ:TIME?", "%lg", "LIST:SEQ:TIME %0.15lg", true, 0.0, kAllModels) \
    X(PROPERTY, I, ZPV4870TimeUnitEnum, TimeUnit, "LIST:SEQ:TIME:UNIT?", "%{ZPV4870TimeUnitEnum}s", "LIST:SEQ:TIME:UNIT %{ZPV4870TimeUnitEnum}s", false, ZPV4870TimeUnitMillisecond, kAllModels) \
    X(PROPERTY, I, LONG, Cycle, "LIST:SEQ:CYCL?", "%d", "LIST:SEQ:CYCL %d", true, 0, kAllModels) \
    X(PROPERTY, I, double, CurrentHighLimit, "LIST:SEQ:CURR:HIGH?", "%lg", "LIST:SEQ:CURR:HIGH %0.15lg", true, 0.0, kAllModels) \
    X(PROPERTY, I, double, CurrentLimitDelay, "LIST:SEQ:CURR:DEL?", "%lg", "LIST:SEQ:CURR:DEL %0.15lg", true, 0.0, kAllModels) \
    X(PROPERTY, I, double, CurrentLowLimit, "LIST:SEQ:CURR:LOW?", "%lg", "LIST:SEQ:CURR:LOW %0.15lg", true, 0.0, kAllModels) \
    X(PROPERTY, I, double, PowerHighLimit, "LIST:SEQ:POW:HIGH?", "%lg", "LIST:SEQ:POW:HIGH %0.15lg", true, 0.0, kAllModels) \
    X(PROPERTY, I, double, PowerLowLimit, "LIST:SEQ:POW:LOW?", "%lg", "LIST:SEQ:POW:LOW %0.15lg", true, 0.0, kAllModels) \
    X(PROPERTY, I, double, PowerFactorLowLimit, "LIST:SEQ:PFAC:LOW?", "%lg", "LIST:SEQ:PFAC:LOW %0.15lg", true, 0.0, kAllModels) \
    X(PROPERTY, I, double, PowerFactorHighLimit, "LIST:SEQ:PFAC:HIGH?", "%lg", "LIST:SEQ:PFAC:HIGH %0.15lg", true, 0.0, kAllModels) \
    X(PROPERTY, I, double, CurrentPeakHighLimit, "LIST:SEQ:APEAK:HIGH?", "%lg", "LIST:SEQ:APEAK:HIGH %0.15lg", true, 0.0, kAllModels) \
    X(PROPERTY, I, double, CurrentPeakLowLimit, "LIST:SEQ:APEAK:LOW?", "%lg", "LIST:SEQ:APEAK:LOW %0.15lg", true, 0.0, kAllModels) \
    X(PROPERTY, I, double, ReactivePowerHighLimit, "LIST:SEQ:REAC:HIGH?", "%lg", "LIST:SEQ:REAC:HIGH %0.15lg", true, 0.0, kAllModels) \
    X(PROPERTY, I, double, ReactivePowerLowLimit, "LIST:SEQ:REAC:LOW?", "%lg", "LIST:SEQ:REAC:LOW %0.15lg", true, 0.0, kAllModels) \
    X(PROPERTY, I, double, ApparentPowerHighLimit, "LIST:SEQ:APP:HIGH?", "%lg", "LIST:SEQ:APP:HIGH %0.15lg", true, 0.0, kAllModels) \
    X(PROPERTY, I, double, ApparentPowerLowLimit, "LIST:SEQ:APP:LOW?", "%lg", "LIST:SEQ:APP:LOW %0.15lg", true, 0.0, kAllModels) \
    X(PROPERTY, I, double, CrestFactorLowLimit, "LIST:SEQ:CRES:LOW?", "%lg", "LIST:SEQ:CRES:LOW %0.15lg", true, 0.0, kAllModels) \
    X(PROPERTY, I, double, CrestFactorHighLimit, "LIST:SEQ:CRES:HIGH?", "%lg", "LIST:SEQ:CRES:HIGH %0.15lg", true, 0.0, kAllModels) \
    X(PROPERTY, I, double, Frequency, "LIST:SEQ:FREQ?", "%lg", "LIST:SEQ:FREQ %0.15lg", true, 0.0, kNotAdvanced) \
    /* The type library's VoltageAC is known to the instrument's tables, messages and key as "VoltageAc". */ \
    X(RENAMED_PROPERTY, I, double, VoltageAC, VoltageAc, "LIST:SEQ:VOLT:AC?", "%lg", "LIST:SEQ:VOLT:AC %0.15lg", true, 0.0, kNotAdvanced)
