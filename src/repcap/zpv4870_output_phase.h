// The output phase object: one per physical output phase, created by the driver at Initialize.
// Its members run inside the method frame under the phase object's own lock.
#pragma once

#include "ZPV4870.h"
#include "commands/class_output_phases.h"
#include "driver/driver.h"
#include "driver/method_frame.h"
#include "platform/com/com_object.h"
#include "repcap/rep_cap.h"

namespace zpv::repcap {

class ZPV4870OutputPhase : public _RepCap<ZPV4870OutputPhase>,
                           public com::CComObjectRootEx,
                           public ISupportErrorInfo,
                           public IZPV4870OutputPhase,
                           public commands::IviACPwrOutputPhaseMembers<ZPV4870OutputPhase>,
                           public IZPV4870OutputPhaseCurrentProtection,
                           public IZPV4870OutputPhaseDCGeneration,
                           public IZPV4870OutputPhaseVoltageProtection,
                           public IIviACPwrCurrentProtection,
                           public IIviACPwrVoltageProtection,
                           public IIviACPwrDCGeneration,
                           public IIviACPwrImpedance {
public:
    static constexpr const char* kClassName = "ZPV4870OutputPhase";
    static constexpr const char* kRepCapName = "OutputPhase";
    static constexpr const char* const kPhysicalNames[] = {"OutputPhase1"};

    // The factory of the driver's repeated capability table.
    static HRESULT Create(CComPtr<IUnknown>& unknown, CRepCap*& node);

    void* CastTo(REFIID riid);
    const char* ClassName() const override { return kClassName; }
    const char* RepCapName() const override { return kRepCapName; }

    // What the method frame needs of its target.
    using com::CComObjectRootEx::ObjectLock;
    bool IsInitialized() const { return Root().IsInitialized(); }
    errors::IErrorReporter& Reporter() const { return Root().Reporter(); }
    trace::ICallTracer* Tracer() const { return Root().Tracer(); }

    // ISupportErrorInfo
    HRESULT InterfaceSupportsErrorInfo(REFIID riid) override;

    // IZPV4870OutputPhase
    HRESULT get_CurrentProtection(IZPV4870OutputPhaseCurrentProtection** val) override;
    HRESULT get_DCGeneration(IZPV4870OutputPhaseDCGeneration** val) override;
    HRESULT get_VoltageProtection(IZPV4870OutputPhaseVoltageProtection** val) override;

    // IIviACPwrOutputPhase
    HRESULT get_CurrentProtection(IIviACPwrCurrentProtection** val) override;
    HRESULT get_DCGeneration(IIviACPwrDCGeneration** val) override;
    HRESULT get_Impedance(IIviACPwrImpedance** val) override;
    HRESULT get_VoltageProtection(IIviACPwrVoltageProtection** val) override;

private:
    template <class I>
    HRESULT GetInterface(I** pp) {
        return static_cast<IZPV4870OutputPhase*>(this)->QueryInterface(ZPV_IID_OF(I), reinterpret_cast<void**>(pp));
    }
};

}  // namespace zpv::repcap
