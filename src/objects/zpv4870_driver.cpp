// Construction, interfaces and the IIviDriver members of the ZPV4870 driver class.
#include "objects/zpv4870_driver.h"

#include <memory>

#include "errors/zpv4870_error_reporter.h"
#include "platform/com/text_conversion.h"
#include "objects/zpv4870_output_phase.h"

namespace zpv::driver {

namespace {

DriverConstants Zpv4870Constants() {
    DriverConstants c;
    c.identifier = "ZPV4870";
    c.vendor = "Kaltrix";
    c.description = "IVI Driver for ZPV4870";
    c.revision = "1.0.0.0";
    c.groupCapabilities =
        "IviACPwrBase,IviACPwrMeasurement,IviACPwrPhase,IviACPwrExternalSync,IviACPwrCurrentProtection,"
        "IviACPwrVoltageProtection,IviACPwrArbWaveform,IviACPwrImpedance,IviACPwrDCGeneration,"
        "IviACPwrVoltageRamp,IviACPwrCurrentRamp,IviACPwrFrequencyRamp";
    c.supportedModels =
        "ZPV-4803-Advanced,ZPV-4809-Advanced,ZPV-4816-Advanced,ZPV-4824-Advanced,ZPV-4832-Advanced,"
        "ZPV-4848-Advanced,ZPV-4803-Standard,ZPV-4809-Standard,ZPV-4816-Standard,ZPV-4824-Standard,"
        "ZPV-4832-Standard,ZPV-4848-Standard";
    c.defaultSimulationModel = "ZPV-4803-Advanced";
    c.specificationMajorVersion = 1;
    c.specificationMinorVersion = 2;
    c.interchangeCheckSupported = false;
    c.selfTestTimeoutMs = 2000;
    c.disableTimeoutMs = 2000;
    c.resetTimeoutMs = 2000;
    return c;
}

}  // namespace

ZPV4870::ZPV4870() : _Driver<ZPV4870>(Zpv4870Constants(), nullptr) {
    SetReporter(std::make_unique<errors::CZPV4870ErrorReporter>(static_cast<const ICallContextProvider*>(this)));
}

ZPV4870::~ZPV4870() = default;

HRESULT ZPV4870::CreateInstance(IUnknown* outer, REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (outer) {
        // A part of another object: only its inner IUnknown may be asked for.
        if (riid != IID_IUnknown) return CLASS_E_NOAGGREGATION;
        return com::CComAggObject<ZPV4870>::CreateInstance(outer, reinterpret_cast<IUnknown**>(ppv));
    }
    com::CComObject<ZPV4870>* object = nullptr;
    HRESULT hr = com::CComObject<ZPV4870>::CreateInstance(&object);
    if (FAILED(hr)) return hr;
    object->AddRef();
    hr = object->QueryInterface(riid, ppv);
    object->Release();
    return hr;
}

void* ZPV4870::CastTo(REFIID riid) {
    if (riid == IID_IUnknown || riid == IID_IIviDriver)
        return riid == IID_IUnknown ? static_cast<void*>(static_cast<IUnknown*>(static_cast<IZPV4870*>(this)))
                                    : static_cast<void*>(static_cast<IIviDriver*>(static_cast<IZPV4870*>(this)));
    if (riid == IID_IIviComponentIdentity)
        return static_cast<IIviComponentIdentity*>(static_cast<IIviDriverIdentity*>(this));
    void* found = nullptr;
    auto match = [&]<class... Is>() { ((found = found ? found : com::InterfaceIf<Is>(this, riid)), ...); };
    match.template operator()<ISupportErrorInfo, IZPV4870, IIviDriverOperation, IIviDriverIdentity,
                              IIviDriverUtility, IZPV4870OutputPhases, IIviACPwr, IIviACPwrOutputPhases,
                              IIviACPwrArbWaveform, IIviACPwrExternalSync, IZPV4870System,
                              IZPV4870ExecutionConfigurations, IZPV4870Execution, IZPV4870ListModeFile,
                              IZPV4870ListModeProgram, IZPV4870ListModeSequence, IZPV4870ListMode,
                              IZPV4870ManualModeFile, IZPV4870ManualMode, IZPV4870Measure,
                              IZPV4870PulseModeFile, IZPV4870PulseMode, IZPV4870Result, IZPV4870StepModeFile,
                              IZPV4870StepMode, IZPV4870TraceEvents, IZPV4870DirectRead>();
    return found;
}

HRESULT ZPV4870::InterfaceSupportsErrorInfo(REFIID riid) {
    // Every interface of the driver class except the bookkeeping ones reports errors.
    if (riid == IID_IUnknown || riid == IID_ISupportErrorInfo || riid == IID_IZPV4870TraceEvents) return S_FALSE;
    return CastTo(riid) ? S_OK : S_FALSE;
}

// --- IIviDriver ---------------------------------------------------------------------------------

HRESULT ZPV4870::get_DriverOperation(IIviDriverOperation** val) {
    ZPV_FRAME(IIviDriver, get_DriverOperation, Gate::Always, [&] { return GetInterface(val); }, RetVal(val));
}

HRESULT ZPV4870::get_Identity(IIviDriverIdentity** val) {
    ZPV_FRAME(IIviDriver, get_Identity, Gate::Always, [&] { return GetInterface(val); }, RetVal(val));
}

HRESULT ZPV4870::get_Utility(IIviDriverUtility** val) {
    ZPV_FRAME(IIviDriver, get_Utility, Gate::Always, [&] { return GetInterface(val); }, RetVal(val));
}

HRESULT ZPV4870::Initialize(BSTR ResourceName, VARIANT_BOOL IdQuery, VARIANT_BOOL Reset, BSTR OptionString) {
    ZPV_FRAME(IIviDriver, Initialize, Gate::Always, [&] {
        const std::string resource = com::Utf8FromBstr(ResourceName);
        return InitializeSession(ResourceName ? &resource : nullptr, IdQuery != VARIANT_FALSE,
                                 Reset != VARIANT_FALSE, com::Utf8FromBstr(OptionString));
    }, In(ResourceName, "ResourceName"), In(IdQuery, "IdQuery"), In(Reset, "Reset"), In(OptionString, "OptionString"));
}

HRESULT ZPV4870::get_Initialized(VARIANT_BOOL* val) {
    ZPV_FRAME(IIviDriver, get_Initialized, Gate::Always, [&] {
        *val = IsInitialized() ? VARIANT_TRUE : VARIANT_FALSE;
        return S_OK;
    }, RetVal(val));
}

HRESULT ZPV4870::Close() {
    ZPV_FRAME(IIviDriver, Close, Gate::Initialized, [&] { return CloseSession(); });
}

// --- IZPV4870DirectRead --------------------------------------------------------------------------

HRESULT ZPV4870::ReadInto(BYTE* Buffer, LONG Count, LONG* ReturnCount) {
    ZPV_FRAME(IZPV4870DirectRead, ReadInto, Gate::Initialized, [&]() -> HRESULT {
        if (IsSimulating())
            return Reporter().Report<errors::MessageId::IoGeneral>({}, members::kNoDirectIoInSimulation);
        return Io().ReadInto(Buffer, Count, ReturnCount);
    }, In(Count, "Count"), RetVal(ReturnCount, "ReturnCount"));
}

// --- Root groups ----------------------------------------------------------------------------------

#define ZPV_GROUP_GETTER(Interface, Member, Group)                                                      \
    HRESULT ZPV4870::get_##Member(Group** val) {                                                         \
        ZPV_FRAME(Interface, get_##Member, Gate::Always, [&] { return GetInterface(val); }, RetVal(val)); \
    }
ZPV_GROUP_GETTER(IZPV4870, OutputPhases, IZPV4870OutputPhases)
ZPV_GROUP_GETTER(IZPV4870, System, IZPV4870System)
ZPV_GROUP_GETTER(IZPV4870, Execution, IZPV4870Execution)
ZPV_GROUP_GETTER(IZPV4870, ListMode, IZPV4870ListMode)
ZPV_GROUP_GETTER(IZPV4870, ManualMode, IZPV4870ManualMode)
ZPV_GROUP_GETTER(IZPV4870, Measure, IZPV4870Measure)
ZPV_GROUP_GETTER(IZPV4870, PulseMode, IZPV4870PulseMode)
ZPV_GROUP_GETTER(IZPV4870, Result, IZPV4870Result)
ZPV_GROUP_GETTER(IZPV4870, StepMode, IZPV4870StepMode)
ZPV_GROUP_GETTER(IIviACPwr, OutputPhases, IIviACPwrOutputPhases)
ZPV_GROUP_GETTER(IIviACPwr, ArbWaveform, IIviACPwrArbWaveform)
#undef ZPV_GROUP_GETTER

std::span<const RepCapInfo> ZPV4870::RepCapTable() const {
    static const RepCapInfo table[] = {
        {kPhaseClassName, &repcap::ZPV4870OutputPhase::Create, repcap::ZPV4870OutputPhase::kPhysicalNames},
    };
    return table;
}

HRESULT ZPV4870::ResetThroughInterface() { return static_cast<IIviDriverUtility*>(this)->Reset(); }

}  // namespace zpv::driver
