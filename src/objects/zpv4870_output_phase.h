// The output phase object: one per physical output phase, created by the driver at Initialize.
// Its members run inside the method frame under the phase object's own lock.
#pragma once

#include "ZPV4870.h"
#include "members/member_tables.h"
#include "core/driver.h"
#include "core/method_frame.h"
#include "platform/com/com_object.h"
#include "core/rep_cap.h"

namespace zpv::repcap {

class ZPV4870OutputPhase : public _RepCap<ZPV4870OutputPhase>,
                           public com::CComObjectRootEx,
                           public ISupportErrorInfo,
                           public members::IZPV4870OutputPhaseMembers<ZPV4870OutputPhase>,
                           public members::IIviACPwrOutputPhaseMembers<ZPV4870OutputPhase>,
                           public members::IZPV4870OutputPhaseCurrentProtectionMembers<ZPV4870OutputPhase>,
                           public members::IZPV4870OutputPhaseDCGenerationMembers<ZPV4870OutputPhase>,
                           public members::IZPV4870OutputPhaseVoltageProtectionMembers<ZPV4870OutputPhase>,
                           public members::IIviACPwrCurrentProtectionMembers<ZPV4870OutputPhase>,
                           public members::IIviACPwrVoltageProtectionMembers<ZPV4870OutputPhase>,
                           public members::IIviACPwrDCGenerationMembers<ZPV4870OutputPhase>,
                           public members::IIviACPwrImpedanceMembers<ZPV4870OutputPhase> {
public:
    static constexpr const char* kClassName = "ZPV4870OutputPhase";
    static constexpr const char* kRepCapName = "OutputPhase";
    static constexpr const char* const kPhysicalNames[] = {"OutputPhase1"};

    // The factory of the driver's repeated capability table.
    static HRESULT Create(IUnknown* owner, CRepCap*& node);
    IUnknown* ObjectUnknown() override { return static_cast<IZPV4870OutputPhase*>(this); }

    void* CastTo(REFIID riid);
    const char* ClassName() const override { return kClassName; }
    const char* RepCapName() const override { return kRepCapName; }

    // What the method frame needs of its target.
    // The driver's member lock: the phase shares the driver's I/O session.
    std::recursive_mutex& ObjectLock() { return Root().MemberLock(); }
    bool IsInitialized() const { return Attached() && Root().IsInitialized(); }
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
