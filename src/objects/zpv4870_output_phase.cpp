#include "objects/zpv4870_output_phase.h"

namespace zpv::repcap {

HRESULT ZPV4870OutputPhase::Create(IUnknown* owner, CRepCap*& node) {
    com::CComChildObject<ZPV4870OutputPhase>* object = nullptr;
    const HRESULT hr = com::CComChildObject<ZPV4870OutputPhase>::CreateInstance(owner, &object);
    if (FAILED(hr)) return hr;
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

}  // namespace zpv::repcap
