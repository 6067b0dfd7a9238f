#include "errors/error_reporter.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <new>
#include <utility>

#include "context/call_context.h"
#include "errors/message_formatter.h"
#include "platform/com/text_conversion.h"
#include "resources/message_table.h"

namespace zpv::errors {

namespace {

// Longest internal-error text, in characters.
constexpr std::size_t kMaxInternalErrorChars = 500;

template <class T>
std::string Sprintf(const char* format, T value) {
    char small[64];
    const int n = std::snprintf(small, sizeof small, format, value);
    if (n < 0) return {};
    if (static_cast<std::size_t>(n) < sizeof small) return std::string(small, static_cast<std::size_t>(n));
    std::string text(static_cast<std::size_t>(n), '\0');
    std::snprintf(text.data(), text.size() + 1, format, value);
    return text;
}

// The single conversion of a caller's printf format. The value's type has to match its length
// modifier ("%d" takes an int, not a long), so the caller's number is converted to suit.
struct Conversion {
    std::string_view length;
    char letter = '\0';
};

bool SingleConversion(const char* format, Conversion& conversion) {
    if (!format) return false;
    int count = 0;
    for (const char* p = format; *p; ++p) {
        if (*p != '%') continue;
        if (p[1] == '%') {
            ++p;
            continue;
        }
        ++p;
        while (*p && std::strchr("-+ #0'", *p)) ++p;
        while (*p >= '0' && *p <= '9') ++p;
        if (*p == '.') {
            ++p;
            while (*p >= '0' && *p <= '9') ++p;
        }
        const char* lengthStart = p;
        while (*p && std::strchr("hlLqjzt", *p)) ++p;
        if (!*p) return false;
        conversion.length = std::string_view(lengthStart, static_cast<std::size_t>(p - lengthStart));
        conversion.letter = *p;
        ++count;
    }
    return count == 1;
}

std::string FormatInteger(const char* format, long value) {
    Conversion c;
    if (SingleConversion(format, c) && std::strchr("diouxX", c.letter)) {
        if (c.length.empty() || c.length == "h" || c.length == "hh") return Sprintf(format, static_cast<int>(value));
        if (c.length == "l") return Sprintf(format, value);
        if (c.length == "ll" || c.length == "q") return Sprintf(format, static_cast<long long>(value));
        if (c.length == "j") return Sprintf(format, static_cast<std::intmax_t>(value));
        if (c.length == "z") return Sprintf(format, static_cast<std::size_t>(value));
        if (c.length == "t") return Sprintf(format, static_cast<std::ptrdiff_t>(value));
    }
    return Sprintf("%ld", value);  // a format that cannot take an integer
}

std::string FormatReal(const char* format, double value) {
    Conversion c;
    if (SingleConversion(format, c) && std::strchr("fFeEgGaA", c.letter)) {
        if (c.length.empty() || c.length == "l") return Sprintf(format, value);
        if (c.length == "L") return Sprintf(format, static_cast<long double>(value));
    }
    return Sprintf("%0.15lg", value);  // a format that cannot take a real
}

// Makes a new error-information object the calling thread's current one. Publishing is best
// effort: the status the caller returns does not depend on it.
void Publish(const CLSID& coclass, const GUID& guid, std::string_view description, BSTR helpFile,
             DWORD helpContext) {
    CComPtr<ICreateErrorInfo> create;
    if (FAILED(CreateErrorInfo(&create))) return;
    create->SetGUID(guid);
    LPOLESTR progId = nullptr;
    if (SUCCEEDED(ProgIDFromCLSID(coclass, &progId)) && progId) create->SetSource(progId);
    CoTaskMemFree(progId);
    if (helpContext != 0) {
        create->SetHelpFile(helpFile);
        create->SetHelpContext(helpContext);
    }
    std::wstring text = com::WideFromUtf8(description);
    create->SetDescription(text.data());
    CComPtr<IErrorInfo> info;
    if (SUCCEEDED(create.QueryInterface(&info))) SetErrorInfo(0, info);
}

// A zero status would read as success to the caller although error information was published.
HRESULT ReturnedStatus(HRESULT status) { return status != 0 ? status : DISP_E_EXCEPTION; }

}  // namespace

MessageStatus StatusOfMessage(unsigned id) {
    if (const resources::MessageRow* row = resources::FindMessage(id)) return {row->status, row->helpContext};
    return {E_UNEXPECTED, 0};
}

CErrorReporter::CErrorReporter(const CLSID& coclass, const driver::ICallContextProvider* callContext)
    : coclass_(coclass), callContext_(callContext) {}

HRESULT CErrorReporter::ReportErrorText(HRESULT status, std::string_view text) {
    Publish(coclass_, GUID_NULL, text, nullptr, 0);
    return ReturnedStatus(status);
}

HRESULT CErrorReporter::ReportError(MessageId id, InsertList inserts) {
    std::string text;
    const HRESULT hr = FormatMessageText(id, inserts, text);
    if (FAILED(hr)) return hr;
    return RaiseErrorInfo(id, text);
}

HRESULT CErrorReporter::ReportErrorEx(MessageId id, std::string_view detail, InsertList inserts) {
    std::string text;
    const HRESULT hr = FormatMessageText(id, inserts, text);
    if (FAILED(hr)) return hr;
    if (!detail.empty()) text.append("\r\n").append(detail);
    return RaiseErrorInfo(id, text);
}

HRESULT CErrorReporter::FormatMessageText(MessageId id, InsertList inserts, std::string& text) {
    std::string formatted;
    std::string reason;
    if (FormatFromTable(static_cast<unsigned>(id), inserts, formatted, reason)) {
        text = std::move(formatted);
        return S_OK;
    }
    char internalError[kMaxInternalErrorChars + 1];
    std::snprintf(internalError, sizeof internalError,
                  "Internal Error: Unable to retrieve and format error message from message table.\n"
                  "Resource ID = %d\nLanguage ID = %d\nReason = '%s'",
                  static_cast<int>(id), 0, reason.c_str());
    return ReportErrorText(0, internalError);
}

HRESULT CErrorReporter::RaiseErrorInfo(MessageId id, std::string_view text) {
    CComBSTR helpFile;
    helpFile.Attach(com::AllocBstr(std::string_view(resources::kHelpFile)));
    if (!helpFile) throw std::bad_alloc();  // E_OUTOFMEMORY; the reporter's only exception

    const MessageStatus status = StatusOfMessage(static_cast<unsigned>(id));
    const driver::MethodInfo* method = callContext_ ? callContext_->CurrentMethodInfo() : nullptr;
    Publish(coclass_, method ? method->iid : GUID_NULL, text, helpFile, status.helpContext);
    return ReturnedStatus(status.status);
}

std::string CErrorReporter::CurrentMethodName() const {
    const driver::MethodInfo* method = callContext_ ? callContext_->CurrentMethodInfo() : nullptr;
    return method ? method->displayName : std::string();
}

// Invalid-value reports: message InvalidValue takes the value, the method and the parameter.

HRESULT IErrorReporter::ReportInvalidText(MethodRef method, std::string_view parameter, std::string_view value,
                                          std::string_view detail) {
    const std::string current = method.current ? CurrentMethodName() : std::string();
    return ReportErrorEx(MessageId::InvalidValue, detail, value, method.current ? current : method.name, parameter);
}

HRESULT IErrorReporter::ReportInvalidBoolean(MethodRef method, std::string_view parameter, bool value,
                                             std::string_view detail) {
    return ReportInvalidText(method, parameter, value ? "True" : "False", detail);
}

HRESULT IErrorReporter::ReportInvalidInteger(MethodRef method, std::string_view parameter, long value,
                                             const char* format, std::string_view detail) {
    return ReportInvalidText(method, parameter, FormatInteger(format, value), detail);
}

HRESULT IErrorReporter::ReportInvalidReal(MethodRef method, std::string_view parameter, double value,
                                          const char* format, std::string_view detail) {
    return ReportInvalidText(method, parameter, FormatReal(format, value), detail);
}

HRESULT IErrorReporter::ReportInvalidAutomationText(MethodRef method, std::string_view parameter, BSTR value,
                                                    std::string_view detail) {
    return ReportInvalidText(method, parameter, com::Utf8FromBstr(value), detail);
}

}  // namespace zpv::errors
