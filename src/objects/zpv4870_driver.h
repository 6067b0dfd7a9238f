// The ZPV4870 driver class: the COM face of one driver session. Every member runs inside the
// method frame and hands its work to the framework in CDriver.
#pragma once

#include "ZPV4870.h"
#include "core/driver.h"
#include "core/method_frame.h"
#include "platform/com/com_object.h"
#include "members/direct_io.h"
#include "zpv4870_direct_read.h"
#include "members/member_tables.h"
#include "members/rep_cap_collection.h"

namespace zpv::driver {

class ZPV4870 : public _Driver<ZPV4870>,
                public com::CComObjectRootEx,
                public ISupportErrorInfo,
                public IZPV4870,
                public IIviDriverOperation,
                public IIviDriverIdentity,
                public IIviDriverUtility,
                public members::IZPV4870OutputPhasesMembers<ZPV4870>,
                public IIviACPwr,
                public members::IIviACPwrOutputPhasesMembers<ZPV4870>,
                public members::IIviACPwrArbWaveformMembers<ZPV4870>,
                public members::IIviACPwrExternalSyncMembers<ZPV4870>,
                public members::IZPV4870SystemMembers<ZPV4870>,
                public members::IZPV4870ExecutionConfigurationsMembers<ZPV4870>,
                public members::IZPV4870ExecutionMembers<ZPV4870>,
                public members::IZPV4870ListModeFileMembers<ZPV4870>,
                public members::IZPV4870ListModeProgramMembers<ZPV4870>,
                public members::IZPV4870ListModeSequenceMembers<ZPV4870>,
                public members::IZPV4870ListModeMembers<ZPV4870>,
                public members::IZPV4870ManualModeFileMembers<ZPV4870>,
                public members::IZPV4870ManualModeMembers<ZPV4870>,
                public members::IZPV4870MeasureMembers<ZPV4870>,
                public members::IZPV4870PulseModeFileMembers<ZPV4870>,
                public members::IZPV4870PulseModeMembers<ZPV4870>,
                public members::IZPV4870ResultMembers<ZPV4870>,
                public members::IZPV4870StepModeFileMembers<ZPV4870>,
                public members::IZPV4870StepModeMembers<ZPV4870>,
                public IZPV4870TraceEvents,
                public IZPV4870DirectRead {
public:
    // The one repeated capability: the output phases.
    static constexpr const char* kPhaseClassName = "ZPV4870OutputPhase";
    static constexpr const char* kPhaseRepCapName = "OutputPhase";

    ZPV4870();
    ~ZPV4870() override;

    // Creates a driver object with one reference, answering riid.
    static HRESULT CreateInstance(IUnknown* outer, REFIID riid, void** ppv);

    void* CastTo(REFIID riid);
    // What the method frame locks: the session's one member lock, shared with the phase objects.
    std::recursive_mutex& ObjectLock() { return MemberLock(); }
    using CDriver::IsInitialized;
    using CDriver::Reporter;
    using CDriver::Tracer;

    // ISupportErrorInfo
    HRESULT InterfaceSupportsErrorInfo(REFIID riid) override;

    // IIviDriver
    HRESULT get_DriverOperation(IIviDriverOperation** val) override;
    HRESULT get_Identity(IIviDriverIdentity** val) override;
    HRESULT get_Utility(IIviDriverUtility** val) override;
    HRESULT Initialize(BSTR ResourceName, VARIANT_BOOL IdQuery, VARIANT_BOOL Reset, BSTR OptionString) override;
    HRESULT get_Initialized(VARIANT_BOOL* val) override;
    HRESULT Close() override;

    // IZPV4870 and IIviACPwr: the instrument's groups are interfaces of this same object.
    HRESULT get_OutputPhases(IZPV4870OutputPhases** val) override;
    HRESULT get_System(IZPV4870System** val) override;
    HRESULT get_Execution(IZPV4870Execution** val) override;
    HRESULT get_ListMode(IZPV4870ListMode** val) override;
    HRESULT get_ManualMode(IZPV4870ManualMode** val) override;
    HRESULT get_Measure(IZPV4870Measure** val) override;
    HRESULT get_PulseMode(IZPV4870PulseMode** val) override;
    HRESULT get_Result(IZPV4870Result** val) override;
    HRESULT get_StepMode(IZPV4870StepMode** val) override;
    HRESULT get_OutputPhases(IIviACPwrOutputPhases** val) override;
    HRESULT get_ArbWaveform(IIviACPwrArbWaveform** val) override;

    std::span<const RepCapInfo> RepCapTable() const override;

    // IIviComponentIdentity
    HRESULT get_Description(BSTR* val) override;
    HRESULT get_Revision(BSTR* val) override;
    HRESULT get_Vendor(BSTR* val) override;

    // IIviDriverIdentity
    HRESULT get_InstrumentManufacturer(BSTR* val) override;
    HRESULT get_InstrumentModel(BSTR* val) override;
    HRESULT get_InstrumentFirmwareRevision(BSTR* val) override;
    HRESULT get_Identifier(BSTR* val) override;
    HRESULT get_SupportedInstrumentModels(BSTR* val) override;
    HRESULT get_SpecificationMajorVersion(LONG* val) override;
    HRESULT get_SpecificationMinorVersion(LONG* val) override;
    HRESULT get_GroupCapabilities(BSTR* val) override;

    // IIviDriverOperation
    HRESULT get_LogicalName(BSTR* val) override;
    HRESULT get_IoResourceDescriptor(BSTR* val) override;
    HRESULT get_Cache(VARIANT_BOOL* val) override;
    HRESULT put_Cache(VARIANT_BOOL val) override;
    HRESULT get_InterchangeCheck(VARIANT_BOOL* val) override;
    HRESULT put_InterchangeCheck(VARIANT_BOOL val) override;
    HRESULT get_QueryInstrumentStatus(VARIANT_BOOL* val) override;
    HRESULT put_QueryInstrumentStatus(VARIANT_BOOL val) override;
    HRESULT get_RangeCheck(VARIANT_BOOL* val) override;
    HRESULT put_RangeCheck(VARIANT_BOOL val) override;
    HRESULT get_RecordCoercions(VARIANT_BOOL* val) override;
    HRESULT put_RecordCoercions(VARIANT_BOOL val) override;
    HRESULT get_Simulate(VARIANT_BOOL* val) override;
    HRESULT put_Simulate(VARIANT_BOOL val) override;
    HRESULT get_DriverSetup(BSTR* val) override;
    HRESULT InvalidateAllAttributes() override;
    HRESULT ClearInterchangeWarnings() override;
    HRESULT GetNextInterchangeWarning(BSTR* val) override;
    HRESULT ResetInterchangeCheck() override;
    HRESULT GetNextCoercionRecord(BSTR* val) override;

    // IIviDriverUtility
    HRESULT Reset() override;
    HRESULT ResetWithDefaults() override;
    HRESULT Disable() override;
    HRESULT SelfTest(LONG* TestResult, BSTR* TestMessage) override;
    HRESULT ErrorQuery(LONG* ErrorCode, BSTR* ErrorMessage) override;
    HRESULT LockObject() override;
    HRESULT UnlockObject() override;

    // IZPV4870TraceEvents: outside the frame, so registering never waits for a call in progress.
    HRESULT Advise(IZPV4870TraceEventSink* sink, DWORD* cookie) override { return Trace().Advise(sink, cookie); }
    HRESULT Unadvise(DWORD cookie) override { return Trace().Unadvise(cookie); }

    // IZPV4870DirectRead
    HRESULT ReadInto(BYTE* Buffer, LONG Count, LONG* ReturnCount) override;

    // One of this object's interfaces, with a reference for the caller.
    template <class I>
    HRESULT GetInterface(I** pp) {
        return static_cast<IZPV4870*>(this)->QueryInterface(ZPV_IID_OF(I), reinterpret_cast<void**>(pp));
    }

protected:
    HRESULT ResetThroughInterface() override;
    IUnknown* ControllingUnknown() override { return static_cast<IZPV4870*>(this); }

private:
    // The work of the members, run inside their frames.
    HRESULT ResetImpl();
    HRESULT SelfTestImpl(LONG* result, BSTR* message);
    HRESULT ErrorQueryImpl(LONG* code, BSTR* message);
    HRESULT PutFlag(bool OptionFlags::*flag, VARIANT_BOOL val);
    HRESULT RestoreInitialOptions();
};

}  // namespace zpv::driver
