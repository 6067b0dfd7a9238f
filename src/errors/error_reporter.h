// Error reporting: every failure inside the object interface names a message id with its inserts
// and an optional detail; the reporter formats the text, publishes it as the calling thread's
// error information and returns the status the caller passes up unchanged.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "errors/message_id.h"
#include "zpv4870_runtime.h"

namespace zpv::driver {
class ICallContextProvider;
}

namespace zpv::errors {

// Tag for the invalid-value reports that take the method name from the call in progress.
struct CurrentMethodTag {};
inline constexpr CurrentMethodTag kCurrentMethod{};

using InsertList = std::span<const std::string_view>;

// Reports whose only argument is the detail text; one row per message id.
#define ZPV_DETAIL_ONLY_REPORTS(X)                                                               \
    X(AlreadyInitialized) X(BadlyFormedSelector) X(CannotChangeSimulationState) X(CannotOpenFile)  \
    X(UnrecoverableFailure) X(ChannelNameRequired) X(FileNotFound) X(IdQueryFailed)                \
    X(InstrumentStatus) X(InvalidFileFormat) X(InvalidPathName) X(MissingOptionName)               \
    X(MissingOptionValue) X(NotInitialized) X(OperationPending) X(OutOfMemory) X(FileRead)         \
    X(ResetFailed) X(ResourceUnknown) X(StatusNotAvailable) X(TooManyOpenFiles)                    \
    X(UnexpectedResponse) X(UnknownChannelName) X(UnknownNameInSelector)                           \
    X(UnknownPhysicalIdentifier) X(FileWrite) X(ErrorQueryNotSupported) X(IdQueryNotSupported)     \
    X(ResetNotSupported) X(RevisionQueryNotSupported) X(SelfTestNotSupported)                      \
    X(MeasurementNotInitiated) X(MeasurementGroupNotSupported) X(MeasurementTypeNotSupported)      \
    X(WaveformInUse) X(WaveformFixed) X(WaveformNotStored) X(WaveformExists) X(WaveformMemoryFull) \
    X(WaveformNameInvalid) X(PhasesNotIndependent) X(PhasesDiffer) X(VoltageProtectionTripped)     \
    X(CurrentProtectionTripped) X(OutputEnabled) X(WaveformDcOffset) X(CannotApplyToAllPhases)

class IErrorReporter {
public:
    // Publishes text with status and the null GUID, no message table involved. A zero status is
    // published and returned as DISP_E_EXCEPTION.
    virtual HRESULT ReportErrorText(HRESULT status, std::string_view text) = 0;

    // Formats message id with its inserts and publishes it.
    virtual HRESULT ReportError(MessageId id, InsertList inserts) = 0;
    template <class... Inserts>
    HRESULT ReportError(MessageId id, const Inserts&... inserts) {
        const std::string_view list[] = {std::string_view(inserts)..., {}};
        return ReportError(id, InsertList(list, sizeof...(Inserts)));
    }

    // As ReportError; a non-empty detail is appended after CR LF.
    virtual HRESULT ReportErrorEx(MessageId id, std::string_view detail, InsertList inserts) = 0;
    template <class... Inserts>
    HRESULT ReportErrorEx(MessageId id, std::string_view detail, const Inserts&... inserts) {
        const std::string_view list[] = {std::string_view(inserts)..., {}};
        return ReportErrorEx(id, detail, InsertList(list, sizeof...(Inserts)));
    }

    // Formats the message; on failure publishes the internal-error text and returns
    // DISP_E_EXCEPTION (text is then untouched).
    virtual HRESULT FormatMessageText(MessageId id, InsertList inserts, std::string& text) = 0;
    // Publishes text as the error information of message id; returns the id's status. Throws
    // std::bad_alloc (E_OUTOFMEMORY) when the help file name cannot be allocated.
    virtual HRESULT RaiseErrorInfo(MessageId id, std::string_view text) = 0;

    // Convenience reports, one per situation.
    HRESULT ReportIoError(std::string_view detail, std::string_view ioDescription) {
        return ReportErrorEx(MessageId::IoGeneral, detail, ioDescription);
    }
    HRESULT ReportIoTimeout(std::string_view detail, std::string_view ioDescription) {
        return ReportErrorEx(MessageId::IoTimeout, detail, ioDescription);
    }
    HRESULT ReportModelNotSupported(std::string_view detail, std::string_view feature) {
        return ReportErrorEx(MessageId::ModelNotSupported, detail, feature);
    }
    HRESULT ReportMethodNotSupported(std::string_view detail, std::string_view method) {
        return ReportErrorEx(MessageId::MethodNotSupported, detail, method);
    }
    HRESULT ReportMethodNotSupported(std::string_view method) { return ReportMethodNotSupported({}, method); }
    HRESULT ReportPropertyNotSupported(std::string_view detail, std::string_view property) {
        return ReportErrorEx(MessageId::PropertyNotSupported, detail, property);
    }
    HRESULT ReportPropertyNotSupported(std::string_view property) { return ReportPropertyNotSupported({}, property); }

