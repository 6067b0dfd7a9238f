// Identity, operation options and utility members of the driver class.
#include <string>

#include "core/option_string.h"
#include "objects/zpv4870_driver.h"
#include "platform/com/text_conversion.h"

namespace zpv::driver {

namespace {

VARIANT_BOOL ToVariantBool(bool b) { return b ? VARIANT_TRUE : VARIANT_FALSE; }

HRESULT ReturnText(BSTR* val, std::string_view text) {
    *val = com::AllocBstr(text);
    return *val ? S_OK : E_OUTOFMEMORY;
}

}  // namespace

// --- IIviComponentIdentity / IIviDriverIdentity ---------------------------------------------------

#define ZPV_TEXT_GETTER(Interface, Member, gate, expr)                                            \
    HRESULT ZPV4870::get_##Member(BSTR* val) {                                                     \
        ZPV_FRAME(Interface, get_##Member, gate, [&] { return ReturnText(val, expr); }, RetVal(val)); \
    }

ZPV_TEXT_GETTER(IIviComponentIdentity, Description, Gate::Always, Constants().description)
ZPV_TEXT_GETTER(IIviComponentIdentity, Revision, Gate::Always, Constants().revision)
ZPV_TEXT_GETTER(IIviComponentIdentity, Vendor, Gate::Always, Constants().vendor)
ZPV_TEXT_GETTER(IIviDriverIdentity, Identifier, Gate::Always, Constants().identifier)
ZPV_TEXT_GETTER(IIviDriverIdentity, SupportedInstrumentModels, Gate::Always, Constants().supportedModels)
ZPV_TEXT_GETTER(IIviDriverIdentity, GroupCapabilities, Gate::Initialized, Constants().groupCapabilities)
ZPV_TEXT_GETTER(IIviDriverIdentity, InstrumentManufacturer, Gate::Initialized,
                IsSimulating() ? Constants().vendor : CDriver::InstrumentManufacturer())
ZPV_TEXT_GETTER(IIviDriverIdentity, InstrumentModel, Gate::Initialized, InstrumentModelText())
ZPV_TEXT_GETTER(IIviDriverIdentity, InstrumentFirmwareRevision, Gate::Initialized,
                IsSimulating() ? "Sim" + Constants().revision : CDriver::InstrumentFirmwareRevision())
ZPV_TEXT_GETTER(IIviDriverOperation, LogicalName, Gate::Initialized, CDriver::LogicalName())
ZPV_TEXT_GETTER(IIviDriverOperation, IoResourceDescriptor, Gate::Initialized, ResourceDescriptor())
ZPV_TEXT_GETTER(IIviDriverOperation, DriverSetup, Gate::Initialized, DriverSetupText())
#undef ZPV_TEXT_GETTER

HRESULT ZPV4870::get_SpecificationMajorVersion(LONG* val) {
    ZPV_FRAME(IIviDriverIdentity, get_SpecificationMajorVersion, Gate::Always, [&] {
        *val = Constants().specificationMajorVersion;
        return S_OK;
    }, RetVal(val));
}

HRESULT ZPV4870::get_SpecificationMinorVersion(LONG* val) {
    ZPV_FRAME(IIviDriverIdentity, get_SpecificationMinorVersion, Gate::Always, [&] {
        *val = Constants().specificationMinorVersion;
        return S_OK;
    }, RetVal(val));
}

// --- IIviDriverOperation -----------------------------------------------------------------------

#define ZPV_FLAG_GETTER(Member, field)                                                             \
    HRESULT ZPV4870::get_##Member(VARIANT_BOOL* val) {                                             \
        ZPV_FRAME(IIviDriverOperation, get_##Member, Gate::Initialized, [&] {                      \
            *val = ToVariantBool(Options().field);                                                 \
            return S_OK;                                                                           \
        }, RetVal(val));                                                                           \
    }

ZPV_FLAG_GETTER(Cache, cache)
ZPV_FLAG_GETTER(InterchangeCheck, interchangeCheck)
ZPV_FLAG_GETTER(QueryInstrumentStatus, queryInstrumentStatus)
ZPV_FLAG_GETTER(RangeCheck, rangeCheck)
ZPV_FLAG_GETTER(RecordCoercions, recordCoercions)
ZPV_FLAG_GETTER(Simulate, simulate)
#undef ZPV_FLAG_GETTER

HRESULT ZPV4870::PutFlag(bool OptionFlags::*flag, VARIANT_BOOL val) {
    Options().*flag = val != VARIANT_FALSE;
    return S_OK;
}

