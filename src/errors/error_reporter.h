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

// The method an invalid-value report names: given, or the call in progress.
struct MethodRef {
    MethodRef(std::string_view method) : name(method) {}
    MethodRef(const char* method) : name(method) {}
    MethodRef(const std::string& method) : name(method) {}
    MethodRef(CurrentMethodTag) : current(true) {}
    std::string_view name;
    bool current = false;
};

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

    // Reports message Id: the detail (may be empty) goes after the text, the inserts into it.
    template <MessageId Id, class... Inserts>
    HRESULT Report(std::string_view detail = {}, const Inserts&... inserts) {
        return ReportErrorEx(Id, detail, inserts...);
    }

    // Invalid value (message "Invalid value '%1' for method '%2', parameter '%3'."): the value is
    // formatted first - booleans as "True"/"False", numbers with the caller's printf format. The
    // method is a name, or kCurrentMethod for the display name of the call in progress.
    HRESULT ReportInvalidBoolean(MethodRef method, std::string_view parameter, bool value,
                                 std::string_view detail = {});
    HRESULT ReportInvalidInteger(MethodRef method, std::string_view parameter, long value, const char* format,
                                 std::string_view detail = {});
    HRESULT ReportInvalidReal(MethodRef method, std::string_view parameter, double value, const char* format,
                              std::string_view detail = {});
    HRESULT ReportInvalidText(MethodRef method, std::string_view parameter, std::string_view value,
                              std::string_view detail = {});
    HRESULT ReportInvalidAutomationText(MethodRef method, std::string_view parameter, BSTR value,
                                        std::string_view detail = {});

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
