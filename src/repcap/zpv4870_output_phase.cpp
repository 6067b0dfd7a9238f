#include "repcap/zpv4870_output_phase.h"

namespace zpv::repcap {

using driver::Gate;
using driver::RetVal;

HRESULT ZPV4870OutputPhase::Create(CComPtr<IUnknown>& unknown, CRepCap*& node) {
    com::CComObject<ZPV4870OutputPhase>* object = nullptr;
    HRESULT hr = com::CComObject<ZPV4870OutputPhase>::CreateInstance(&object);
    if (FAILED(hr)) return hr;
    unknown = static_cast<IZPV4870OutputPhase*>(object);
    node = object;
    return S_OK;
}

void* ZPV4870OutputPhase::CastTo(REFIID riid) {
    if (riid == IID_IUnknown) return static_cast<IUnknown*>(static_cast<IZPV4870OutputPhase*>(this));
    void* found = nullptr;
    auto match = [&]<class... Is>() { ((found = found ? found : com::InterfaceIf<Is>(this, riid)), ...); };
    match.template operator()<ISupportErrorInfo, IZPV4870OutputPhase, IIviACPwrOutputPhase,
                              IZPV4870OutputPhaseCurrentProtection, IZPV4870OutputPhaseDCGeneration,
                              IZPV4870OutputPhaseVoltageProtection, IIviACPwrCurrentProtection,
                              IIviACPwrVoltageProtection, IIviACPwrDCGeneration, IIviACPwrImpedance>();
    return found;
}

HRESULT ZPV4870OutputPhase::InterfaceSupportsErrorInfo(REFIID riid) {
    if (riid == IID_IUnknown || riid == IID_ISupportErrorInfo) return S_FALSE;
    return CastTo(riid) ? S_OK : S_FALSE;
}

// The group getters hand out another interface of this same object.
#define ZPV_GROUP_GETTER(Interface, Member, Group)                                                      \
    HRESULT ZPV4870OutputPhase::get_##Member(Group** val) {                                              \
        ZPV_FRAME(Interface, get_##Member, Gate::Always, [&] { return GetInterface(val); }, RetVal(val)); \
    }
ZPV_GROUP_GETTER(IZPV4870OutputPhase, CurrentProtection, IZPV4870OutputPhaseCurrentProtection)
ZPV_GROUP_GETTER(IZPV4870OutputPhase, DCGeneration, IZPV4870OutputPhaseDCGeneration)
ZPV_GROUP_GETTER(IZPV4870OutputPhase, VoltageProtection, IZPV4870OutputPhaseVoltageProtection)
ZPV_GROUP_GETTER(IIviACPwrOutputPhase, CurrentProtection, IIviACPwrCurrentProtection)
ZPV_GROUP_GETTER(IIviACPwrOutputPhase, DCGeneration, IIviACPwrDCGeneration)
ZPV_GROUP_GETTER(IIviACPwrOutputPhase, Impedance, IIviACPwrImpedance)
ZPV_GROUP_GETTER(IIviACPwrOutputPhase, VoltageProtection, IIviACPwrVoltageProtection)
#undef ZPV_GROUP_GETTER

}  // namespace zpv::repcap
