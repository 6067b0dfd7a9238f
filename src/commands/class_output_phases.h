// The class-compliant output phase members: stored values while simulating, nothing outside it.
#pragma once

#include "ZPV4870.h"
#include "commands/property_row.h"
#include "repcap/rep_cap_collection.h"

namespace zpv::commands {

namespace rows {

#define ZPV_CLASS_ROW(Interface, Property, Type, Default)                                           \
    inline const PropertyRow<Type> k##Interface##Property{{IID_##Interface, #Interface, #Property,  \
                                                            Access::ClassCompliant,                  \
                                                            #Interface "." #Property, Default}};

ZPV_CLASS_ROW(IIviACPwrOutputPhases, Frequency, double, 0.0)
ZPV_CLASS_ROW(IIviACPwrOutputPhases, FrequencyRange, double, 0.0)
ZPV_CLASS_ROW(IIviACPwrOutputPhase, CurrentLimit, double, 0.0)
ZPV_CLASS_ROW(IIviACPwrOutputPhase, Enabled, VARIANT_BOOL, VARIANT_TRUE)
ZPV_CLASS_ROW(IIviACPwrOutputPhase, PhaseAngle, double, 0.0)
ZPV_CLASS_ROW(IIviACPwrOutputPhase, VoltageLevel, double, 0.0)
ZPV_CLASS_ROW(IIviACPwrOutputPhase, VoltageRange, double, 0.0)
ZPV_CLASS_ROW(IIviACPwrOutputPhase, Waveform, BSTR, L"")
#undef ZPV_CLASS_ROW

}  // namespace rows

// get_/put_ of a property that is one row.
#define ZPV_PROPERTY_MEMBERS(Type, Property, row)                                                        \
    HRESULT get_##Property(Type* val) override { return ::zpv::commands::GetProperty(Self(), row, val); } \
    HRESULT put_##Property(Type val) override { return ::zpv::commands::PutProperty(Self(), row, val); }

template <class Owner>
class IviACPwrOutputPhasesMembers : public repcap::RepCapCollection<Owner, IIviACPwrOutputPhases, IIviACPwrOutputPhase> {
public:
    ZPV_PROPERTY_MEMBERS(double, Frequency, rows::kIIviACPwrOutputPhasesFrequency)
    ZPV_PROPERTY_MEMBERS(double, FrequencyRange, rows::kIIviACPwrOutputPhasesFrequencyRange)

private:
    Owner& Self() { return static_cast<Owner&>(*this); }
};

template <class Owner>
class IviACPwrOutputPhaseMembers : public IIviACPwrOutputPhase {
public:
    ZPV_PROPERTY_MEMBERS(double, CurrentLimit, rows::kIIviACPwrOutputPhaseCurrentLimit)
    ZPV_PROPERTY_MEMBERS(VARIANT_BOOL, Enabled, rows::kIIviACPwrOutputPhaseEnabled)
    ZPV_PROPERTY_MEMBERS(double, PhaseAngle, rows::kIIviACPwrOutputPhasePhaseAngle)
    ZPV_PROPERTY_MEMBERS(double, VoltageLevel, rows::kIIviACPwrOutputPhaseVoltageLevel)
    ZPV_PROPERTY_MEMBERS(double, VoltageRange, rows::kIIviACPwrOutputPhaseVoltageRange)
    ZPV_PROPERTY_MEMBERS(BSTR, Waveform, rows::kIIviACPwrOutputPhaseWaveform)

private:
    Owner& Self() { return static_cast<Owner&>(*this); }
};

}  // namespace zpv::commands
