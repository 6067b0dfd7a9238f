// Live measurements and the logged results of a finished test.
#pragma once

#include "ZPV4870.h"
#include "commands/member_macros.h"

#define ZPV_MEASURE_ROW(Method, Command, Response) ZPV_QUERY_ROW(IZPV4870Measure, Method, Command, Response, kAllModels)
#define ZPV_RESULT_ROW(Method, Command, Response) ZPV_QUERY_ROW(IZPV4870Result, Method, Command, Response, kAllModels)

namespace zpv::commands {

namespace rows {

ZPV_MEASURE_ROW(All, "MEAS:ALL?", "%$Bs")
ZPV_MEASURE_ROW(Voltage, "MEAS:VOLT?", "%lg")
ZPV_MEASURE_ROW(State, "MEAS:STAT?", "%$Bs")
ZPV_MEASURE_ROW(VoltageAC, "MEAS:VOLT:AC?", "%lg")
ZPV_MEASURE_ROW(VoltageDC, "MEAS:VOLT:DC?", "%lg")
ZPV_MEASURE_ROW(Frequency, "MEAS:FREQ?", "%lg")
ZPV_MEASURE_ROW(Current, "MEAS:CURR?", "%lg")
ZPV_MEASURE_ROW(CurrentAC, "MEAS:CURR:AC?", "%lg")
ZPV_MEASURE_ROW(CurrentDC, "MEAS:CURR:DC?", "%lg")
ZPV_MEASURE_ROW(Power, "MEAS:POW?", "%lg")
ZPV_MEASURE_ROW(PowerFactor, "MEAS:PFAC?", "%lg")
ZPV_MEASURE_ROW(CurrentPeak, "MEAS:APEAK?", "%lg")
ZPV_MEASURE_ROW(ReactivePower, "MEAS:REAC?", "%lg")
ZPV_MEASURE_ROW(CrestFactor, "MEAS:CRES?", "%lg")
ZPV_MEASURE_ROW(ApparentPower, "MEAS:APP?", "%lg")
ZPV_MEASURE_ROW(DwellTime, "MEAS:TIME?", "%lg")
ZPV_MEASURE_ROW(Count, "MEAS:COUN?", "%lg")
ZPV_MEASURE_ROW(Sequence, "MEAS:SEQ?", "%lg")

ZPV_RESULT_ROW(GetAll, "RES:ALL?", "%$Bs")
ZPV_RESULT_ROW(GetVoltageAC, "RES:VOLT:AC?", "%lg")
ZPV_RESULT_ROW(GetVoltageDC, "RES:VOLT:DC?", "%lg")
ZPV_RESULT_ROW(GetFrequency, "RES:FREQ?", "%lg")
ZPV_RESULT_ROW(GetCurrentAC, "RES:CURR:AC?", "%lg")
ZPV_RESULT_ROW(GetCurrentDC, "RES:CURR:DC?", "%lg")
ZPV_RESULT_ROW(GetPower, "RES:POW?", "%lg")
ZPV_RESULT_ROW(GetPowerFactor, "RES:PFAC?", "%lg")
ZPV_RESULT_ROW(GetCurrentPeak, "RES:APEAK?", "%lg")
ZPV_RESULT_ROW(GetReactivePower, "RES:REAC?", "%lg")
ZPV_RESULT_ROW(GetCrestFactor, "RES:CRES?", "%lg")
ZPV_RESULT_ROW(GetApparentPower, "RES:APP?", "%lg")
ZPV_INSTRUMENT_PROPERTY(IZPV4870Result, SequenceIndex, LONG, "RES:SEQ?", "%d", "RES:SEQ %d", true, 1, kAllModels)
inline const PropertyRow<LONG> kIZPV4870Result_TotalSequence{{.iid = IID_IZPV4870Result,
                                                              .interfaceName = "IZPV4870Result",
                                                              .property = "TotalSequence",
                                                              .access = Access::Instrument,
                                                              .simulatedKey = nullptr,
                                                              .getCommand = "RES:TOT?",
                                                              .getResponse = "%d",
                                                              .zeroWhileSimulating = true}};

}  // namespace rows

#define ZPV_MEASURE(Type, Name) ZPV_QUERY(Type, Name, rows::kIZPV4870Measure_##Name)
#define ZPV_RESULT(Type, Name) ZPV_QUERY(Type, Name, rows::kIZPV4870Result_##Name)

template <class Owner>
class Zpv4870MeasureMembers : public IZPV4870Measure {
    ZPV_MEMBERS_OF(Owner)
    ZPV_MEASURE(BSTR, All)
    ZPV_MEASURE(double, Voltage)
    ZPV_MEASURE(BSTR, State)
    ZPV_MEASURE(double, VoltageAC)
    ZPV_MEASURE(double, VoltageDC)
    ZPV_MEASURE(double, Frequency)
    ZPV_MEASURE(double, Current)
    ZPV_MEASURE(double, CurrentAC)
    ZPV_MEASURE(double, CurrentDC)
    ZPV_MEASURE(double, Power)
    ZPV_MEASURE(double, PowerFactor)
    ZPV_MEASURE(double, CurrentPeak)
    ZPV_MEASURE(double, ReactivePower)
    ZPV_MEASURE(double, CrestFactor)
    ZPV_MEASURE(double, ApparentPower)
    ZPV_MEASURE(double, DwellTime)
    ZPV_MEASURE(double, Count)
    ZPV_MEASURE(double, Sequence)
};

template <class Owner>
class Zpv4870ResultMembers : public IZPV4870Result {
    ZPV_MEMBERS_OF(Owner)
    ZPV_RESULT(BSTR, GetAll)
    ZPV_RESULT(double, GetVoltageAC)
    ZPV_RESULT(double, GetVoltageDC)
    ZPV_RESULT(double, GetFrequency)
    ZPV_RESULT(double, GetCurrentAC)
    ZPV_RESULT(double, GetCurrentDC)
    ZPV_RESULT(double, GetPower)
    ZPV_RESULT(double, GetPowerFactor)
    ZPV_RESULT(double, GetCurrentPeak)
    ZPV_RESULT(double, GetReactivePower)
    ZPV_RESULT(double, GetCrestFactor)
    ZPV_RESULT(double, GetApparentPower)
    ZPV_PROPERTY(LONG, SequenceIndex, rows::kIZPV4870Result_SequenceIndex)
    ZPV_GETTER(LONG, TotalSequence, rows::kIZPV4870Result_TotalSequence)
};

}  // namespace zpv::commands
