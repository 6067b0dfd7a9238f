// System settings (limits, front panel, interface) and execution control of the instrument.
#pragma once

#include "ZPV4870.h"
#include "core/range_check.h"
#include "members/direct_io.h"
#include "members/member_declarations.h"

namespace zpv::members {

inline bool IsAlarmSetting(const LONG& value) { return driver::InRange(static_cast<long>(value), 0L, 9L); }

}  // namespace zpv::members

#define ZPV_LIST_IZPV4870System(X, I) \
    X(DIRECT, I, ReadBytes, ReadBytes, (OUT, SAFEARRAY*, val)) \
    X(DIRECT, I, ReadString, ReadString, (OUT, BSTR, val)) \
    X(DIRECT, I, WriteBytes, WriteBytes, (IN, SAFEARRAY*, Data), (OUT, LONG, val)) \
    X(DIRECT, I, WriteString, WriteString, (IN, BSTR, Data)) \
    X(DIRECT, I, get_IOTimeout, GetTimeout, (OUT, LONG, val)) \
    X(DIRECT, I, put_IOTimeout, SetTimeout, (IN, LONG, val)) \
    X(DIRECT, I, get_DirectIO, DirectIoObject, (OUT, IUnknown*, val)) \
    X(CHECKED_PROPERTY, I, LONG, Alarm, "SYST:ALAR?", "%d", "SYST:ALAR %d", true, 5, kAllModels, &IsAlarmSetting) \
    X(PROPERTY, I, ZPV4870AnalogEnum, Analog, "SYST:ANAL?", "%{ZPV4870AnalogEnum}s", "SYST:ANAL %{ZPV4870AnalogEnum}s", true, ZPV4870AnalogOFF, kAllModels) \
    X(PROPERTY, I, double, FrequencyHighLimit, "SYST:FREQ:HIGH?", "%lg", "SYST:FREQ:HIGH %0.15lg", true, 0.0, kAllModels) \
    X(PROPERTY, I, double, FrequencyLowLimit, "SYST:FREQ:LOW?", "%lg", "SYST:FREQ:LOW %0.15lg", true, 0.0, kAllModels) \
    X(PROPERTY, I, VARIANT_BOOL, Lock, "SYST:LOCK?", "%{VARIANT_BOOL}s", "SYST:LOCK %{VARIANT_BOOL}s", true, VARIANT_TRUE, kAllModels) \
    X(PROPERTY, I, ZPV4870MeterEnum, MeterDisplay, "MET?", "%{ZPV4870MeterEnum}s", "MET %{ZPV4870MeterEnum}s", false, ZPV4870MeterFrequency, kAllModels) \
    X(PROPERTY, I, VARIANT_BOOL, OCFold, "SYST:OCF?", "%{VARIANT_BOOL}s", "SYST:OCF %{VARIANT_BOOL}s", false, VARIANT_FALSE, kAllModels) \
    X(PROPERTY, I, ZPV4870PowerUpEnum, PowreUp, "SYST:POWUP?", "%{ZPV4870PowerUpEnum}s", "SYST:POWUP %{ZPV4870PowerUpEnum}s", false, ZPV4870PowerUpOFF, kAllModels) \
    X(PROPERTY, I, ZPV4870RemoteEnum, Remote, "SYST:PLC?", "%{ZPV4870RemoteEnum}s", "SYST:PLC %{ZPV4870RemoteEnum}s", false, ZPV4870RemoteOFF, kAllModels) \
    X(PROPERTY, I, ZPV4870SychronousSignalEnum, SychronousSignal, "SYST:SYNC?", "%{ZPV4870SychronousSignalEnum}s", "SYST:SYNC %{ZPV4870SychronousSignalEnum}s", false, ZPV4870SychronousSignalOff, kAllModels) \
    X(PROPERTY, I, double, VoltageAcHighLimit, "SYST:VOLT:AC:HIGH?", "%lg", "SYST:VOLT:AC:HIGH %0.15lg", true, 0.0, kAllModels) \
    X(PROPERTY, I, double, VoltageAcLowLimit, "SYST:VOLT:AC:LOW?", "%lg", "SYST:VOLT:AC:LOW %0.15lg", true, 0.0, kAllModels) \
    X(PROPERTY, I, double, VoltageDcHighLimit, "SYST:VOLT:DC:HIGH?", "%lg", "SYST:VOLT:DC:HIGH %0.15lg", true, 0.0, kAllModels) \
    X(PROPERTY, I, double, VoltageDcLowLimit, "SYST:VOLT:DC:LOW?", "%lg", "SYST:VOLT:DC:LOW %0.15lg", true, 0.0, kAllModels) \
    X(PROPERTY, I, ZPV4870VoltageSenseEnum, VoltageSense, "SYST:SENS?", "%{ZPV4870VoltageSenseEnum}s", "SYST:SENS %{ZPV4870VoltageSenseEnum}s", false, ZPV4870VoltageSenseINTERNAL, kAllModels)

#define ZPV_LIST_IZPV4870Execution(X, I) \
    X(ACTION, I, ClearProtections, "OUTP:PROT:CLE", kAllModels) \
    X(QUERY, I, ZPV4870OutputEnum, GetOutputEnable, "OUTP?", "%{ZPV4870OutputEnum}s", kAllModels) \
    X(QUERY, I, BSTR, GetProtections, "OUTP:PROT:STAT?", "%$Bs", kAllModels) \
    X(ACTION, I, SetOperationMode, "OUTP:MODE %{ZPV4870OperationModeEnum}s", kAllModels, (IN, ZPV4870OperationModeEnum, OperationMode)) \
    X(ACTION, I, SetOutputEnable, "OUTP %{ZPV4870OutputEnum}s", kAllModels, (IN, ZPV4870OutputEnum, Behavior)) \
    X(QUERY, I, ZPV4870OperationModeEnum, GetOperationMode, "OUTP:MODE?", "%{ZPV4870OperationModeEnum}s", kAllModels) \
    X(GROUP, I, IZPV4870ExecutionConfigurations, Configurations, kAllModels)

#define ZPV_LIST_IZPV4870ExecutionConfigurations(X, I) \
    X(PROPERTY, I, double, Frequency, "OUTP:FREQ?", "%lg", "OUTP:FREQ %0.15lg", true, 60.0, kAllModels) \
    X(PROPERTY, I, double, DCVoltage, "OUTP:VOLT:DC?", "%lg", "OUTP:VOLT:DC %0.15lg", true, 100.0, kAllModels) \
    X(PROPERTY, I, double, CurrentHighLimit, "OUTP:CURR:HIGH?", "%lg", "OUTP:CURR:HIGH %0.15lg", true, 5.0, kAllModels) \
    X(PROPERTY, I, double, ACVoltage, "OUTP:VOLT:AC?", "%lg", "OUTP:VOLT:AC %0.15lg", true, 100.0, kAllModels)
