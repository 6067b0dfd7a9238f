// Where every interface sits in the driver's tree, from the driver object down: the groups the
// driver object itself hands out (its getters are written in the object, not generated, so each
// row is checked against the getter's type here), the roots those getters belong to, and
// interfaces that are reached through another one they extend. The groups below them are the
// member tables' GROUP rows; a collection's items are its phases.
#pragma once

#include <type_traits>

#include "ZPV4870.h"

// R(Root, Place): an interface of the driver object and the place its groups hang from ("" is
// the top; the class-compliant root keeps its groups apart under "Ivi").
#define ZPV_DRIVER_ROOTS(R) \
    R(IIviDriver, "")       \
    R(IZPV4870, "")         \
    R(IIviACPwr, "Ivi")

// G(Root, GroupInterface, Name): Root's getter get_Name hands out GroupInterface.
#define ZPV_DRIVER_GROUPS(G)                                  \
    G(IIviDriver, IIviDriverOperation, DriverOperation)       \
    G(IIviDriver, IIviDriverIdentity, Identity)               \
    G(IIviDriver, IIviDriverUtility, Utility)                 \
    G(IZPV4870, IZPV4870OutputPhases, OutputPhases)           \
    G(IZPV4870, IZPV4870System, System)                       \
    G(IZPV4870, IZPV4870Execution, Execution)                 \
    G(IZPV4870, IZPV4870ListMode, ListMode)                   \
    G(IZPV4870, IZPV4870ManualMode, ManualMode)               \
    G(IZPV4870, IZPV4870Measure, Measure)                     \
    G(IZPV4870, IZPV4870PulseMode, PulseMode)                 \
    G(IZPV4870, IZPV4870Result, Result)                       \
    G(IZPV4870, IZPV4870StepMode, StepMode)                   \
    G(IIviACPwr, IIviACPwrOutputPhases, OutputPhases)         \
    G(IIviACPwr, IIviACPwrArbWaveform, ArbWaveform)

// B(Derived, Base): Base's members are reached through the group that hands out Derived.
#define ZPV_DRIVER_BASES(B) B(IIviDriverIdentity, IIviComponentIdentity)

namespace zpv::members::driver_groups {

#define ZPV_DRIVER_GROUP_CHECK(Root, Group, Name)                                                    \
    static_assert(std::is_same_v<decltype(&Root::get_##Name), HRESULT (Root::*)(Group**)>,         \
                  #Root "::get_" #Name " does not hand out " #Group);
ZPV_DRIVER_GROUPS(ZPV_DRIVER_GROUP_CHECK)
#undef ZPV_DRIVER_GROUP_CHECK
#define ZPV_DRIVER_BASE_CHECK(Derived, Base) static_assert(std::is_base_of_v<Base, Derived>, #Derived " does not extend " #Base);
ZPV_DRIVER_BASES(ZPV_DRIVER_BASE_CHECK)
#undef ZPV_DRIVER_BASE_CHECK

}  // namespace zpv::members::driver_groups