HRESULT ZPV4870::put_Cache(VARIANT_BOOL val) {
    ZPV_FRAME(IIviDriverOperation, put_Cache, Gate::Initialized, [&] {
        PutFlag(&OptionFlags::cache, val);
        return val == VARIANT_FALSE ? InvalidateAllAttributes() : S_OK;
    }, In(val, "val"));
}

HRESULT ZPV4870::put_RangeCheck(VARIANT_BOOL val) {
    ZPV_FRAME(IIviDriverOperation, put_RangeCheck, Gate::Initialized,
              [&] { return PutFlag(&OptionFlags::rangeCheck, val); }, In(val, "val"));
}

HRESULT ZPV4870::put_RecordCoercions(VARIANT_BOOL val) {
    ZPV_FRAME(IIviDriverOperation, put_RecordCoercions, Gate::Initialized,
              [&] { return PutFlag(&OptionFlags::recordCoercions, val); }, In(val, "val"));
}

HRESULT ZPV4870::put_QueryInstrumentStatus(VARIANT_BOOL val) {
    ZPV_FRAME(IIviDriverOperation, put_QueryInstrumentStatus, Gate::Initialized, [&] {
        PutFlag(&OptionFlags::queryInstrumentStatus, val);
        return val != VARIANT_FALSE ? ClearStatus() : S_OK;
    }, In(val, "val"));
}

HRESULT ZPV4870::put_Simulate(VARIANT_BOOL val) {
    ZPV_FRAME(IIviDriverOperation, put_Simulate, Gate::Initialized, [&] {
        // A simulated session never starts talking to an instrument it never opened.
        if (InitialOptions().simulate && val == VARIANT_FALSE) return Reporter().Report<errors::MessageId::CannotChangeSimulationState>();
        return PutFlag(&OptionFlags::simulate, val);
    }, In(val, "val"));
}

HRESULT ZPV4870::put_InterchangeCheck(VARIANT_BOOL val) {
    ZPV_FRAME(IIviDriverOperation, put_InterchangeCheck, Gate::Initialized, [&] {
        if (val != VARIANT_FALSE) return Reporter().Report<errors::MessageId::EnumNotSupported>({}, "VARIANT_TRUE", "val", "put_InterchangeCheck");
        return PutFlag(&OptionFlags::interchangeCheck, val);
    }, In(val, "val"));
}

HRESULT ZPV4870::InvalidateAllAttributes() {
    // Nothing is cached from the instrument; what there is to invalidate are the simulated values.
    ZPV_FRAME(IIviDriverOperation, InvalidateAllAttributes, Gate::Initialized, [&] {
        InvalidateSimulatedValues();
        return S_OK;
    });
}

HRESULT ZPV4870::ClearInterchangeWarnings() {
    ZPV_FRAME(IIviDriverOperation, ClearInterchangeWarnings, Gate::Initialized,
              [&] { return Reporter().Report<errors::MessageId::MethodNotSupported>({}, "ClearInterchangeWarnings"); });
}

HRESULT ZPV4870::ResetInterchangeCheck() {
    ZPV_FRAME(IIviDriverOperation, ResetInterchangeCheck, Gate::Initialized,
              [&] { return Reporter().Report<errors::MessageId::MethodNotSupported>({}, "ResetInterchangeCheck"); });
}

HRESULT ZPV4870::GetNextInterchangeWarning(BSTR* val) {
    ZPV_FRAME(IIviDriverOperation, GetNextInterchangeWarning, Gate::Initialized,
              [&] { return Reporter().Report<errors::MessageId::MethodNotSupported>({}, "GetNextInterchangeWarning"); }, RetVal(val));
}

HRESULT ZPV4870::GetNextCoercionRecord(BSTR* val) {
    // No member of this driver coerces a value, so the record queue is always empty.
    ZPV_FRAME(IIviDriverOperation, GetNextCoercionRecord, Gate::Initialized, [&] { return ReturnText(val, ""); },
              RetVal(val));
}

// --- IIviDriverUtility -------------------------------------------------------------------------

HRESULT ZPV4870::ResetImpl() {
    HRESULT hr = S_OK;
    if (!IsSimulating()) {
        LONG opc = 0;
        hr = Io().QueryfTimed(Constants().resetTimeoutMs, "*RST;*OPC?", "%d", &opc);
        if (FAILED(hr)) return hr;
    }
    HRESULT hook = OnReset();
    for (repcap::CRepCap* child : AllRepCaps())
        if (SUCCEEDED(hook)) hook = child->OnReset();
    InvalidateSimulatedValues();
    return FAILED(hook) ? hook : hr;
}

HRESULT ZPV4870::Reset() { ZPV_FRAME(IIviDriverUtility, Reset, Gate::Initialized, [&] { return ResetImpl(); }); }

