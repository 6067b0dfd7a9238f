// List mode: the program being edited and its sequences.
#pragma once

#include "ZPV4870.h"
#include "cache/range_check.h"
#include "commands/member_macros.h"
#include "commands/mode_members.h"

namespace zpv::commands {

inline bool IsHarmonicDistortion(const double& value) { return cache::InRange(value, 0.0, 45.0); }

namespace rows {

ZPV_GROUP_ROW(IZPV4870ListMode, File, kAllModels)
ZPV_GROUP_ROW(IZPV4870ListMode, Program, kAllModels)
ZPV_GROUP_ROW(IZPV4870ListMode, Sequence, kAllModels)

ZPV_INSTRUMENT_PROPERTY(IZPV4870ListModeProgram, VoltageAC, double, "LIST:PROG:VOLT:AC?", "%lg", "LIST:PROG:VOLT:AC %0.15lg", true, 0.0, kAllModels)
ZPV_INSTRUMENT_PROPERTY(IZPV4870ListModeProgram, Count, LONG, "LIST:PROG:COUN?", "%d", "LIST:PROG:COUN %d", true, 0, kAllModels)
ZPV_INSTRUMENT_PROPERTY(IZPV4870ListModeProgram, Base, ZPV4870BaseEnum, "LIST:PROG:BASE?", "%{ZPV4870BaseEnum}s", "LIST:PROG:BASE %{ZPV4870BaseEnum}s", true, ZPV4870BaseTime, kAllModels)
ZPV_INSTRUMENT_PROPERTY(IZPV4870ListModeProgram, Range, ZPV4870RangeEnum, "LIST:PROG:RANG?", "%{ZPV4870RangeEnum}s", "LIST:PROG:RANG %{ZPV4870RangeEnum}s", false, ZPV4870RangeAuto, kAllModels)
ZPV_INSTRUMENT_PROPERTY(IZPV4870ListModeProgram, Trigger, ZPV4870TriggerEnum, "LIST:PROG:TRIG?", "%{ZPV4870TriggerEnum}s", "LIST:PROG:TRIG %{ZPV4870TriggerEnum}s", false, ZPV4870TriggerAUTO, kAllModels)
ZPV_INSTRUMENT_PROPERTY(IZPV4870ListModeProgram, VoltageDC, double, "LIST:PROG:VOLT:DC?", "%lg", "LIST:PROG:VOLT:DC %0.15lg", true, 0.0, kNotStandard)
ZPV_INSTRUMENT_PROPERTY(IZPV4870ListModeProgram, Frequency, double, "LIST:PROG:FREQ?", "%lg", "LIST:PROG:FREQ %0.15lg", true, 0.0, kAllModels)
ZPV_INSTRUMENT_PROPERTY(IZPV4870ListModeProgram, AngleConnect, ZPV4870EnableEnum, "LIST:PROG:ANGL:CONT?", "%{ZPV4870EnableEnum}s", "LIST:PROG:ANGL:CONT %{ZPV4870EnableEnum}s", true, ZPV4870EnableOFF, kAllModels)
ZPV_INSTRUMENT_PROPERTY(IZPV4870ListModeProgram, FailStop, ZPV4870EnableEnum, "LIST:PROG:FAILS?", "%{ZPV4870EnableEnum}s", "LIST:PROG:FAILS %{ZPV4870EnableEnum}s", false, ZPV4870EnableOFF, kAllModels)

ZPV_ACTION_ROW(IZPV4870ListModeSequence, Add, "LIST:SEQ:ADD", kAllModels)
ZPV_ACTION_ROW(IZPV4870ListModeSequence, Edit, "LIST:SEQ:EDIT %d", kAllModels)
ZPV_ACTION_ROW(IZPV4870ListModeSequence, Copy, "LIST:SEQ:COPY %d", kAllModels)
ZPV_QUERY_ROW(IZPV4870ListModeSequence, GetEditSequence, "LIST:SEQ:EDIT?", "%d", kAllModels)
ZPV_ACTION_ROW(IZPV4870ListModeSequence, Delete, "LIST:SEQ:DEL %d", kAllModels)
ZPV_QUERY_ROW(IZPV4870ListModeSequence, GetTotalSequence, "LIST:SEQ:TOT?", "%d", kAllModels)
ZPV_INSTRUMENT_PROPERTY(IZPV4870ListModeSequence, Waveform, ZPV4870WaveformEnum, "LIST:SEQ:WAVE?", "%{ZPV4870WaveformEnum}s", "LIST:SEQ:WAVE %{ZPV4870WaveformEnum}s", false, ZPV4870WaveformSINE, kNotStandard)
ZPV_INSTRUMENT_PROPERTY(IZPV4870ListModeSequence, StartAngle, LONG, "LIST:SEQ:ANGL?", "%d", "LIST:SEQ:ANGL %d", true, 0, kAllModels)
ZPV_INSTRUMENT_PROPERTY(IZPV4870ListModeSequence, VoltageAcStart, double, "LIST:SEQ:VOLT:AC:STAR?", "%lg", "LIST:SEQ:VOLT:AC:STAR %0.15lg", true, 0.0, kNotStandard)
ZPV_INSTRUMENT_PROPERTY(IZPV4870ListModeSequence, VoltageDcStart, double, "LIST:SEQ:VOLT:DC:STAR?", "%lg", "LIST:SEQ:VOLT:DC:STAR %0.15lg", true, 0.0, kNotStandard)
ZPV_INSTRUMENT_PROPERTY(IZPV4870ListModeSequence, VoltageAcEnd, double, "LIST:SEQ:VOLT:AC:END?", "%lg", "LIST:SEQ:VOLT:AC:END %0.15lg", true, 0.0, kNotStandard)
ZPV_INSTRUMENT_PROPERTY(IZPV4870ListModeSequence, VoltageDcEnd, double, "LIST:SEQ:VOLT:DC:END?", "%lg", "LIST:SEQ:VOLT:DC:END %0.15lg", true, 0.0, kNotStandard)
inline const PropertyRow<double> kIZPV4870ListModeSequence_TotalHarmonicDistortion{
    {.iid = IID_IZPV4870ListModeSequence,
     .interfaceName = "IZPV4870ListModeSequence",
     .property = "TotalHarmonicDistortion",
     .access = Access::Instrument,
     .simulatedKey = "IZPV4870ListModeSequence.TotalHarmonicDistortion",
     .simulatedDefault = 0.0,
     .getCommand = "LIST:SEQ:THD?",
     .getResponse = "%lg",
     .putCommand = "LIST:SEQ:THD %0.15lg",
     .refusedFamily = kNotStandard,
     .inRange = &IsHarmonicDistortion}};
ZPV_INSTRUMENT_PROPERTY(IZPV4870ListModeSequence, FrequencyEnd, double, "LIST:SEQ:FREQ:END?", "%lg", "LIST:SEQ:FREQ:END %0.15lg", true, 0.0, kNotStandard)
ZPV_INSTRUMENT_PROPERTY(IZPV4870ListModeSequence, FrequencyStart, double, "LIST:SEQ:FREQ:STAR?", "%lg", "LIST:SEQ:FREQ:STAR %0.15lg", true, 0.0, kNotStandard)
ZPV_INSTRUMENT_PROPERTY(IZPV4870ListModeSequence, Time, double, "LIST:SEQ:TIME?", "%lg", "LIST:SEQ:TIME %0.15lg", true, 0.0, kAllModels)
ZPV_INSTRUMENT_PROPERTY(IZPV4870ListModeSequence, TimeUnit, ZPV4870TimeUnitEnum, "LIST:SEQ:TIME:UNIT?", "%{ZPV4870TimeUnitEnum}s", "LIST:SEQ:TIME:UNIT %{ZPV4870TimeUnitEnum}s", false, ZPV4870TimeUnitMillisecond, kAllModels)
ZPV_INSTRUMENT_PROPERTY(IZPV4870ListModeSequence, Cycle, LONG, "LIST:SEQ:CYCL?", "%d", "LIST:SEQ:CYCL %d", true, 0, kAllModels)
ZPV_INSTRUMENT_PROPERTY(IZPV4870ListModeSequence, CurrentHighLimit, double, "LIST:SEQ:CURR:HIGH?", "%lg", "LIST:SEQ:CURR:HIGH %0.15lg", true, 0.0, kAllModels)
ZPV_INSTRUMENT_PROPERTY(IZPV4870ListModeSequence, CurrentLimitDelay, double, "LIST:SEQ:CURR:DEL?", "%lg", "LIST:SEQ:CURR:DEL %0.15lg", true, 0.0, kAllModels)
ZPV_INSTRUMENT_PROPERTY(IZPV4870ListModeSequence, CurrentLowLimit, double, "LIST:SEQ:CURR:LOW?", "%lg", "LIST:SEQ:CURR:LOW %0.15lg", true, 0.0, kAllModels)
ZPV_INSTRUMENT_PROPERTY(IZPV4870ListModeSequence, PowerHighLimit, double, "LIST:SEQ:POW:HIGH?", "%lg", "LIST:SEQ:POW:HIGH %0.15lg", true, 0.0, kAllModels)
ZPV_INSTRUMENT_PROPERTY(IZPV4870ListModeSequence, PowerLowLimit, double, "LIST:SEQ:POW:LOW?", "%lg", "LIST:SEQ:POW:LOW %0.15lg", true, 0.0, kAllModels)
ZPV_INSTRUMENT_PROPERTY(IZPV4870ListModeSequence, PowerFactorLowLimit, double, "LIST:SEQ:PFAC:LOW?", "%lg", "LIST:SEQ:PFAC:LOW %0.15lg", true, 0.0, kAllModels)
ZPV_INSTRUMENT_PROPERTY(IZPV4870ListModeSequence, PowerFactorHighLimit, double, "LIST:SEQ:PFAC:HIGH?", "%lg", "LIST:SEQ:PFAC:HIGH %0.15lg", true, 0.0, kAllModels)
ZPV_INSTRUMENT_PROPERTY(IZPV4870ListModeSequence, CurrentPeakHighLimit, double, "LIST:SEQ:APEAK:HIGH?", "%lg", "LIST:SEQ:APEAK:HIGH %0.15lg", true, 0.0, kAllModels)
ZPV_INSTRUMENT_PROPERTY(IZPV4870ListModeSequence, CurrentPeakLowLimit, double, "LIST:SEQ:APEAK:LOW?", "%lg", "LIST:SEQ:APEAK:LOW %0.15lg", true, 0.0, kAllModels)
ZPV_INSTRUMENT_PROPERTY(IZPV4870ListModeSequence, ReactivePowerHighLimit, double, "LIST:SEQ:REAC:HIGH?", "%lg", "LIST:SEQ:REAC:HIGH %0.15lg", true, 0.0, kAllModels)
ZPV_INSTRUMENT_PROPERTY(IZPV4870ListModeSequence, ReactivePowerLowLimit, double, "LIST:SEQ:REAC:LOW?", "%lg", "LIST:SEQ:REAC:LOW %0.15lg", true, 0.0, kAllModels)
ZPV_INSTRUMENT_PROPERTY(IZPV4870ListModeSequence, ApparentPowerHighLimit, double, "LIST:SEQ:APP:HIGH?", "%lg", "LIST:SEQ:APP:HIGH %0.15lg", true, 0.0, kAllModels)
ZPV_INSTRUMENT_PROPERTY(IZPV4870ListModeSequence, ApparentPowerLowLimit, double, "LIST:SEQ:APP:LOW?", "%lg", "LIST:SEQ:APP:LOW %0.15lg", true, 0.0, kAllModels)
ZPV_INSTRUMENT_PROPERTY(IZPV4870ListModeSequence, CrestFactorLowLimit, double, "LIST:SEQ:CRES:LOW?", "%lg", "LIST:SEQ:CRES:LOW %0.15lg", true, 0.0, kAllModels)
ZPV_INSTRUMENT_PROPERTY(IZPV4870ListModeSequence, CrestFactorHighLimit, double, "LIST:SEQ:CRES:HIGH?", "%lg", "LIST:SEQ:CRES:HIGH %0.15lg", true, 0.0, kAllModels)
ZPV_INSTRUMENT_PROPERTY(IZPV4870ListModeSequence, Frequency, double, "LIST:SEQ:FREQ?", "%lg", "LIST:SEQ:FREQ %0.15lg", true, 0.0, kNotAdvanced)
// The type library's VoltageAC is known to the instrument's tables, messages and key as "VoltageAc".
ZPV_INSTRUMENT_PROPERTY(IZPV4870ListModeSequence, VoltageAc, double, "LIST:SEQ:VOLT:AC?", "%lg", "LIST:SEQ:VOLT:AC %0.15lg", true, 0.0, kNotAdvanced)

}  // namespace rows

template <class Owner>
class Zpv4870ListModeMembers : public IZPV4870ListMode {
    ZPV_MEMBERS_OF(Owner)
    ZPV_GROUP(IZPV4870ListModeFile, File, rows::kIZPV4870ListMode_get_File)
    ZPV_GROUP(IZPV4870ListModeProgram, Program, rows::kIZPV4870ListMode_get_Program)
    ZPV_GROUP(IZPV4870ListModeSequence, Sequence, rows::kIZPV4870ListMode_get_Sequence)
};

template <class Owner>
class Zpv4870ListModeProgramMembers : public IZPV4870ListModeProgram {
    ZPV_MEMBERS_OF(Owner)
    ZPV_PROPERTY(double, VoltageAC, rows::kIZPV4870ListModeProgram_VoltageAC)
    ZPV_PROPERTY(LONG, Count, rows::kIZPV4870ListModeProgram_Count)
    ZPV_PROPERTY(ZPV4870BaseEnum, Base, rows::kIZPV4870ListModeProgram_Base)
    ZPV_PROPERTY(ZPV4870RangeEnum, Range, rows::kIZPV4870ListModeProgram_Range)
    ZPV_PROPERTY(ZPV4870TriggerEnum, Trigger, rows::kIZPV4870ListModeProgram_Trigger)
    ZPV_PROPERTY(double, VoltageDC, rows::kIZPV4870ListModeProgram_VoltageDC)
    ZPV_PROPERTY(double, Frequency, rows::kIZPV4870ListModeProgram_Frequency)
    ZPV_PROPERTY(ZPV4870EnableEnum, AngleConnect, rows::kIZPV4870ListModeProgram_AngleConnect)
    ZPV_PROPERTY(ZPV4870EnableEnum, FailStop, rows::kIZPV4870ListModeProgram_FailStop)
};

template <class Owner>
class Zpv4870ListModeSequenceMembers : public IZPV4870ListModeSequence {
    ZPV_MEMBERS_OF(Owner)
    HRESULT Add() override { return RunAction(Self(), rows::kIZPV4870ListModeSequence_Add); }
    HRESULT Edit(LONG SequenceIndex) override { return RunAction(Self(), rows::kIZPV4870ListModeSequence_Edit, SequenceIndex); }
    HRESULT Copy(LONG SourceSequenceIndex) override {
        return RunAction(Self(), rows::kIZPV4870ListModeSequence_Copy, SourceSequenceIndex);
    }
    ZPV_QUERY(LONG, GetEditSequence, rows::kIZPV4870ListModeSequence_GetEditSequence)
    HRESULT Delete(LONG SequenceIndex) override {
        return RunAction(Self(), rows::kIZPV4870ListModeSequence_Delete, SequenceIndex);
    }
    ZPV_QUERY(LONG, GetTotalSequence, rows::kIZPV4870ListModeSequence_GetTotalSequence)
    ZPV_PROPERTY(ZPV4870WaveformEnum, Waveform, rows::kIZPV4870ListModeSequence_Waveform)
    ZPV_PROPERTY(LONG, StartAngle, rows::kIZPV4870ListModeSequence_StartAngle)
    ZPV_PROPERTY(double, VoltageAcStart, rows::kIZPV4870ListModeSequence_VoltageAcStart)
    ZPV_PROPERTY(double, VoltageDcStart, rows::kIZPV4870ListModeSequence_VoltageDcStart)
    ZPV_PROPERTY(double, VoltageAcEnd, rows::kIZPV4870ListModeSequence_VoltageAcEnd)
    ZPV_PROPERTY(double, VoltageDcEnd, rows::kIZPV4870ListModeSequence_VoltageDcEnd)
    ZPV_PROPERTY(double, TotalHarmonicDistortion, rows::kIZPV4870ListModeSequence_TotalHarmonicDistortion)
    ZPV_PROPERTY(double, FrequencyEnd, rows::kIZPV4870ListModeSequence_FrequencyEnd)
    ZPV_PROPERTY(double, FrequencyStart, rows::kIZPV4870ListModeSequence_FrequencyStart)
    ZPV_PROPERTY(double, Time, rows::kIZPV4870ListModeSequence_Time)
    ZPV_PROPERTY(ZPV4870TimeUnitEnum, TimeUnit, rows::kIZPV4870ListModeSequence_TimeUnit)
    ZPV_PROPERTY(LONG, Cycle, rows::kIZPV4870ListModeSequence_Cycle)
    ZPV_PROPERTY(double, CurrentHighLimit, rows::kIZPV4870ListModeSequence_CurrentHighLimit)
    ZPV_PROPERTY(double, CurrentLimitDelay, rows::kIZPV4870ListModeSequence_CurrentLimitDelay)
    ZPV_PROPERTY(double, CurrentLowLimit, rows::kIZPV4870ListModeSequence_CurrentLowLimit)
    ZPV_PROPERTY(double, PowerHighLimit, rows::kIZPV4870ListModeSequence_PowerHighLimit)
    ZPV_PROPERTY(double, PowerLowLimit, rows::kIZPV4870ListModeSequence_PowerLowLimit)
    ZPV_PROPERTY(double, PowerFactorLowLimit, rows::kIZPV4870ListModeSequence_PowerFactorLowLimit)
    ZPV_PROPERTY(double, PowerFactorHighLimit, rows::kIZPV4870ListModeSequence_PowerFactorHighLimit)
    ZPV_PROPERTY(double, CurrentPeakHighLimit, rows::kIZPV4870ListModeSequence_CurrentPeakHighLimit)
    ZPV_PROPERTY(double, CurrentPeakLowLimit, rows::kIZPV4870ListModeSequence_CurrentPeakLowLimit)
    ZPV_PROPERTY(double, ReactivePowerHighLimit, rows::kIZPV4870ListModeSequence_ReactivePowerHighLimit)
    ZPV_PROPERTY(double, ReactivePowerLowLimit, rows::kIZPV4870ListModeSequence_ReactivePowerLowLimit)
    ZPV_PROPERTY(double, ApparentPowerHighLimit, rows::kIZPV4870ListModeSequence_ApparentPowerHighLimit)
    ZPV_PROPERTY(double, ApparentPowerLowLimit, rows::kIZPV4870ListModeSequence_ApparentPowerLowLimit)
    ZPV_PROPERTY(double, CrestFactorLowLimit, rows::kIZPV4870ListModeSequence_CrestFactorLowLimit)
    ZPV_PROPERTY(double, CrestFactorHighLimit, rows::kIZPV4870ListModeSequence_CrestFactorHighLimit)
    ZPV_PROPERTY(double, Frequency, rows::kIZPV4870ListModeSequence_Frequency)
    ZPV_PROPERTY(double, VoltageAC, rows::kIZPV4870ListModeSequence_VoltageAc)
};

}  // namespace zpv::commands
