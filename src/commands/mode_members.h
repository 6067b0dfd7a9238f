// Manual, step and pulse modes, and the setting files of every mode.
#pragma once

#include "ZPV4870.h"
#include "commands/member_macros.h"

// The rows of one mode's file interface: Prefix is the mode's command prefix, Separator what goes
// between the two quoted names of Copy.
#define ZPV_FILE_ROWS(Interface, Prefix, Separator, Family)                                                   \
    ZPV_ACTION_ROW(Interface, Copy, Prefix "FILE:COPY %$BQs" Separator "%$BQs", Family)                        \
    ZPV_ACTION_ROW(Interface, Add, Prefix "FILE:ADD %$BQs", Family)                                            \
    ZPV_ACTION_ROW(Interface, Edit, Prefix "FILE:EDIT %$BQs", Family)                                          \
    ZPV_ACTION_ROW(Interface, Load, Prefix "FILE:LOAD %$BQs", Family)                                          \
    ZPV_QUERY_ROW(Interface, GetEditFile, Prefix "FILE:EDIT?", "%$Bs", Family)                                 \
    ZPV_QUERY_ROW(Interface, GetLoadFile, Prefix "FILE:LOAD?", "%$Bs", Family)                                 \
    ZPV_ACTION_ROW(Interface, Delete, Prefix "FILE:DEL %$BQs", Family)                                         \
    ZPV_QUERY_ROW(Interface, GetFileName, Prefix "FILE:NAME?", "%$Bt", Family)                                 \
    ZPV_QUERY_ROW(Interface, GetFileTotal, Prefix "FILE:TOT?", "%lg", Family)                                  \
    ZPV_INSTRUMENT_PROPERTY(Interface, SetFileIndex, double, Prefix "FILE:IND?", "%lg", Prefix "FILE:IND %0.15lg", \
                            true, 0.0, Family)

