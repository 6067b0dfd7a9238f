// System settings (limits, front panel, interface) and execution control of the instrument.
#pragma once

#include "ZPV4870.h"
#include "cache/range_check.h"
#include "commands/direct_io.h"
#include "commands/member_macros.h"

namespace zpv::commands {

inline bool IsAlarmSetting(const LONG& value) { return cache::InRange(static_cast<long>(value), 0L, 9L); }

namespace rows {

ZPV_METHOD_ROW(IZPV4870System, ReadBytes, "ReadBytes", Instrument, nullptr, nullptr, kAllModels)
ZPV_METHOD_ROW(IZPV4870System, ReadString, "ReadString", Instrument, nullptr, nullptr, kAllModels)
ZPV_METHOD_ROW(IZPV4870System, WriteBytes, "WriteBytes", Instrument, nullptr, nullptr, kAllModels)
ZPV_METHOD_ROW(IZPV4870System, WriteString, "WriteString", Instrument, nullptr, nullptr, kAllModels)
ZPV_METHOD_ROW(IZPV4870System, get_IOTimeout, "get_IOTimeout", Instrument, nullptr, nullptr, kAllModels)
ZPV_METHOD_ROW(IZPV4870System, put_IOTimeout, "put_IOTimeout", Instrument, nullptr, nullptr, kAllModels)
ZPV_METHOD_ROW(IZPV4870System, get_DirectIO, "get_DirectIO", Instrument, nullptr, nullptr, kAllModels)
inline const PropertyRow<LONG> kIZPV4870System_Alarm{{.iid = IID_IZPV4870System,
                                                      .interfaceName = "IZPV4870System",
                                                      .property = "Alarm",
                                                      .access = Access::Instrument,
                                                      .simulatedKey = "IZPV4870System.Alarm",
                                                      .simulatedDefault = 5,
                                                      .getCommand = "SYST:ALAR?",
                                                      .getResponse = "%d",
                                                      .putCommand = "SYST:ALAR %d",
                                                      .inRange = &IsAlarmSetting,
                                                      .valueFormat = "%d"}};
ZPV_INSTRUMENT_PROPERTY(IZPV4870System, Analog, ZPV4870AnalogEnum, "SYST:ANAL?", "%{ZPV4870AnalogEnum}s", "SYST:ANAL %{ZPV4870AnalogEnum}s", true, ZPV4870AnalogOFF, kAllModels)
ZPV_INSTRUMENT_PROPERTY(IZPV4870System, FrequencyHighLimit, double, "SYST:FREQ:HIGH?", "%lg", "SYST:FREQ:HIGH %0.15lg", true, 0.0, kAllModels)
ZPV_INSTRUMENT_PROPERTY(IZPV4870System, FrequencyLowLimit, double, "SYST:FREQ:LOW?", "%lg", "SYST:FREQ:LOW %0.15lg", true, 0.0, kAllModels)
ZPV_INSTRUMENT_PROPERTY(IZPV4870System, Lock, VARIANT_BOOL, "SYST:LOCK?", "%{VARIANT_BOOL}s", "SYST:LOCK %{VARIANT_BOOL}s", true, VARIANT_TRUE, kAllModels)
ZPV_INSTRUMENT_PROPERTY(IZPV4870System, MeterDisplay, ZPV4870MeterEnum, "MET?", "%{ZPV4870MeterEnum}s", "MET %{ZPV4870MeterEnum}s", false, ZPV4870MeterFrequency, kAllModels)
ZPV_INSTRUMENT_PROPERTY(IZPV4870System, OCFold, VARIANT_BOOL, "SYST:OCF?", "%{VARIANT_BOOL}s", "SYST:OCF %{VARIANT_BOOL}s", false, VARIANT_FALSE, kAllModels)
ZPV_INSTRUMENT_PROPERTY(IZPV4870System, PowreUp, ZPV4870PowerUpEnum, "SYST:POWUP?", "%{ZPV4870PowerUpEnum}s", "SYST:POWUP %{ZPV4870PowerUpEnum}s", false, ZPV4870PowerUpOFF, kAllModels)
ZPV_INSTRUMENT_PROPERTY(IZPV4870System, Remote, ZPV4870RemoteEnum, "SYST:PLC?", "%{ZPV4870RemoteEnum}s", "SYST:PLC %{ZPV4870RemoteEnum}s", false, ZPV4870RemoteOFF, kAllModels)
ZPV_INSTRUMENT_PROPERTY(IZPV4870System, SychronousSignal, ZPV4870SychronousSignalEnum, "SYST:SYNC?", "%{ZPV4870SychronousSignalEnum}s", "SYST:SYNC %{ZPV4870SychronousSignalEnum}s", false, ZPV4870SychronousSignalOff, kAllModels)
ZPV_INSTRUMENT_PROPERTY(IZPV4870System, VoltageAcHighLimit, double, "SYST:VOLT:AC:HIGH?", "%lg", "SYST:VOLT:AC:HIGH %0.15lg", true, 0.0, kAllModels)
ZPV_INSTRUMENT_PROPERTY(IZPV4870System, VoltageAcLowLimit, double, "SYST:VOLT:AC:LOW?", "%lg", "SYST:VOLT:AC:LOW %0.15lg", true, 0.0, kAllModels)
ZPV_INSTRUMENT_PROPERTY(IZPV4870System, VoltageDcHighLimit, double, "SYST:VOLT:DC:HIGH?", "%lg", "SYST:VOLT:DC:HIGH %0.15lg", true, 0.0, kAllModels)
ZPV_INSTRUMENT_PROPERTY(IZPV4870System, VoltageDcLowLimit, double, "SYST:VOLT:DC:LOW?", "%lg", "SYST:VOLT:DC:LOW %0.15lg", true, 0.0, kAllModels)
ZPV_INSTRUMENT_PROPERTY(IZPV4870System, VoltageSense, ZPV4870VoltageSenseEnum, "SYST:SENS?", "%{ZPV4870VoltageSenseEnum}s", "SYST:SENS %{ZPV4870VoltageSenseEnum}s", false, ZPV4870VoltageSenseINTERNAL, kAllModels)

ZPV_ACTION_ROW(IZPV4870Execution, ClearProtections, "OUTP:PROT:CLE", kAllModels)
ZPV_QUERY_ROW(IZPV4870Execution, GetOutputEnable, "OUTP?", "%{ZPV4870OutputEnum}s", kAllModels)
ZPV_QUERY_ROW(IZPV4870Execution, GetProtections, "OUTP:PROT:STAT?", "%$Bs", kAllModels)
ZPV_ACTION_ROW(IZPV4870Execution, SetOperationMode, "OUTP:MODE %{ZPV4870OperationModeEnum}s", kAllModels)
ZPV_ACTION_ROW(IZPV4870Execution, SetOutputEnable, "OUTP %{ZPV4870OutputEnum}s", kAllModels)
ZPV_QUERY_ROW(IZPV4870Execution, GetOperationMode, "OUTP:MODE?", "%{ZPV4870OperationModeEnum}s", kAllModels)
ZPV_GROUP_ROW(IZPV4870Execution, Configurations, kAllModels)

ZPV_INSTRUMENT_PROPERTY(IZPV4870ExecutionConfigurations, Frequency, double, "OUTP:FREQ?", "%lg", "OUTP:FREQ %0.15lg", true, 60.0, kAllModels)
ZPV_INSTRUMENT_PROPERTY(IZPV4870ExecutionConfigurations, DCVoltage, double, "OUTP:VOLT:DC?", "%lg", "OUTP:VOLT:DC %0.15lg", true, 100.0, kAllModels)
ZPV_INSTRUMENT_PROPERTY(IZPV4870ExecutionConfigurations, CurrentHighLimit, double, "OUTP:CURR:HIGH?", "%lg", "OUTP:CURR:HIGH %0.15lg", true, 5.0, kAllModels)
ZPV_INSTRUMENT_PROPERTY(IZPV4870ExecutionConfigurations, ACVoltage, double, "OUTP:VOLT:AC?", "%lg", "OUTP:VOLT:AC %0.15lg", true, 100.0, kAllModels)

}  // namespace rows

template <class Owner>
class Zpv4870SystemMembers : public IZPV4870System {
    ZPV_MEMBERS_OF(Owner)
    HRESULT ReadBytes(SAFEARRAY** val) override {
        return DirectIo(Self(), rows::kIZPV4870System_ReadBytes, [](auto& io, SAFEARRAY** v) { return io.ReadBytes(v); },
                        driver::RetVal(val));
    }
    HRESULT ReadString(BSTR* val) override {
        return DirectIo(Self(), rows::kIZPV4870System_ReadString, [](auto& io, BSTR* v) { return io.ReadString(v); },
                        driver::RetVal(val));
    }
    HRESULT WriteBytes(SAFEARRAY* Data, LONG* val) override {
        return DirectIo(Self(), rows::kIZPV4870System_WriteBytes,
                        [Data](auto& io, LONG* v) { return io.WriteBytes(Data, v); }, driver::RetVal(val));
    }
    HRESULT WriteString(BSTR Data) override {
        return DirectIo(Self(), rows::kIZPV4870System_WriteString, [Data](auto& io) { return io.WriteString(Data); });
    }
    HRESULT get_IOTimeout(LONG* val) override {
        return DirectIo(Self(), rows::kIZPV4870System_get_IOTimeout, [](auto& io, LONG* v) { return io.GetTimeout(v); },
                        driver::RetVal(val));
    }
    HRESULT put_IOTimeout(LONG val) override {
        return DirectIo(Self(), rows::kIZPV4870System_put_IOTimeout, [val](auto& io) { return io.SetTimeout(val); });
    }
    HRESULT get_DirectIO(IUnknown** val) override {
        return DirectIo(Self(), rows::kIZPV4870System_get_DirectIO, [](auto& io, IUnknown** v) { return io.DirectIoObject(v); },
                        driver::RetVal(val));
    }
    ZPV_PROPERTY(LONG, Alarm, rows::kIZPV4870System_Alarm)
    ZPV_PROPERTY(ZPV4870AnalogEnum, Analog, rows::kIZPV4870System_Analog)
    ZPV_PROPERTY(double, FrequencyHighLimit, rows::kIZPV4870System_FrequencyHighLimit)
    ZPV_PROPERTY(double, FrequencyLowLimit, rows::kIZPV4870System_FrequencyLowLimit)
    ZPV_PROPERTY(VARIANT_BOOL, Lock, rows::kIZPV4870System_Lock)
    ZPV_PROPERTY(ZPV4870MeterEnum, MeterDisplay, rows::kIZPV4870System_MeterDisplay)
    ZPV_PROPERTY(VARIANT_BOOL, OCFold, rows::kIZPV4870System_OCFold)
    ZPV_PROPERTY(ZPV4870PowerUpEnum, PowreUp, rows::kIZPV4870System_PowreUp)
    ZPV_PROPERTY(ZPV4870RemoteEnum, Remote, rows::kIZPV4870System_Remote)
    ZPV_PROPERTY(ZPV4870SychronousSignalEnum, SychronousSignal, rows::kIZPV4870System_SychronousSignal)
    ZPV_PROPERTY(double, VoltageAcHighLimit, rows::kIZPV4870System_VoltageAcHighLimit)
    ZPV_PROPERTY(double, VoltageAcLowLimit, rows::kIZPV4870System_VoltageAcLowLimit)
    ZPV_PROPERTY(double, VoltageDcHighLimit, rows::kIZPV4870System_VoltageDcHighLimit)
    ZPV_PROPERTY(double, VoltageDcLowLimit, rows::kIZPV4870System_VoltageDcLowLimit)
    ZPV_PROPERTY(ZPV4870VoltageSenseEnum, VoltageSense, rows::kIZPV4870System_VoltageSense)
};

template <class Owner>
class Zpv4870ExecutionMembers : public IZPV4870Execution {
    ZPV_MEMBERS_OF(Owner)
    HRESULT ClearProtections() override { return RunAction(Self(), rows::kIZPV4870Execution_ClearProtections); }
    ZPV_QUERY(ZPV4870OutputEnum, GetOutputEnable, rows::kIZPV4870Execution_GetOutputEnable)
    ZPV_QUERY(BSTR, GetProtections, rows::kIZPV4870Execution_GetProtections)
    HRESULT SetOperationMode(ZPV4870OperationModeEnum OperationMode) override {
        return RunAction(Self(), rows::kIZPV4870Execution_SetOperationMode, OperationMode);
    }
    HRESULT SetOutputEnable(ZPV4870OutputEnum Behavior) override {
        return RunAction(Self(), rows::kIZPV4870Execution_SetOutputEnable, Behavior);
    }
    ZPV_QUERY(ZPV4870OperationModeEnum, GetOperationMode, rows::kIZPV4870Execution_GetOperationMode)
    ZPV_GROUP(IZPV4870ExecutionConfigurations, Configurations, rows::kIZPV4870Execution_get_Configurations)
};

template <class Owner>
class Zpv4870ExecutionConfigurationsMembers : public IZPV4870ExecutionConfigurations {
    ZPV_MEMBERS_OF(Owner)
    ZPV_PROPERTY(double, Frequency, rows::kIZPV4870ExecutionConfigurations_Frequency)
    ZPV_PROPERTY(double, DCVoltage, rows::kIZPV4870ExecutionConfigurations_DCVoltage)
    ZPV_PROPERTY(double, CurrentHighLimit, rows::kIZPV4870ExecutionConfigurations_CurrentHighLimit)
    ZPV_PROPERTY(double, ACVoltage, rows::kIZPV4870ExecutionConfigurations_ACVoltage)
};

}  // namespace zpv::commands
