// System settings (limits, front panel, interface) and execution control of the instrument.
#pragma once

#include "ZPV4870.h"
#include "members/direct_io.h"
#include "members/member_declarations.h"

#define ZPV_LIST_IZPV4870System(X, I) \
    X(DIRECT, I, ReadBytes, ReadBytes, (OUT, SAFEARRAY*, val)) \
    X(DIRECT, I, ReadString, ReadString, (OUT, BSTR, val)) \
    X(DIRECT, I, WriteBytes, WriteBytes, (REQUIRED, SAFEARRAY*, Data), (OUT, LONG, val)) \
    X(DIRECT, I, WriteString, WriteString, (IN, BSTR, Data)) \
    X(DIRECT, I, get_IOTimeout, GetTimeout, (OUT, LONG, val)) \
    X(DIRECT, I, put_IOTimeout, SetTimeout, (IN, LONG, val)) \
    X(DIRECT, I, get_DirectIO, DirectIoObject, (OUT, IUnknown*, val)) \
    X(PROPERTY, I, LONG, Alarm, "SYST:ALAR?", "%d", "SYST:ALAR %d", .stored = true, .initial = 5, .range = {0, 9}) \
    X(ENUM_SETTING, I, ZPV4870AnalogEnum, Analog, "SYST:ANAL", .stored = true, .initial = ZPV4870AnalogOFF) \
    X(SETTING, I, double, FrequencyHighLimit, "SYST:FREQ:HIGH", .stored = true, .unit = "Hz") \
    X(SETTING, I, double, FrequencyLowLimit, "SYST:FREQ:LOW", .stored = true, .unit = "Hz") \
    X(ENUM_SETTING, I, VARIANT_BOOL, Lock, "SYST:LOCK", .stored = true, .initial = VARIANT_TRUE) \
    X(ENUM_SETTING, I, ZPV4870MeterEnum, MeterDisplay, "MET") \
    X(ENUM_SETTING, I, VARIANT_BOOL, OCFold, "SYST:OCF") \
    X(ENUM_SETTING, I, ZPV4870PowerUpEnum, PowreUp, "SYST:POWUP") \
    X(ENUM_SETTING, I, ZPV4870RemoteEnum, Remote, "SYST:PLC") \
    X(ENUM_SETTING, I, ZPV4870SychronousSignalEnum, SychronousSignal, "SYST:SYNC") \
    X(SETTING, I, double, VoltageAcHighLimit, "SYST:VOLT:AC:HIGH", .stored = true, .unit = "V") \
    X(SETTING, I, double, VoltageAcLowLimit, "SYST:VOLT:AC:LOW", .stored = true, .unit = "V") \
    X(SETTING, I, double, VoltageDcHighLimit, "SYST:VOLT:DC:HIGH", .stored = true, .unit = "V") \
    X(SETTING, I, double, VoltageDcLowLimit, "SYST:VOLT:DC:LOW", .stored = true, .unit = "V") \
    X(ENUM_SETTING, I, ZPV4870VoltageSenseEnum, VoltageSense, "SYST:SENS")

#define ZPV_LIST_IZPV4870Execution(X, I) \
    X(ACTION, I, ClearProtections, "OUTP:PROT:CLE", kAllModels) \
    X(QUERY, I, ZPV4870OutputEnum, GetOutputEnable, "OUTP?", "%{ZPV4870OutputEnum}s") \
    X(QUERY, I, BSTR, GetProtections, "OUTP:PROT:STAT?", "%$Bs") \
    X(ACTION, I, SetOperationMode, "OUTP:MODE %{ZPV4870OperationModeEnum}s", kAllModels, (IN, ZPV4870OperationModeEnum, OperationMode)) \
    X(ACTION, I, SetOutputEnable, "OUTP %{ZPV4870OutputEnum}s", kAllModels, (IN, ZPV4870OutputEnum, Behavior)) \
    X(QUERY, I, ZPV4870OperationModeEnum, GetOperationMode, "OUTP:MODE?", "%{ZPV4870OperationModeEnum}s") \
    X(GROUP, I, IZPV4870ExecutionConfigurations, Configurations, kAllModels)

#define ZPV_LIST_IZPV4870ExecutionConfigurations(X, I) \
    X(SETTING, I, double, Frequency, "OUTP:FREQ", .stored = true, .initial = 60.0, .unit = "Hz") \
    X(SETTING, I, double, DCVoltage, "OUTP:VOLT:DC", .stored = true, .initial = 100.0, .unit = "V") \
    X(SETTING, I, double, CurrentHighLimit, "OUTP:CURR:HIGH", .stored = true, .initial = 5.0, .unit = "A") \
    X(SETTING, I, double, ACVoltage, "OUTP:VOLT:AC", .stored = true, .initial = 100.0, .unit = "V")