namespace zpv::commands {

namespace rows {

ZPV_FILE_ROWS(IZPV4870ManualModeFile, "MAN:", ",", kAllModels)
ZPV_FILE_ROWS(IZPV4870StepModeFile, "STEP:", ", ", kNotStandard)
ZPV_FILE_ROWS(IZPV4870PulseModeFile, "PULS:", ", ", kNotStandard)
ZPV_FILE_ROWS(IZPV4870ListModeFile, "LIST:", ", ", kAllModels)

ZPV_INSTRUMENT_PROPERTY(IZPV4870ManualMode, Couple, ZPV4870CoupleEnum, "MAN:COUP?", "%{ZPV4870CoupleEnum}s", "MAN:COUP %{ZPV4870CoupleEnum}s", false, ZPV4870CoupleAC, kAllModels)
ZPV_INSTRUMENT_PROPERTY(IZPV4870ManualMode, CurrentHighLimit, double, "MAN:CURR:HIGH?", "%lg", "MAN:CURR:HIGH %0.15lg", true, 0.0, kAllModels)
ZPV_INSTRUMENT_PROPERTY(IZPV4870ManualMode, CurrentLimitDelay, double, "MAN:CURR:DEL?", "%lg", "MAN:CURR:DEL %0.15lg", true, 0.0, kAllModels)
ZPV_INSTRUMENT_PROPERTY(IZPV4870ManualMode, CurrentLowLimit, double, "MAN:CURR:LOW?", "%lg", "MAN:CURR:LOW %0.15lg", true, 0.0, kNotStandard)
ZPV_GROUP_ROW(IZPV4870ManualMode, File, kAllModels)
ZPV_INSTRUMENT_PROPERTY(IZPV4870ManualMode, Frequency, double, "MAN:FREQ?", "%lg", "MAN:FREQ %0.15lg", true, 0.0, kAllModels)
ZPV_INSTRUMENT_PROPERTY(IZPV4870ManualMode, PowerHighLimit, double, "MAN:POW:HIGH?", "%lg", "MAN:POW:HIGH %0.15lg", true, 0.0, kAllModels)
ZPV_INSTRUMENT_PROPERTY(IZPV4870ManualMode, PowerLowLimit, double, "MAN:POW:LOW?", "%lg", "MAN:POW:LOW %0.15lg", true, 0.0, kNotStandard)
ZPV_INSTRUMENT_PROPERTY(IZPV4870ManualMode, RampUp, double, "MAN:RAMP:UP?", "%lg", "MAN:RAMP:UP %0.15lg", true, 0.0, kAllModels)
ZPV_INSTRUMENT_PROPERTY(IZPV4870ManualMode, Range, ZPV4870RangeEnum, "MAN:RANG?", "%{ZPV4870RangeEnum}s", "MAN:RANG %{ZPV4870RangeEnum}s", false, ZPV4870RangeAuto, kAllModels)
ZPV_INSTRUMENT_PROPERTY(IZPV4870ManualMode, StartAngle, double, "MAN:ANGL?", "%lg", "MAN:ANGL %0.15lg", true, 0.0, kAllModels)
ZPV_INSTRUMENT_PROPERTY(IZPV4870ManualMode, TotalHarmonicDistortion, double, "MAN:THD?", "%lg", "MAN:THD %0.15lg", true, 0.0, kNotStandard)
ZPV_INSTRUMENT_PROPERTY(IZPV4870ManualMode, VoltageAC, double, "MAN:VOLT:AC?", "%lg", "MAN:VOLT:AC %0.15lg", true, 0.0, kAllModels)
ZPV_INSTRUMENT_PROPERTY(IZPV4870ManualMode, VoltageDC, double, "MAN:VOLT:DC?", "%lg", "MAN:VOLT:DC %0.15lg", true, 0.0, kAllModels)
ZPV_INSTRUMENT_PROPERTY(IZPV4870ManualMode, Waveform, ZPV4870WaveformEnum, "MAN:WAVE?", "%{ZPV4870WaveformEnum}s", "MAN:WAVE %{ZPV4870WaveformEnum}s", false, ZPV4870WaveformSINE, kNotStandard)

ZPV_GROUP_ROW(IZPV4870StepMode, File, kAllModels)
ZPV_INSTRUMENT_PROPERTY(IZPV4870StepMode, Trigger, ZPV4870TriggerEnum, "STEP:TRIG?", "%{ZPV4870TriggerEnum}s", "STEP:TRIG %{ZPV4870TriggerEnum}s", false, ZPV4870TriggerAUTO, kNotStandard)
ZPV_INSTRUMENT_PROPERTY(IZPV4870StepMode, Count, LONG, "STEP:COUN?", "%d", "STEP:COUN %d", true, 0, kNotStandard)
ZPV_INSTRUMENT_PROPERTY(IZPV4870StepMode, Base, ZPV4870BaseEnum, "STEP:BASE?", "%{ZPV4870BaseEnum}s", "STEP:BASE %{ZPV4870BaseEnum}s", true, ZPV4870BaseTime, kNotStandard)
ZPV_INSTRUMENT_PROPERTY(IZPV4870StepMode, Range, ZPV4870RangeEnum, "STEP:RANG?", "%{ZPV4870RangeEnum}s", "STEP:RANG %{ZPV4870RangeEnum}s", false, ZPV4870RangeAuto, kNotStandard)
ZPV_INSTRUMENT_PROPERTY(IZPV4870StepMode, Waveform, ZPV4870WaveformEnum, "STEP:WAVE?", "%{ZPV4870WaveformEnum}s", "STEP:WAVE %{ZPV4870WaveformEnum}s", false, ZPV4870WaveformSINE, kNotStandard)
ZPV_INSTRUMENT_PROPERTY(IZPV4870StepMode, TotalHarmonicDistortion, double, "STEP:THD?", "%lg", "STEP:THD %0.15lg", true, 0.0, kNotStandard)
ZPV_INSTRUMENT_PROPERTY(IZPV4870StepMode, StartAngle, double, "STEP:ANGL?", "%lg", "STEP:ANGL %0.15lg", true, 0.0, kNotStandard)
ZPV_INSTRUMENT_PROPERTY(IZPV4870StepMode, VoltageAC, double, "STEP:VOLT:AC?", "%lg", "STEP:VOLT:AC %0.15lg", true, 0.0, kNotStandard)
ZPV_INSTRUMENT_PROPERTY(IZPV4870StepMode, VoltageDC, double, "STEP:VOLT:DC?", "%lg", "STEP:VOLT:DC %0.15lg", true, 0.0, kNotStandard)
ZPV_INSTRUMENT_PROPERTY(IZPV4870StepMode, Frequency, double, "STEP:FREQ?", "%lg", "STEP:FREQ %0.15lg", true, 0.0, kNotStandard)
ZPV_INSTRUMENT_PROPERTY(IZPV4870StepMode, Time, double, "STEP:TIME?", "%lg", "STEP:TIME %0.15lg", true, 0.0, kNotStandard)
ZPV_INSTRUMENT_PROPERTY(IZPV4870StepMode, TimeUnit, ZPV4870TimeUnitEnum, "STEP:TIME:UNIT?", "%{ZPV4870TimeUnitEnum}s", "STEP:TIME:UNIT %{ZPV4870TimeUnitEnum}s", false, ZPV4870TimeUnitMillisecond, kNotStandard)
ZPV_INSTRUMENT_PROPERTY(IZPV4870StepMode, Cycle, LONG, "STEP:CYCL?", "%d", "STEP:CYCL %d", true, 0, kNotStandard)
ZPV_INSTRUMENT_PROPERTY(IZPV4870StepMode, DeltaVoltageAC, double, "STEP:DELT:VOLT:AC?", "%lg", "STEP:DELT:VOLT:AC %0.15lg", true, 0.0, kNotStandard)
ZPV_INSTRUMENT_PROPERTY(IZPV4870StepMode, DeltaVoltageDC, double, "STEP:DELT:VOLT:DC?", "%lg", "STEP:DELT:VOLT:DC %0.15lg", true, 0.0, kNotStandard)
ZPV_INSTRUMENT_PROPERTY(IZPV4870StepMode, DeltaFrequency, double, "STEP:DELT:FREQ?", "%lg", "STEP:DELT:FREQ %0.15lg", true, 0.0, kNotStandard)

ZPV_GROUP_ROW(IZPV4870PulseMode, File, kNotStandard)
ZPV_INSTRUMENT_PROPERTY(IZPV4870PulseMode, Count, LONG, "PULS:COUN?", "%d", "PULS:COUN %d", true, 0, kNotStandard)
ZPV_INSTRUMENT_PROPERTY(IZPV4870PulseMode, Trigger, ZPV4870TriggerEnum, "PULS:TRIG?", "%{ZPV4870TriggerEnum}s", "PULS:TRIG %{ZPV4870TriggerEnum}s", false, ZPV4870TriggerAUTO, kNotStandard)
ZPV_INSTRUMENT_PROPERTY(IZPV4870PulseMode, Range, ZPV4870RangeEnum, "PULS:RANG?", "%{ZPV4870RangeEnum}s", "PULS:RANG %{ZPV4870RangeEnum}s", false, ZPV4870RangeAuto, kNotStandard)
ZPV_INSTRUMENT_PROPERTY(IZPV4870PulseMode, StartAngle, double, "PULS:ANGL?", "%lg", "PULS:ANGL %0.15lg", true, 0.0, kNotStandard)
ZPV_INSTRUMENT_PROPERTY(IZPV4870PulseMode, VoltageAC, double, "PULS:VOLT:AC?", "%lg", "PULS:VOLT:AC %0.15lg", true, 0.0, kNotStandard)
ZPV_INSTRUMENT_PROPERTY(IZPV4870PulseMode, VoltageDC, double, "PULS:VOLT:DC?", "%lg", "PULS:VOLT:DC %0.15lg", true, 0.0, kNotStandard)
ZPV_INSTRUMENT_PROPERTY(IZPV4870PulseMode, Frequency, double, "PULS:FREQ?", "%lg", "PULS:FREQ %0.15lg", true, 0.0, kNotStandard)
ZPV_INSTRUMENT_PROPERTY(IZPV4870PulseMode, TransientVoltageAC, double, "PULS:TRAN:AC?", "%lg", "PULS:TRAN:AC %0.15lg", true, 0.0, kNotStandard)
ZPV_INSTRUMENT_PROPERTY(IZPV4870PulseMode, TransientVoltageDC, double, "PULS:TRAN:DC?", "%lg", "PULS:TRAN:DC %0.15lg", true, 0.0, kNotStandard)
ZPV_INSTRUMENT_PROPERTY(IZPV4870PulseMode, Duty, LONG, "PULS:DUTY?", "%d", "PULS:DUTY %d", true, 0, kNotStandard)
ZPV_INSTRUMENT_PROPERTY(IZPV4870PulseMode, Period, double, "PULS:PER?", "%lg", "PULS:PER %0.15lg", true, 0.0, kNotStandard)

}  // namespace rows

// The one shape of the four file interfaces.
template <class Owner, class Interface, const MethodRow& CopyRow, const MethodRow& AddRow, const MethodRow& EditRow,
          const MethodRow& LoadRow, const MethodRow& EditFileRow, const MethodRow& LoadFileRow,
          const MethodRow& DeleteRow, const MethodRow& NameRow, const MethodRow& TotalRow,
          const PropertyRow<double>& IndexRow>
class FileMembers : public Interface {
    ZPV_MEMBERS_OF(Owner)
    HRESULT Copy(BSTR SourceFile, BSTR DestinationFile) override {
        return RunAction(Self(), CopyRow, SourceFile, DestinationFile);
    }
    HRESULT Add(BSTR FileName) override { return RunAction(Self(), AddRow, FileName); }
    HRESULT Edit(BSTR FileName) override { return RunAction(Self(), EditRow, FileName); }
    HRESULT Load(BSTR FileName) override { return RunAction(Self(), LoadRow, FileName); }
    ZPV_QUERY(BSTR, GetEditFile, EditFileRow)
    ZPV_QUERY(BSTR, GetLoadFile, LoadFileRow)
    HRESULT Delete(BSTR FileName) override { return RunAction(Self(), DeleteRow, FileName); }
    ZPV_QUERY(BSTR, GetFileName, NameRow)
    ZPV_QUERY(double, GetFileTotal, TotalRow)
    ZPV_PROPERTY(double, SetFileIndex, IndexRow)
};

#define ZPV_FILE_ROW(Interface, Member) ::zpv::commands::rows::k##Interface##_##Member
#define ZPV_FILE_MEMBERS(Owner, Interface)                                                                      \
    ::zpv::commands::FileMembers<Owner, Interface, ZPV_FILE_ROW(Interface, Copy), ZPV_FILE_ROW(Interface, Add),    \
        ZPV_FILE_ROW(Interface, Edit), ZPV_FILE_ROW(Interface, Load), ZPV_FILE_ROW(Interface, GetEditFile),         \
        ZPV_FILE_ROW(Interface, GetLoadFile), ZPV_FILE_ROW(Interface, Delete), ZPV_FILE_ROW(Interface, GetFileName), \
        ZPV_FILE_ROW(Interface, GetFileTotal), ZPV_FILE_ROW(Interface, SetFileIndex)>

template <class Owner>
class Zpv4870ManualModeMembers : public IZPV4870ManualMode {
    ZPV_MEMBERS_OF(Owner)
    ZPV_PROPERTY(ZPV4870CoupleEnum, Couple, rows::kIZPV4870ManualMode_Couple)
    ZPV_PROPERTY(double, CurrentHighLimit, rows::kIZPV4870ManualMode_CurrentHighLimit)
    ZPV_PROPERTY(double, CurrentLimitDelay, rows::kIZPV4870ManualMode_CurrentLimitDelay)
    ZPV_PROPERTY(double, CurrentLowLimit, rows::kIZPV4870ManualMode_CurrentLowLimit)
    ZPV_GROUP(IZPV4870ManualModeFile, File, rows::kIZPV4870ManualMode_get_File)
    ZPV_PROPERTY(double, Frequency, rows::kIZPV4870ManualMode_Frequency)
    ZPV_PROPERTY(double, PowerHighLimit, rows::kIZPV4870ManualMode_PowerHighLimit)
    ZPV_PROPERTY(double, PowerLowLimit, rows::kIZPV4870ManualMode_PowerLowLimit)
    ZPV_PROPERTY(double, RampUp, rows::kIZPV4870ManualMode_RampUp)
    ZPV_PROPERTY(ZPV4870RangeEnum, Range, rows::kIZPV4870ManualMode_Range)
    ZPV_PROPERTY(double, StartAngle, rows::kIZPV4870ManualMode_StartAngle)
    ZPV_PROPERTY(double, TotalHarmonicDistortion, rows::kIZPV4870ManualMode_TotalHarmonicDistortion)
    ZPV_PROPERTY(double, VoltageAC, rows::kIZPV4870ManualMode_VoltageAC)
    ZPV_PROPERTY(double, VoltageDC, rows::kIZPV4870ManualMode_VoltageDC)
    ZPV_PROPERTY(ZPV4870WaveformEnum, Waveform, rows::kIZPV4870ManualMode_Waveform)
};

template <class Owner>
class Zpv4870StepModeMembers : public IZPV4870StepMode {
    ZPV_MEMBERS_OF(Owner)
    ZPV_GROUP(IZPV4870StepModeFile, File, rows::kIZPV4870StepMode_get_File)
    ZPV_PROPERTY(ZPV4870TriggerEnum, Trigger, rows::kIZPV4870StepMode_Trigger)
    ZPV_PROPERTY(LONG, Count, rows::kIZPV4870StepMode_Count)
    ZPV_PROPERTY(ZPV4870BaseEnum, Base, rows::kIZPV4870StepMode_Base)
    ZPV_PROPERTY(ZPV4870RangeEnum, Range, rows::kIZPV4870StepMode_Range)
    ZPV_PROPERTY(ZPV4870WaveformEnum, Waveform, rows::kIZPV4870StepMode_Waveform)
    ZPV_PROPERTY(double, TotalHarmonicDistortion, rows::kIZPV4870StepMode_TotalHarmonicDistortion)
    ZPV_PROPERTY(double, StartAngle, rows::kIZPV4870StepMode_StartAngle)
    ZPV_PROPERTY(double, VoltageAC, rows::kIZPV4870StepMode_VoltageAC)
    ZPV_PROPERTY(double, VoltageDC, rows::kIZPV4870StepMode_VoltageDC)
    ZPV_PROPERTY(double, Frequency, rows::kIZPV4870StepMode_Frequency)
    ZPV_PROPERTY(double, Time, rows::kIZPV4870StepMode_Time)
    ZPV_PROPERTY(ZPV4870TimeUnitEnum, TimeUnit, rows::kIZPV4870StepMode_TimeUnit)
    ZPV_PROPERTY(LONG, Cycle, rows::kIZPV4870StepMode_Cycle)
    ZPV_PROPERTY(double, DeltaVoltageAC, rows::kIZPV4870StepMode_DeltaVoltageAC)
    ZPV_PROPERTY(double, DeltaVoltageDC, rows::kIZPV4870StepMode_DeltaVoltageDC)
    ZPV_PROPERTY(double, DeltaFrequency, rows::kIZPV4870StepMode_DeltaFrequency)
};

template <class Owner>
class Zpv4870PulseModeMembers : public IZPV4870PulseMode {
    ZPV_MEMBERS_OF(Owner)
    ZPV_GROUP(IZPV4870PulseModeFile, File, rows::kIZPV4870PulseMode_get_File)
    ZPV_PROPERTY(LONG, Count, rows::kIZPV4870PulseMode_Count)
    ZPV_PROPERTY(ZPV4870TriggerEnum, Trigger, rows::kIZPV4870PulseMode_Trigger)
    ZPV_PROPERTY(ZPV4870RangeEnum, Range, rows::kIZPV4870PulseMode_Range)
    ZPV_PROPERTY(double, StartAngle, rows::kIZPV4870PulseMode_StartAngle)
    ZPV_PROPERTY(double, VoltageAC, rows::kIZPV4870PulseMode_VoltageAC)
    ZPV_PROPERTY(double, VoltageDC, rows::kIZPV4870PulseMode_VoltageDC)
    ZPV_PROPERTY(double, Frequency, rows::kIZPV4870PulseMode_Frequency)
    ZPV_PROPERTY(double, TransientVoltageAC, rows::kIZPV4870PulseMode_TransientVoltageAC)
    ZPV_PROPERTY(double, TransientVoltageDC, rows::kIZPV4870PulseMode_TransientVoltageDC)
    ZPV_PROPERTY(LONG, Duty, rows::kIZPV4870PulseMode_Duty)
    ZPV_PROPERTY(double, Period, rows::kIZPV4870PulseMode_Period)
};

}  // namespace zpv::commands