    // Invalid value (message "Invalid value '%1' for method '%2', parameter '%3'."): the value is
    // formatted first - booleans as "True"/"False", numbers with the caller's printf format.
    HRESULT ReportInvalidBoolean(std::string_view method, std::string_view parameter, bool value,
                                 std::string_view detail = {});
    HRESULT ReportInvalidInteger(std::string_view method, std::string_view parameter, long value,
                                 const char* format, std::string_view detail = {});
    HRESULT ReportInvalidReal(std::string_view method, std::string_view parameter, double value,
                              const char* format, std::string_view detail = {});
    HRESULT ReportInvalidText(std::string_view method, std::string_view parameter, std::string_view value,
                              std::string_view detail = {});
    HRESULT ReportInvalidAutomationText(std::string_view method, std::string_view parameter, BSTR value,
                                        std::string_view detail = {});
    // The same, with the display name of the call in progress as the method.
    HRESULT ReportInvalidBoolean(CurrentMethodTag, std::string_view parameter, bool value,
                                 std::string_view detail = {});
    HRESULT ReportInvalidInteger(CurrentMethodTag, std::string_view parameter, long value, const char* format,
                                 std::string_view detail = {});
    HRESULT ReportInvalidReal(CurrentMethodTag, std::string_view parameter, double value, const char* format,
                              std::string_view detail = {});
    HRESULT ReportInvalidText(CurrentMethodTag, std::string_view parameter, std::string_view value,
                              std::string_view detail = {});
    HRESULT ReportInvalidAutomationText(CurrentMethodTag, std::string_view parameter, BSTR value,
                                        std::string_view detail = {});

    HRESULT ReportEnumNotSupported(std::string_view value, std::string_view parameter, std::string_view method) {
        return ReportError(MessageId::EnumNotSupported, value, parameter, method);
    }
    HRESULT ReportNullPointer(std::string_view method, std::string_view parameter) {
        return ReportError(MessageId::NullPointer, method, parameter);
    }
    HRESULT ReportInvalidRangeInSelector(std::string_view range, std::string_view repCapName) {
        return ReportError(MessageId::InvalidRangeInSelector, range, repCapName);
    }
    HRESULT ReportInvalidNumberOfLevelsInSelector(std::string_view detail, std::string_view repCapName) {
        return ReportErrorEx(MessageId::InvalidNumberOfLevelsInSelector, detail, repCapName);
    }
    HRESULT ReportBadOptionName(std::string_view detail, std::string_view name) {
        return ReportErrorEx(MessageId::BadOptionName, detail, name);
    }
    HRESULT ReportBadOptionValue(std::string_view detail, std::string_view value) {
        return ReportErrorEx(MessageId::BadOptionValue, detail, value);
    }

#define ZPV_DECLARE_DETAIL_REPORT(Name) \
    HRESULT Report##Name(std::string_view detail = {}) { return ReportErrorEx(MessageId::Name, detail); }
    ZPV_DETAIL_ONLY_REPORTS(ZPV_DECLARE_DETAIL_REPORT)
#undef ZPV_DECLARE_DETAIL_REPORT

protected:
    ~IErrorReporter() = default;
    // Display name of the call in progress ("" between calls), for the kCurrentMethod forms.
    virtual std::string CurrentMethodName() const = 0;
};

// The reporter of one driver object: formats from the driver's message table and publishes the
// error information with the coclass's ProgID as source and the IID of the running interface.
class CErrorReporter : public IErrorReporter {
public:
    CErrorReporter(const CLSID& coclass, const driver::ICallContextProvider* callContext);
    virtual ~CErrorReporter() = default;

    HRESULT ReportErrorText(HRESULT status, std::string_view text) override;
    HRESULT ReportError(MessageId id, InsertList inserts) override;
    HRESULT ReportErrorEx(MessageId id, std::string_view detail, InsertList inserts) override;
    HRESULT FormatMessageText(MessageId id, InsertList inserts, std::string& text) override;
    HRESULT RaiseErrorInfo(MessageId id, std::string_view text) override;
    using IErrorReporter::ReportError;
    using IErrorReporter::ReportErrorEx;

protected:
    std::string CurrentMethodName() const override;

private:
    CLSID coclass_;
    const driver::ICallContextProvider* callContext_;
};

// Status and help context of a message id; ids outside the table give E_UNEXPECTED and 0.
struct MessageStatus {
    HRESULT status;
    DWORD helpContext;
};
MessageStatus StatusOfMessage(unsigned id);

}  // namespace zpv::errors