HRESULT ZPV4870::RestoreInitialOptions() {
    // Through the interface, so each put runs its own frame as a caller's would.
    IIviDriverOperation* operation = this;
    const OptionFlags& initial = InitialOptions();
    const struct {
        HRESULT (IIviDriverOperation::*put)(VARIANT_BOOL);
        bool value;
    } restores[] = {
        {&IIviDriverOperation::put_Cache, initial.cache},
        {&IIviDriverOperation::put_InterchangeCheck, initial.interchangeCheck},
        {&IIviDriverOperation::put_QueryInstrumentStatus, initial.queryInstrumentStatus},
        {&IIviDriverOperation::put_RangeCheck, initial.rangeCheck},
        {&IIviDriverOperation::put_RecordCoercions, initial.recordCoercions},
        {&IIviDriverOperation::put_Simulate, initial.simulate},
    };
    for (const auto& restore : restores) {
        HRESULT hr = (operation->*restore.put)(ToVariantBool(restore.value));
        if (FAILED(hr)) return hr;
    }
    return S_OK;
}

HRESULT ZPV4870::ResetWithDefaults() {
    ZPV_FRAME(IIviDriverUtility, ResetWithDefaults, Gate::Initialized, [&] {
        HRESULT hr = ResetImpl();
        return FAILED(hr) ? hr : RestoreInitialOptions();
    });
}

HRESULT ZPV4870::Disable() {
    ZPV_FRAME(IIviDriverUtility, Disable, Gate::Initialized, [&] {
        if (IsSimulating()) return S_OK;
        LONG opc = 0;
        return Io().QueryfTimed(Constants().disableTimeoutMs, "*RST;*OPC?", "%d", &opc);
    });
}

HRESULT ZPV4870::SelfTestImpl(LONG* result, BSTR* message) {
    if (!IsSimulating()) {
        HRESULT hr = Io().QueryfTimed(Constants().selfTestTimeoutMs, "*TST?", "%d", result);
        if (FAILED(hr)) return hr;
    }
    return ReturnText(message, *result == 0 ? "Selftest passed" : "Selftest failed");
}

HRESULT ZPV4870::SelfTest(LONG* TestResult, BSTR* TestMessage) {
    if (TestMessage && *TestMessage) SysFreeString(std::exchange(*TestMessage, nullptr));
    ZPV_FRAME(IIviDriverUtility, SelfTest, Gate::Initialized, [&] { return SelfTestImpl(TestResult, TestMessage); },
              RetVal(TestResult, "TestResult"), RetVal(TestMessage, "TestMessage"));
}

HRESULT ZPV4870::ErrorQueryImpl(LONG* code, BSTR* message) {
    if (IsSimulating()) return ReturnText(message, "No error.");

    // The status poll would itself query the error state; keep it out of this exchange.
    const bool pollWasOn = Options().queryInstrumentStatus;
    Options().queryInstrumentStatus = false;
    std::string text;
    HRESULT hr = Io().Queryf(":SYST:ERR?", "%d,%$Ct", code, &text);
    Options().queryInstrumentStatus = pollWasOn;
    if (FAILED(hr)) return Reporter().Report<errors::MessageId::UnexpectedResponse>();

    // The message may come quoted: blanks, then quotes, then blanks again go.
    std::string_view rest = TrimWhite(text);
    while (!rest.empty() && rest.back() == '"') rest.remove_suffix(1);
    while (!rest.empty() && rest.front() == '"') rest.remove_prefix(1);
    return ReturnText(message, TrimWhite(rest));
}

HRESULT ZPV4870::ErrorQuery(LONG* ErrorCode, BSTR* ErrorMessage) {
    if (ErrorMessage && *ErrorMessage) SysFreeString(std::exchange(*ErrorMessage, nullptr));
    ZPV_FRAME(IIviDriverUtility, ErrorQuery, Gate::Initialized, [&] { return ErrorQueryImpl(ErrorCode, ErrorMessage); },
              RetVal(ErrorCode, "ErrorCode"), RetVal(ErrorMessage, "ErrorMessage"));
}

HRESULT ZPV4870::LockObject() {
    ZPV_FRAME(IIviDriverUtility, LockObject, Gate::Initialized,
              [&] { return Reporter().Report<errors::MessageId::MethodNotSupported>({}, "LockObject"); });
}

HRESULT ZPV4870::UnlockObject() {
    ZPV_FRAME(IIviDriverUtility, UnlockObject, Gate::Initialized,
              [&] { return Reporter().Report<errors::MessageId::MethodNotSupported>({}, "UnlockObject"); });
}

}  // namespace zpv::driver
