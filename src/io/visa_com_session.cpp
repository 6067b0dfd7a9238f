#include "io/visa_com_session.h"

namespace zpv::io {

HRESULT CVisaComSession::Open(std::string_view descriptor, IInstrErrorPoller* poller,
                              errors::IErrorReporter* reporter) {
    (void)descriptor;
    poller_ = poller;
    reporter_ = reporter;
    // No transport is registered yet, so every descriptor names a resource we cannot reach.
    return reporter_->ReportResourceUnknown();
}

HRESULT CVisaComSession::Close() {
    open_ = false;
    return S_OK;
}

HRESULT CVisaComSession::NotConnected() {
    return reporter_ ? reporter_->ReportNotInitialized() : errors::StatusOfMessage(0x0C).status;
}

HRESULT CVisaComSession::GetInterfaceType(InterfaceType* type) {
    if (!open_) return NotConnected();
    *type = InterfaceType::Other;
    return S_OK;
}

HRESULT CVisaComSession::ConfigureSerial(const SerialSettings&) { return open_ ? S_OK : NotConnected(); }

HRESULT CVisaComSession::WriteString(std::string_view, LONG) { return NotConnected(); }

HRESULT CVisaComSession::ReadString(std::string&, LONG) { return NotConnected(); }

HRESULT CVisaComSession::WriteCommand(std::string_view, LONG) { return NotConnected(); }

HRESULT CVisaComSession::QueryText(std::string_view, std::string&, LONG) { return NotConnected(); }

HRESULT CVisaComSession::QueryInteger(std::string_view, LONG&, LONG) { return NotConnected(); }

HRESULT CVisaComSession::ReadBytes(SAFEARRAY**) { return NotConnected(); }
HRESULT CVisaComSession::ReadString(BSTR*) { return NotConnected(); }
HRESULT CVisaComSession::WriteBytes(SAFEARRAY*, LONG*) { return NotConnected(); }
HRESULT CVisaComSession::WriteString(BSTR) { return NotConnected(); }
HRESULT CVisaComSession::GetTimeout(LONG*) { return NotConnected(); }
HRESULT CVisaComSession::SetTimeout(LONG) { return NotConnected(); }
HRESULT CVisaComSession::DirectIoObject(IUnknown**) { return NotConnected(); }

}  // namespace zpv::io
