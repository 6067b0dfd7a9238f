// Every C function wrapper as one row: its name (after "ZPV4870_"), the interface of the driver
// object and the member it calls, its scope, and its parameters after the session (and the
// channel name), in the member's order. The rows expand into the exported functions
// (capi/wrapper_functions.cpp) and into the prototypes the public header must carry (checked by
// tests/capi/c_prototypes_test.cpp).
//
// Scope: Session (no channel name), AllPhases (a channel name; every selected phase, in order,
// until one does not succeed), FirstPhase (a channel name without ranges; the first phase only).
// Parameters:
//   (IN, T, Name)                   a ViInt32, ViReal64 or ViBoolean value
//   (OUT, T, Name)                  a pointer to one; "Parameter Name is VI_NULL." when absent
//   (TEXT_IN, Name)                 a NUL-terminated string
//   (TEXT_OUT, Name)                ViInt32 NameBufferSize, ViChar Name[]: the copy-out rule
//   (ARRAY_IN, Name)                ViInt32 NameSize, const ViReal64 Name[]
//   (ARRAY_OUT, Name)               ViInt32 NameArraySize, ViReal64 Name[]
//   (READ_BYTES, Buffer, Count, Returned)   ViByte Buffer[], ViInt32 Count, ViInt32* Returned
//   (WRITE_BYTES, Buffer, Count)            const ViByte Buffer[], ViInt32 Count
#pragma once

#include "ZPV4870.h"
#include "zpv4870.h"
#include "zpv4870_direct_read.h"

