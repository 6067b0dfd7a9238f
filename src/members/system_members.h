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
    X(PROPERTY, I, LONG, Alarm, "SYST:ALAR?", "%d", "SYST:ALAR %d", .stored = true, .initial = 5, .range = {0, 9}, .attribute = {"SYSTEM_ALARM", 1150102}) \
    X(ENUM_SETTING, I, ZPV4870AnalogEnum, Analog, "SYST:ANAL", .stored = true, .initial = ZPV4870AnalogOFF, .attribute = {"SYSTEM_ANALOG", 1150103}) \
    X(SETTING, I, double, FrequencyHighLimit, "SYST:FREQ:HIGH", .stored = true, .unit = "Hz", .attribute = {"SYSTEM_FREQUENCY_HIGH_LIMIT", 1150104}) \
    X(SETTING, I, double, FrequencyLowLimit, "SYST:FREQ:LOW", .stored = true, .unit = "Hz", .attribute = {"SYSTEM_FREQUENCY_LOW_LIMIT", 1150105}) \
    X(ENUM_SETTING, I, VARIANT_BOOL, Lock, "SYST:LOCK", .stored = true, .initial = VARIANT_TRUE, .attribute = {"SYSTEM_LOCK", 1150106}) \
    X(ENUM_SETTING, I, ZPV4870MeterEnum, MeterDisplay, "MET", .attribute = {"SYSTEM_METER_DISPLAY", 1150107}) \
    X(ENUM_SETTING, I, VARIANT_BOOL, OCFold, "SYST:OCF", .attribute = {"SYSTEM_OC_FOLD", 1150108}) \
    X(ENUM_SETTING, I, ZPV4870PowerUpEnum, PowreUp, "SYST:POWUP", .attribute = {"SYSTEM_POWRE_UP", 1150109}) \
    X(ENUM_SETTING, I, ZPV4870RemoteEnum, Remote, "SYST:PLC", .attribute = {"SYSTEM_REMOTE", 1150110}) \
    X(ENUM_SETTING, I, ZPV4870SychronousSignalEnum, SychronousSignal, "SYST:SYNC", .attribute = {"SYSTEM_SYCHRONOUS_SIGNAL", 1150111}) \
    X(SETTING, I, double, VoltageAcHighLimit, "SYST:VOLT:AC:HIGH", .stored = true, .unit = "V", .attribute = {"SYSTEM_VOLTAGE_AC_HIGH_LIMIT", 1150112}) \
    X(SETTING, I, double, VoltageAcLowLimit, "SYST:VOLT:AC:LOW", .stored = true, .unit = "V", .attribute = {"SYSTEM_VOLTAGE_AC_LOW_LIMIT", 1150113}) \
    X(SETTING, I, double, VoltageDcHighLimit, "SYST:VOLT:DC:HIGH", .stored = true, .unit = "V", .attribute = {"SYSTEM_VOLTAGE_DC_HIGH_LIMIT", 1150114}) \
    X(SETTING, I, double, VoltageDcLowLimit, "SYST:VOLT:DC:LOW", .stored = true, .unit = "V", .attribute = {"SYSTEM_VOLTAGE_DC_LOW_LIMIT", 1150115}) \
    X(ENUM_SETTING, I, ZPV4870VoltageSenseEnum, VoltageSense, "SYST:SENS", .attribute = {"SYSTEM_VOLTAGE_SENSE", 1150116})

#define ZPV_LIST_IZPV4870Execution(X, I) \
    X(ACTION, I, ClearProtections, "OUTP:PROT:CLE", kAllModels) \
    X(QUERY, I, ZPV4870OutputEnum, GetOutputEnable, "OUTP?", "%{ZPV4870OutputEnum}s") \
    X(QUERY, I, BSTR, GetProtections, "OUTP:PROT:STAT?", "%$Bs") \
    X(ACTION, I, SetOperationMode, "OUTP:MODE %{ZPV4870OperationModeEnum}s", kAllModels, (IN, ZPV4870OperationModeEnum, OperationMode)) \
    X(ACTION, I, SetOutputEnable, "OUTP %{ZPV4870OutputEnum}s", kAllModels, (IN, ZPV4870OutputEnum, Behavior)) \
    X(QUERY, I, ZPV4870OperationModeEnum, GetOperationMode, "OUTP:MODE?", "%{ZPV4870OperationModeEnum}s") \
    X(GROUP, I, IZPV4870ExecutionConfigurations, Configurations, kAllModels)

#define ZPV_LIST_IZPV4870ExecutionConfigurations(X, I) \
    X(SETTING, I, double, Frequency, "OUTP:FREQ", .stored = true, .initial = 60.0, .unit = "Hz", .attribute = {"EXECUTION_CONFIGURATIONS_FREQUENCY", 1150002}) \
    X(SETTING, I, double, DCVoltage, "OUTP:VOLT:DC", .stored = true, .initial = 100.0, .unit = "V", .attribute = {"EXECUTION_CONFIGURATIONS_DC_VOLTAGE", 1150003}) \
    X(SETTING, I, double, CurrentHighLimit, "OUTP:CURR:HIGH", .stored = true, .initial = 5.0, .unit = "A", .attribute = {"EXECUTION_CONFIGURATIONS_CURRENT_HIGH_LIMIT", 1150004}) \
    X(SETTING, I, double, ACVoltage, "OUTP:VOLT:AC", .stored = true, .initial = 100.0, .unit = "V", .attribute = {"EXECUTION_CONFIGURATIONS_AC_VOLTAGE", 1150005})
