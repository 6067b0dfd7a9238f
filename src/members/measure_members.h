// Live measurements and the logged results of a finished test.
#pragma once

#include "ZPV4870.h"
#include "members/member_declarations.h"

#define ZPV_LIST_IZPV4870Measure(X, I) \
    X(QUERY, I, BSTR, All, "MEAS:ALL?", "%$Bs", kAllModels) \
    X(QUERY, I, double, Voltage, "MEAS:VOLT?", "%lg", kAllModels) \
    X(QUERY, I, BSTR, State, "MEAS:STAT?", "%$Bs", kAllModels) \
    X(QUERY, I, double, VoltageAC, "MEAS:VOLT:AC?", "%lg", kAllModels) \
    X(QUERY, I, double, VoltageDC, "MEAS:VOLT:DC?", "%lg", kAllModels) \
    X(QUERY, I, double, Frequency, "MEAS:FREQ?", "%lg", kAllModels) \
    X(QUERY, I, double, Current, "MEAS:CURR?", "%lg", kAllModels) \
    X(QUERY, I, double, CurrentAC, "MEAS:CURR:AC?", "%lg", kAllModels) \
    X(QUERY, I, double, CurrentDC, "MEAS:CURR:DC?", "%lg", kAllModels) \
    X(QUERY, I, double, Power, "MEAS:POW?", "%lg", kAllModels) \
    X(QUERY, I, double, PowerFactor, "MEAS:PFAC?", "%lg", kAllModels) \
    X(QUERY, I, double, CurrentPeak, "MEAS:APEAK?", "%lg", kAllModels) \
    X(QUERY, I, double, ReactivePower, "MEAS:REAC?", "%lg", kAllModels) \
    X(QUERY, I, double, CrestFactor, "MEAS:CRES?", "%lg", kAllModels) \
    X(QUERY, I, double, ApparentPower, "MEAS:APP?", "%lg", kAllModels) \
    X(QUERY, I, double, DwellTime, "MEAS:TIME?", "%lg", kAllModels) \
    X(QUERY, I, double, Count, "MEAS:COUN?", "%lg", kAllModels) \
    X(QUERY, I, double, Sequence, "MEAS:SEQ?", "%lg", kAllModels)

#define ZPV_LIST_IZPV4870Result(X, I) \
    X(QUERY, I, BSTR, GetAll, "RES:ALL?", "%$Bs", kAllModels) \
    X(QUERY, I, double, GetVoltageAC, "RES:VOLT:AC?", "%lg", kAllModels) \
    X(QUERY, I, double, GetVoltageDC, "RES:VOLT:DC?", "%lg", kAllModels) \
    X(QUERY, I, double, GetFrequency, "RES:FREQ?", "%lg", kAllModels) \
    X(QUERY, I, double, GetCurrentAC, "RES:CURR:AC?", "%lg", kAllModels) \
    X(QUERY, I, double, GetCurrentDC, "RES:CURR:DC?", "%lg", kAllModels) \
    X(QUERY, I, double, GetPower, "RES:POW?", "%lg", kAllModels) \
    X(QUERY, I, double, GetPowerFactor, "RES:PFAC?", "%lg", kAllModels) \
    X(QUERY, I, double, GetCurrentPeak, "RES:APEAK?", "%lg", kAllModels) \
    X(QUERY, I, double, GetReactivePower, "RES:REAC?", "%lg", kAllModels) \
    X(QUERY, I, double, GetCrestFactor, "RES:CRES?", "%lg", kAllModels) \
    X(QUERY, I, double, GetApparentPower, "RES:APP?", "%lg", kAllModels) \
    X(SETTING, I, LONG, SequenceIndex, "RES:SEQ", true, 1, kAllModels) \
    X(LIVE_GETTER, I, LONG, TotalSequence, "RES:TOT?", "%d", kAllModels)
