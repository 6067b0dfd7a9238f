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
    X(DIRECT, I, WriteBytes, WriteBytes, (REQUIRED, SAFEARRAY*, Data), (OUT, LONG, val)) \
    X(DIRECT, I, WriteString, WriteString, (IN, BSTR, Data)) \
    X(DIRECT, I, get_IOTimeout, GetTimeout, (OUT, LONG, val)) \
    X(DIRECT, I, put_IOTimeout, SetTimeout, (IN, LONG, val)) \
    X(DIRECT, I, get_DirectIO, DirectIoObject, (OUT, IUnknown*, val)) \
    X(CHECKED_PROPERTY, I, LONG, Alarm, "SYST:ALAR?", "%d", "SYST:ALAR %d", true, 5, kAllModels, &IsAlarmSetting) \
    X(ENUM_SETTING, I, ZPV4870AnalogEnum, Analog, "SYST:ANAL", true, ZPV4870AnalogOFF, kAllModels) \
    X(SETTING, I, double, FrequencyHighLimit, "SYST:FREQ:HIGH", true, 0.0, kAllModels) \
    X(SETTING, I, double, FrequencyLowLimit, "SYST:FREQ:LOW", true, 0.0, kAllModels) \
    X(ENUM_SETTING, I, VARIANT_BOOL, Lock, "SYST:LOCK", true, VARIANT_TRUE, kAllModels) \
    X(ENUM_SETTING, I, ZPV4870MeterEnum, MeterDisplay, "MET", false, ZPV4870MeterFrequency, kAllModels) \
    X(ENUM_SETTING, I, VARIANT_BOOL, OCFold, "SYST:OCF", false, VARIANT_FALSE, kAllModels) \
    X(ENUM_SETTING, I, ZPV4870PowerUpEnum, PowreUp, "SYST:POWUP", false, ZPV4870PowerUpOFF, kAllModels) \
    X(ENUM_SETTING, I, ZPV4870RemoteEnum, Remote, "SYST:PLC", false, ZPV4870RemoteOFF, kAllModels) \
    X(ENUM_SETTING, I, ZPV4870SychronousSignalEnum, SychronousSignal, "SYST:SYNC", false, ZPV4870SychronousSignalOff, kAllModels) \
    X(SETTING, I, double, VoltageAcHighLimit, "SYST:VOLT:AC:HIGH", true, 0.0, kAllModels) \
    X(SETTING, I, double, VoltageAcLowLimit, "SYST:VOLT:AC:LOW", true, 0.0, kAllModels) \
    X(SETTING, I, double, VoltageDcHighLimit, "SYST:VOLT:DC:HIGH", true, 0.0, kAllModels) \
    X(SETTING, I, double, VoltageDcLowLimit, "SYST:VOLT:DC:LOW", true, 0.0, kAllModels) \
    X(ENUM_SETTING, I, ZPV4870VoltageSenseEnum, VoltageSense, "SYST:SENS", false, ZPV4870VoltageSenseINTERNAL, kAllModels)

#define ZPV_LIST_IZPV4870Execution(X, I) \
    X(ACTION, I, ClearProtections, "OUTP:PROT:CLE", kAllModels) \
    X(QUERY, I, ZPV4870OutputEnum, GetOutputEnable, "OUTP?", "%{ZPV4870OutputEnum}s", kAllModels) \
    X(QUERY, I, BSTR, GetProtections, "OUTP:PROT:STAT?", "%$Bs", kAllModels) \
    X(ACTION, I, SetOperationMode, "OUTP:MODE %{ZPV4870OperationModeEnum}s", kAllModels, (IN, ZPV4870OperationModeEnum, OperationMode)) \
    X(ACTION, I, SetOutputEnable, "OUTP %{ZPV4870OutputEnum}s", kAllModels, (IN, ZPV4870OutputEnum, Behavior)) \
    X(QUERY, I, ZPV4870OperationModeEnum, GetOperationMode, "OUTP:MODE?", "%{ZPV4870OperationModeEnum}s", kAllModels) \
    X(GROUP, I, IZPV4870ExecutionConfigurations, Configurations, kAllModels)

#define ZPV_LIST_IZPV4870ExecutionConfigurations(X, I) \
    X(SETTING, I, double, Frequency, "OUTP:FREQ", true, 60.0, kAllModels) \
    X(SETTING, I, double, DCVoltage, "OUTP:VOLT:DC", true, 100.0, kAllModels) \
    X(SETTING, I, double, CurrentHighLimit, "OUTP:CURR:HIGH", true, 5.0, kAllModels) \
    X(SETTING, I, double, ACVoltage, "OUTP:VOLT:AC", true, 100.0, kAllModels)
