// Every interface of the command set that has a member table, once: the rows and member classes
// (ZPV_INTERFACE_MEMBERS) and the catalog (member_catalog.h) are both expanded from this list.
#pragma once

#include "members/extension_group_members.h"
#include "members/list_mode_members.h"
#include "members/measure_members.h"
#include "members/mode_members.h"
#include "members/output_phase_members.h"
#include "members/system_members.h"

// Y(INTERFACE, I) for a plain interface, Y(COLLECTION, I, ItemInterface) for a collection of phases.
#define ZPV_ALL_MEMBER_TABLES(Y)                                   \
    Y(INTERFACE, IZPV4870System)                                   \
    Y(INTERFACE, IZPV4870Execution)                                \
    Y(INTERFACE, IZPV4870ExecutionConfigurations)                  \
    Y(INTERFACE, IZPV4870ManualMode)                               \
    Y(INTERFACE, IZPV4870ManualModeFile)                           \
    Y(INTERFACE, IZPV4870StepMode)                                 \
    Y(INTERFACE, IZPV4870StepModeFile)                             \
    Y(INTERFACE, IZPV4870PulseMode)                                \
    Y(INTERFACE, IZPV4870PulseModeFile)                            \
    Y(INTERFACE, IZPV4870ListMode)                                 \
    Y(INTERFACE, IZPV4870ListModeFile)                             \
    Y(INTERFACE, IZPV4870ListModeProgram)                          \
    Y(INTERFACE, IZPV4870ListModeSequence)                         \
    Y(INTERFACE, IZPV4870Measure)                                  \
    Y(INTERFACE, IZPV4870Result)                                   \
    Y(COLLECTION, IZPV4870OutputPhases, IZPV4870OutputPhase)       \
    Y(INTERFACE, IZPV4870OutputPhase)                              \
    Y(INTERFACE, IZPV4870OutputPhaseCurrentProtection)             \
    Y(INTERFACE, IZPV4870OutputPhaseDCGeneration)                  \
    Y(INTERFACE, IZPV4870OutputPhaseVoltageProtection)             \
    Y(COLLECTION, IIviACPwrOutputPhases, IIviACPwrOutputPhase)     \
    Y(INTERFACE, IIviACPwrOutputPhase)                             \
    Y(INTERFACE, IIviACPwrCurrentProtection)                       \
    Y(INTERFACE, IIviACPwrVoltageProtection)                       \
    Y(INTERFACE, IIviACPwrDCGeneration)                            \
    Y(INTERFACE, IIviACPwrImpedance)                               \
    Y(INTERFACE, IIviACPwrExternalSync)                            \
    Y(INTERFACE, IIviACPwrArbWaveform)

#define ZPV_MEMBER_TABLE(kind, ...) ZPV_MEMBER_TABLE_##kind(__VA_ARGS__)
#define ZPV_MEMBER_TABLE_INTERFACE(I) ZPV_INTERFACE_MEMBERS(I, ZPV_LIST_##I)
#define ZPV_MEMBER_TABLE_COLLECTION(I, ItemI) ZPV_COLLECTION_MEMBERS(I, ItemI, ZPV_LIST_##I)

namespace zpv::members {

ZPV_ALL_MEMBER_TABLES(ZPV_MEMBER_TABLE)

}  // namespace zpv::members
