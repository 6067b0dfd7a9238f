// The output phase object: one per physical output phase, created by the driver at Initialize.
// Its members run inside the method frame under the phase object's own lock.
#pragma once

#include "ZPV4870.h"
#include "commands/extension_group_members.h"
#include "commands/output_phase_members.h"
#include "driver/driver.h"
#include "driver/method_frame.h"
#include "platform/com/com_object.h"
#include "repcap/rep_cap.h"

namespace zpv::repcap {

class ZPV4870OutputPhase : public _RepCap<ZPV4870OutputPhase>,
                           public com::CComObjectRootEx,
                           public ISupportErrorInfo,
                           public commands::Zpv4870OutputPhaseMembers<ZPV4870OutputPhase>,
                           public commands::IviACPwrOutputPhaseMembers<ZPV4870OutputPhase>,
                           public commands::Zpv4870CurrentProtectionMembers<ZPV4870OutputPhase>,
                           public commands::Zpv4870DCGenerationMembers<ZPV4870OutputPhase>,
                           public commands::Zpv4870VoltageProtectionMembers<ZPV4870OutputPhase>,
                           public commands::IviACPwrCurrentProtectionMembers<ZPV4870OutputPhase>,
                           public commands::IviACPwrVoltageProtectionMembers<ZPV4870OutputPhase>,
                           public commands::IviACPwrDCGenerationMembers<ZPV4870OutputPhase>,
                           public commands::IviACPwrImpedanceMembers<ZPV4870OutputPhase> {
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

    template <class I>
    HRESULT GetInterface(I** pp) {
        return static_cast<IZPV4870OutputPhase*>(this)->QueryInterface(ZPV_IID_OF(I), reinterpret_cast<void**>(pp));
    }
};

}  // namespace zpv::repcap
