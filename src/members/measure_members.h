// Live measurements and the logged results of a finished test.
#pragma once

#include "ZPV4870.h"
#include "members/member_declarations.h"

#define ZPV_LIST_IZPV4870Measure(X, I) \
    X(QUERY, I, BSTR, All, "MEAS:ALL?", "%$Bs", .readings = true) \
    X(QUERY, I, double, Voltage, "MEAS:VOLT?", "%lg", .unit = "V") \
    X(QUERY, I, BSTR, State, "MEAS:STAT?", "%$Bs") \
    X(QUERY, I, double, VoltageAC, "MEAS:VOLT:AC?", "%lg", .unit = "V") \
    X(QUERY, I, double, VoltageDC, "MEAS:VOLT:DC?", "%lg", .unit = "V") \
    X(QUERY, I, double, Frequency, "MEAS:FREQ?", "%lg", .unit = "Hz") \
    X(QUERY, I, double, Current, "MEAS:CURR?", "%lg", .unit = "A") \
    X(QUERY, I, double, CurrentAC, "MEAS:CURR:AC?", "%lg", .unit = "A") \
    X(QUERY, I, double, CurrentDC, "MEAS:CURR:DC?", "%lg", .unit = "A") \
    X(QUERY, I, double, Power, "MEAS:POW?", "%lg", .unit = "W") \
    X(QUERY, I, double, PowerFactor, "MEAS:PFAC?", "%lg") \
    X(QUERY, I, double, CurrentPeak, "MEAS:APEAK?", "%lg", .unit = "A") \
    X(QUERY, I, double, ReactivePower, "MEAS:REAC?", "%lg", .unit = "var") \
    X(QUERY, I, double, CrestFactor, "MEAS:CRES?", "%lg") \
    X(QUERY, I, double, ApparentPower, "MEAS:APP?", "%lg", .unit = "VA") \
    X(QUERY, I, double, DwellTime, "MEAS:TIME?", "%lg") \
    X(QUERY, I, double, Count, "MEAS:COUN?", "%lg") \
    X(QUERY, I, double, Sequence, "MEAS:SEQ?", "%lg")

#define ZPV_LIST_IZPV4870Result(X, I) \
    X(QUERY, I, BSTR, GetAll, "RES:ALL?", "%$Bs", .readings = true) \
    X(QUERY, I, double, GetVoltageAC, "RES:VOLT:AC?", "%lg", .unit = "V") \
    X(QUERY, I, double, GetVoltageDC, "RES:VOLT:DC?", "%lg", .unit = "V") \
    X(QUERY, I, double, GetFrequency, "RES:FREQ?", "%lg", .unit = "Hz") \
    X(QUERY, I, double, GetCurrentAC, "RES:CURR:AC?", "%lg", .unit = "A") \
    X(QUERY, I, double, GetCurrentDC, "RES:CURR:DC?", "%lg", .unit = "A") \
    X(QUERY, I, double, GetPower, "RES:POW?", "%lg", .unit = "W") \
    X(QUERY, I, double, GetPowerFactor, "RES:PFAC?", "%lg") \
    X(QUERY, I, double, GetCurrentPeak, "RES:APEAK?", "%lg", .unit = "A") \
    X(QUERY, I, double, GetReactivePower, "RES:REAC?", "%lg", .unit = "var") \
    X(QUERY, I, double, GetCrestFactor, "RES:CRES?", "%lg") \
    X(QUERY, I, double, GetApparentPower, "RES:APP?", "%lg", .unit = "VA") \
    X(SETTING, I, LONG, SequenceIndex, "RES:SEQ", .stored = true, .initial = 1, .attribute = {"RESULT_SEQUENCE_INDEX", 1150083}) \
    X(LIVE_GETTER, I, LONG, TotalSequence, "RES:TOT?", "%d", .attribute = {"RESULT_TOTAL_SEQUENCE", 1150084})

// The instrument's list of all readings ("MEAS:ALL?", "RES:ALL?"): F(Name, Unit), one per number,
// in the order the instrument sends them.
#define ZPV_READING_FIELDS(F) \
    F(VoltageAC, "V")         \
    F(VoltageDC, "V")         \
    F(Voltage, "V")           \
    F(CurrentAC, "A")         \
    F(CurrentDC, "A")         \
    F(Current, "A")           \
    F(Frequency, "Hz")        \
    F(Power, "W")             \
    F(PowerFactor, "")        \
    F(CurrentPeak, "A")       \
    F(ReactivePower, "var")   \
    F(CrestFactor, "")        \
    F(ApparentPower, "VA")