#define ZPV_C_WRAPPERS(W) \
    /* IIviDriverOperation */ \
    W(ClearInterchangeWarnings, IIviDriverOperation, ClearInterchangeWarnings, Session) \
    W(GetNextCoercionRecord, IIviDriverOperation, GetNextCoercionRecord, Session, (TEXT_OUT, Record)) \
    W(GetNextInterchangeWarning, IIviDriverOperation, GetNextInterchangeWarning, Session, (TEXT_OUT, Warning)) \
    W(ResetInterchangeCheck, IIviDriverOperation, ResetInterchangeCheck, Session) \
    /* IIviDriverUtility */ \
    W(Disable, IIviDriverUtility, Disable, Session) \
    W(ResetWithDefaults, IIviDriverUtility, ResetWithDefaults, Session) \
    W(reset, IIviDriverUtility, Reset, Session) \
    /* IZPV4870System */ \
    W(viRead, IZPV4870DirectRead, ReadInto, Session, (READ_BYTES, Buffer, Count, ReturnCount)) \
    W(viWrite, IZPV4870System, WriteBytes, Session, (WRITE_BYTES, Buffer, Count), (OUT, ViInt32, ReturnCount)) \
    /* IZPV4870Execution */ \
    W(ClearProtections, IZPV4870Execution, ClearProtections, Session) \
    W(GetOperationMode, IZPV4870Execution, GetOperationMode, Session, (OUT, ViInt32, Val)) \
    W(GetOutputEnable, IZPV4870Execution, GetOutputEnable, Session, (OUT, ViInt32, Val)) \
    W(GetProtections, IZPV4870Execution, GetProtections, Session, (TEXT_OUT, Val)) \
    W(SetOperationMode, IZPV4870Execution, SetOperationMode, Session, (IN, ViInt32, OperationMode)) \
    W(SetOutputEnable, IZPV4870Execution, SetOutputEnable, Session, (IN, ViInt32, Behavior)) \
    /* IZPV4870ListModeFile */ \
    W(Add, IZPV4870ListModeFile, Add, Session, (TEXT_IN, FileName)) \
    W(Copy, IZPV4870ListModeFile, Copy, Session, (TEXT_IN, SourceFile), (TEXT_IN, DestinationFile)) \
    W(Delete, IZPV4870ListModeFile, Delete, Session, (TEXT_IN, FileName)) \
    W(Edit, IZPV4870ListModeFile, Edit, Session, (TEXT_IN, FileName)) \
    W(GetEditFile, IZPV4870ListModeFile, GetEditFile, Session, (TEXT_OUT, Val)) \
    W(GetFileName, IZPV4870ListModeFile, GetFileName, Session, (TEXT_OUT, Val)) \
    W(GetFileTotal, IZPV4870ListModeFile, GetFileTotal, Session, (OUT, ViReal64, Val)) \
    W(GetLoadFile, IZPV4870ListModeFile, GetLoadFile, Session, (TEXT_OUT, Val)) \
    W(Load, IZPV4870ListModeFile, Load, Session, (TEXT_IN, FileName)) \
    /* IZPV4870ListModeSequence */ \
    W(Add2, IZPV4870ListModeSequence, Add, Session) \
    W(Copy2, IZPV4870ListModeSequence, Copy, Session, (IN, ViInt32, SourceSequenceIndex)) \
    W(Delete2, IZPV4870ListModeSequence, Delete, Session, (IN, ViInt32, SequenceIndex)) \
    W(Edit2, IZPV4870ListModeSequence, Edit, Session, (IN, ViInt32, SequenceIndex)) \
    W(GetEditSequence, IZPV4870ListModeSequence, GetEditSequence, Session, (OUT, ViInt32, Val)) \
    W(GetTotalSequence, IZPV4870ListModeSequence, GetTotalSequence, Session, (OUT, ViInt32, Val)) \
    /* IZPV4870ManualModeFile */ \
    W(Add3, IZPV4870ManualModeFile, Add, Session, (TEXT_IN, FileName)) \
    W(Copy3, IZPV4870ManualModeFile, Copy, Session, (TEXT_IN, SourceFile), (TEXT_IN, DestinationFile)) \
    W(Delete3, IZPV4870ManualModeFile, Delete, Session, (TEXT_IN, FileName)) \
    W(Edit3, IZPV4870ManualModeFile, Edit, Session, (TEXT_IN, FileName)) \
    W(GetEditFile2, IZPV4870ManualModeFile, GetEditFile, Session, (TEXT_OUT, Val)) \
    W(GetFileName2, IZPV4870ManualModeFile, GetFileName, Session, (TEXT_OUT, Val)) \
    W(GetFileTotal2, IZPV4870ManualModeFile, GetFileTotal, Session, (OUT, ViReal64, Val)) \
    W(GetLoadFile2, IZPV4870ManualModeFile, GetLoadFile, Session, (TEXT_OUT, Val)) \
    W(Load2, IZPV4870ManualModeFile, Load, Session, (TEXT_IN, FileName)) \
    /* IZPV4870PulseModeFile */ \
    W(Add4, IZPV4870PulseModeFile, Add, Session, (TEXT_IN, FileName)) \
    W(Copy4, IZPV4870PulseModeFile, Copy, Session, (TEXT_IN, SourceFile), (TEXT_IN, DestinationFile)) \
    W(Delete4, IZPV4870PulseModeFile, Delete, Session, (TEXT_IN, FileName)) \
    W(Edit4, IZPV4870PulseModeFile, Edit, Session, (TEXT_IN, FileName)) \
    W(GetEditFile3, IZPV4870PulseModeFile, GetEditFile, Session, (TEXT_OUT, Val)) \
    W(GetFileName3, IZPV4870PulseModeFile, GetFileName, Session, (TEXT_OUT, Val)) \
    W(GetFileTotal3, IZPV4870PulseModeFile, GetFileTotal, Session, (OUT, ViReal64, Val)) \
    W(GetLoadFile3, IZPV4870PulseModeFile, GetLoadFile, Session, (TEXT_OUT, Val)) \
    W(Load3, IZPV4870PulseModeFile, Load, Session, (TEXT_IN, FileName)) \
    /* IZPV4870StepModeFile */ \
    W(Add5, IZPV4870StepModeFile, Add, Session, (TEXT_IN, FileName)) \
    W(Copy5, IZPV4870StepModeFile, Copy, Session, (TEXT_IN, SourceFile), (TEXT_IN, DestinationFile)) \
    W(Delete5, IZPV4870StepModeFile, Delete, Session, (TEXT_IN, FileName)) \
    W(Edit5, IZPV4870StepModeFile, Edit, Session, (TEXT_IN, FileName)) \
    W(GetEditFile4, IZPV4870StepModeFile, GetEditFile, Session, (TEXT_OUT, Val)) \
    W(GetFileName4, IZPV4870StepModeFile, GetFileName, Session, (TEXT_OUT, Val)) \
    W(GetFileTotal4, IZPV4870StepModeFile, GetFileTotal, Session, (OUT, ViReal64, Val)) \
    W(GetLoadFile4, IZPV4870StepModeFile, GetLoadFile, Session, (TEXT_OUT, Val)) \
    W(Load4, IZPV4870StepModeFile, Load, Session, (TEXT_IN, FileName)) \
    /* IZPV4870Measure */ \
    W(All, IZPV4870Measure, All, Session, (TEXT_OUT, Val)) \
    W(ApparentPower, IZPV4870Measure, ApparentPower, Session, (OUT, ViReal64, Val)) \
    W(Count, IZPV4870Measure, Count, Session, (OUT, ViReal64, Val)) \
    W(CrestFactor, IZPV4870Measure, CrestFactor, Session, (OUT, ViReal64, Val)) \
    W(Current, IZPV4870Measure, Current, Session, (OUT, ViReal64, Val)) \
    W(CurrentAC, IZPV4870Measure, CurrentAC, Session, (OUT, ViReal64, Val)) \
    W(CurrentDC, IZPV4870Measure, CurrentDC, Session, (OUT, ViReal64, Val)) \
    W(CurrentPeak, IZPV4870Measure, CurrentPeak, Session, (OUT, ViReal64, Val)) \
    W(DwellTime, IZPV4870Measure, DwellTime, Session, (OUT, ViReal64, Val)) \
    W(Frequency, IZPV4870Measure, Frequency, Session, (OUT, ViReal64, Val)) \
    W(Power, IZPV4870Measure, Power, Session, (OUT, ViReal64, Val)) \
    W(PowerFactor, IZPV4870Measure, PowerFactor, Session, (OUT, ViReal64, Val)) \
    W(ReactivePower, IZPV4870Measure, ReactivePower, Session, (OUT, ViReal64, Val)) \
    W(Sequence, IZPV4870Measure, Sequence, Session, (OUT, ViReal64, Val)) \
    W(State, IZPV4870Measure, State, Session, (TEXT_OUT, Val)) \
    W(Voltage, IZPV4870Measure, Voltage, Session, (OUT, ViReal64, Val)) \
    W(VoltageAC, IZPV4870Measure, VoltageAC, Session, (OUT, ViReal64, Val)) \
    W(VoltageDC, IZPV4870Measure, VoltageDC, Session, (OUT, ViReal64, Val)) \
    /* IZPV4870Result */ \
    W(GetAll, IZPV4870Result, GetAll, Session, (TEXT_OUT, Val)) \
    W(GetApparentPower, IZPV4870Result, GetApparentPower, Session, (OUT, ViReal64, Val)) \
    W(GetCrestFactor, IZPV4870Result, GetCrestFactor, Session, (OUT, ViReal64, Val)) \
    W(GetCurrentAC, IZPV4870Result, GetCurrentAC, Session, (OUT, ViReal64, Val)) \
    W(GetCurrentDC, IZPV4870Result, GetCurrentDC, Session, (OUT, ViReal64, Val)) \
    W(GetCurrentPeak, IZPV4870Result, GetCurrentPeak, Session, (OUT, ViReal64, Val)) \
    W(GetFrequency, IZPV4870Result, GetFrequency, Session, (OUT, ViReal64, Val)) \
    W(GetPower, IZPV4870Result, GetPower, Session, (OUT, ViReal64, Val)) \
    W(GetPowerFactor, IZPV4870Result, GetPowerFactor, Session, (OUT, ViReal64, Val)) \
    W(GetReactivePower, IZPV4870Result, GetReactivePower, Session, (OUT, ViReal64, Val)) \
    W(GetVoltageAC, IZPV4870Result, GetVoltageAC, Session, (OUT, ViReal64, Val)) \
    W(GetVoltageDC, IZPV4870Result, GetVoltageDC, Session, (OUT, ViReal64, Val)) \
    /* IZPV4870OutputPhaseCurrentProtection */ \
    W(Configure, IZPV4870OutputPhaseCurrentProtection, Configure, AllPhases, (IN, ViBoolean, Enabled), (IN, ViReal64, Threshold), (IN, ViReal64, Delay)) \
    W(Reset2, IZPV4870OutputPhaseCurrentProtection, Reset, AllPhases) \
    /* IZPV4870OutputPhaseDCGeneration */ \
    W(Configure2, IZPV4870OutputPhaseDCGeneration, Configure, AllPhases, (IN, ViInt32, Mode), (IN, ViReal64, DCVoltageLevel)) \
    /* IZPV4870OutputPhaseVoltageProtection */ \
    W(Reset3, IZPV4870OutputPhaseVoltageProtection, Reset, AllPhases) \
    /* IIviACPwrOutputPhases */ \
    W(AbortFrequencyRamp, IIviACPwrOutputPhases, AbortFrequencyRamp, Session) \
    W(ConfigureFrequency, IIviACPwrOutputPhases, put_Frequency, Session, (IN, ViReal64, Frequency)) \
    W(ConfigureFrequencyRange, IIviACPwrOutputPhases, put_FrequencyRange, Session, (IN, ViReal64, FrequencyRange)) \
    W(GetOutputPhaseName, IIviACPwrOutputPhases, get_Name, Session, (IN, ViInt32, Index), (TEXT_OUT, Name)) \
    W(InitiateMeasurement, IIviACPwrOutputPhases, InitiateMeasurement, Session, (IN, ViInt32, Group)) \
    W(QueryFrequencyRampBusy, IIviACPwrOutputPhases, get_FrequencyRampBusy, Session, (OUT, ViBoolean, Busy)) \
    W(QueryFrequencyRangeCapabilities, IIviACPwrOutputPhases, QueryFrequencyRangeCapabilities, Session, (IN, ViInt32, Range), (OUT, ViReal64, MinFrequency), (OUT, ViReal64, MaxFrequency)) \
    W(RampFrequency, IIviACPwrOutputPhases, RampFrequency, Session, (IN, ViReal64, Frequency), (IN, ViReal64, Rate)) \
    /* IIviACPwrOutputPhase */ \
    W(AbortCurrentRamp, IIviACPwrOutputPhase, AbortCurrentRamp, AllPhases) \
    W(AbortVoltageRamp, IIviACPwrOutputPhase, AbortVoltageRamp, AllPhases) \
    W(ConfigureCurrentLimit, IIviACPwrOutputPhase, put_CurrentLimit, AllPhases, (IN, ViReal64, CurrentLimit)) \
    W(ConfigureOutputEnabled, IIviACPwrOutputPhase, put_Enabled, AllPhases, (IN, ViBoolean, Enabled)) \
    W(ConfigurePhaseAngle, IIviACPwrOutputPhase, put_PhaseAngle, AllPhases, (IN, ViReal64, PhaseAngle)) \
    W(ConfigureVoltageLevel, IIviACPwrOutputPhase, put_VoltageLevel, AllPhases, (IN, ViReal64, VoltageLevel)) \
    W(ConfigureVoltageRange, IIviACPwrOutputPhase, put_VoltageRange, AllPhases, (IN, ViReal64, VoltageRange)) \
    W(ConfigureWaveform, IIviACPwrOutputPhase, put_Waveform, AllPhases, (TEXT_IN, Waveform)) \
    W(FetchMeasurement, IIviACPwrOutputPhase, FetchMeasurement, FirstPhase, (IN, ViInt32, MeasurementType), (OUT, ViReal64, Measurement)) \
    W(FetchMeasurementArray, IIviACPwrOutputPhase, FetchMeasurementArray, FirstPhase, (IN, ViInt32, MeasurementType), (ARRAY_OUT, Measurement), (OUT, ViInt32, MeasurementActualSize)) \
    W(QueryCurrentRampBusy, IIviACPwrOutputPhase, get_CurrentRampBusy, FirstPhase, (OUT, ViBoolean, Busy)) \
    W(QueryVoltageRampBusy, IIviACPwrOutputPhase, get_VoltageRampBusy, FirstPhase, (OUT, ViBoolean, Busy)) \
    W(QueryVoltageRangeCapabilities, IIviACPwrOutputPhase, QueryVoltageRangeCapabilities, FirstPhase, (IN, ViInt32, Range), (OUT, ViReal64, MaxVoltage), (OUT, ViReal64, MinVoltage)) \
    W(RampCurrent, IIviACPwrOutputPhase, RampCurrent, AllPhases, (IN, ViReal64, Current), (IN, ViReal64, Rate)) \
    W(RampVoltage, IIviACPwrOutputPhase, RampVoltage, AllPhases, (IN, ViReal64, Voltage), (IN, ViReal64, Rate)) \
    /* IIviACPwrCurrentProtection */ \
    W(ConfigureCurrentProtection, IIviACPwrCurrentProtection, Configure, AllPhases, (IN, ViBoolean, Enabled), (IN, ViReal64, Threshold), (IN, ViReal64, Delay)) \
    W(QueryCurrentProtectionTripped, IIviACPwrCurrentProtection, get_Tripped, FirstPhase, (OUT, ViBoolean, Tripped)) \
    W(ResetCurrentProtection, IIviACPwrCurrentProtection, Reset, AllPhases) \
    /* IIviACPwrVoltageProtection */ \
    W(ConfigureVoltageProtection, IIviACPwrVoltageProtection, Configure, AllPhases, (IN, ViReal64, OverLimit), (IN, ViReal64, UnderLimit), (IN, ViBoolean, OverEnabled), (IN, ViBoolean, UnderEnabled)) \
    W(QueryVoltageProtectionTripped, IIviACPwrVoltageProtection, get_Tripped, FirstPhase, (OUT, ViBoolean, Tripped)) \
    W(ResetVoltageProtection, IIviACPwrVoltageProtection, Reset, AllPhases) \
    /* IIviACPwrDCGeneration */ \
    W(ConfigureDC, IIviACPwrDCGeneration, Configure, AllPhases, (IN, ViInt32, Mode), (IN, ViReal64, DCVoltageLevel)) \
    W(ConfigureDCRange, IIviACPwrDCGeneration, ConfigureRange, AllPhases, (IN, ViReal64, Range)) \
    W(QueryDCCapabilities, IIviACPwrDCGeneration, QueryCapabilities, FirstPhase, (IN, ViInt32, Range), (OUT, ViReal64, Maximum), (OUT, ViReal64, Minimum)) \
    /* IIviACPwrImpedance */ \
    W(ConfigureOutputImpedance, IIviACPwrImpedance, Configure, AllPhases, (IN, ViReal64, ResistiveValue), (IN, ViReal64, InductiveValue)) \
    W(QueryOutputImpedanceCapabilities, IIviACPwrImpedance, QueryCapabilities, FirstPhase, (OUT, ViReal64, ResistiveMin), (OUT, ViReal64, ResistiveMax), (OUT, ViReal64, InductiveMax), (OUT, ViReal64, InductiveMin)) \
    /* IIviACPwrExternalSync */ \
    W(ConfigureExternalSync, IIviACPwrExternalSync, Configure, Session, (IN, ViBoolean, Enabled), (IN, ViReal64, PhaseOffset)) \
    W(QueryExternalSyncLocked, IIviACPwrExternalSync, get_Locked, Session, (OUT, ViBoolean, Locked)) \
    /* IIviACPwrArbWaveform */ \
    W(ClearArbWaveform, IIviACPwrArbWaveform, Clear, Session, (TEXT_IN, WaveformName)) \
    W(QueryArbWaveformCatalog, IIviACPwrArbWaveform, QueryCatalog, Session, (IN, ViInt32, CatalogType), (TEXT_OUT, Catalog)) \
    W(WriteArbWaveform, IIviACPwrArbWaveform, Write, Session, (TEXT_IN, WaveformName), (ARRAY_IN, Waveform))
