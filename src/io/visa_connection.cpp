#include "io/visa_connection.h"

#include "io/io_status.h"
#include "platform/visa/status.h"

namespace zpv::io {

VisaConnection::VisaConnection(std::unique_ptr<visa::MessageSession> session, errors::IErrorReporter& reporter)
    : session_(std::move(session)), reporter_(reporter) {}

VisaConnection::~VisaConnection() {
    if (session_) session_->Close();
}

HRESULT VisaConnection::Check(visa::ViStatus status) {
    if (status == visa::VI_SUCCESS_MAX_CNT) return kStatusMoreData;
    if (status >= 0) return S_OK;
    const std::string description = visa::StatusDescription(status);
    if (status == visa::VI_ERROR_TMO) return reporter_.Report<errors::MessageId::IoTimeout>({}, description);
    return reporter_.Report<errors::MessageId::IoGeneral>({}, description);
}

template <class Op>
HRESULT VisaConnection::WithTimeout(LONG timeoutMs, Op op) {
    if (timeoutMs == kUseSessionTimeout) return op();
    const visa::ViUInt32 saved = session_->Timeout();
    HRESULT hr = Check(session_->SetTimeout(ToAttributeTimeout(timeoutMs)));
    if (SUCCEEDED(hr)) hr = op();
    session_->SetTimeout(saved);
    return hr;
}

HRESULT VisaConnection::Read(BYTE* buffer, LONG count, LONG* actual, LONG timeoutMs) {
    *actual = 0;
    if (count < 0) return E_INVALIDARG;
    return WithTimeout(timeoutMs, [&] {
        std::size_t returned = 0;
        const visa::ViStatus status = session_->Read(buffer, static_cast<std::size_t>(count), &returned);
        *actual = static_cast<LONG>(returned);
        return Check(status);
    });
}

HRESULT VisaConnection::Write(const BYTE* data, LONG count, LONG* written, LONG timeoutMs) {
    *written = 0;
    if (count < 0) return E_INVALIDARG;
    return WithTimeout(timeoutMs, [&] {
        std::size_t returned = 0;
        const visa::ViStatus status = session_->Write(data, static_cast<std::size_t>(count), &returned);
        *written = static_cast<LONG>(returned);
        return Check(status);
    });
}

HRESULT VisaConnection::GetAttributes(SessionAttributes* attributes) {
    *attributes = session_->Attributes();
    return S_OK;
}
HRESULT VisaConnection::SetAttributes(const SessionAttributes& attributes) {
    return Check(session_->SetAttributes(attributes));
}

HRESULT VisaConnection::Close() {
    if (!session_) return S_OK;
    const visa::ViStatus status = session_->Close();
    return status < 0 ? Check(status) : S_OK;
}

HRESULT VisaConnection::ReadStatusByte(SHORT* statusByte) {
    visa::ViUInt16 value = 0;
    const HRESULT hr = Check(session_->ReadStatusByte(&value));
    if (SUCCEEDED(hr)) *statusByte = static_cast<SHORT>(value);
    return hr;
}

HRESULT VisaConnection::Lock(LockMode mode, LONG timeoutMs, std::string_view requestedKey, std::string* accessKey) {
    const visa::ViUInt32 lockType = mode == LockMode::Shared ? visa::VI_SHARED_LOCK : visa::VI_EXCLUSIVE_LOCK;
    return Check(session_->Lock(lockType, ToAttributeTimeout(timeoutMs), requestedKey, accessKey));
}

HRESULT VisaConnection::Unlock() { return Check(session_->Unlock()); }

HRESULT VisaConnection::ReadAttribute(visa::ViAttr id, visa::AttributeValue* value) {
    return Check(visa::ReadSessionAttribute(*session_, id, value));
}

// Not reported: the next transfer says whether the instrument is still there.
HRESULT VisaConnection::DiscardLateInput() {
    const visa::ViStatus status = session_->DiscardLateInput();
    if (!visa::Failed(status)) return S_OK;
    const std::string description = "An earlier command failed and its answer may still come; it could not be "
                                    "discarded, so this command was not sent: " + visa::StatusDescription(status);
    if (status == visa::VI_ERROR_TMO) return reporter_.Report<errors::MessageId::IoTimeout>({}, description);
    return reporter_.Report<errors::MessageId::IoGeneral>({}, description);
}

HRESULT VisaConnection::GetInterfaceType(InterfaceType* type) {
    // The session numbers interfaces one below VISA, up to USB; anything else is "other".
    const auto visaType = static_cast<int>(session_->Interface());
    *type = (visaType >= 1 && visaType <= 7) ? static_cast<InterfaceType>(visaType - 1) : InterfaceType::Other;
    return S_OK;
}

HRESULT VisaConnection::GetResourceClass(std::string* resourceClass) {
    *resourceClass = session_->ResourceClass();
    return S_OK;
}

HRESULT VisaConnection::GetResourceName(std::string* resourceName) {
    *resourceName = session_->ResourceName();
    return S_OK;
}

HRESULT VisaConnection::SetSerialAttribute(visa::SerialAttribute attribute, ULONG value) {
    return Check(session_->SetSerialAttribute(attribute, value));
}

HRESULT VisaConnector::Connect(std::string_view descriptor, LONG openTimeoutMs, errors::IErrorReporter& reporter,
                               std::unique_ptr<IInstrumentConnection>* connection) {
    last_ = nullptr;
    lastFailure_.clear();
    visa::ResourceManager manager;
    std::unique_ptr<visa::MessageSession> session;
    const visa::ViStatus status = manager.Open(descriptor, ToAttributeTimeout(openTimeoutMs), &session);
    if (status < 0) lastFailure_ = manager.ErrorDetail();
    // A resource that is not there, or a name that names nothing, is an unknown resource; a peer
    // that does not answer in time is a timeout; any other failure to open is the transport's.
    // Each keeps the transport's reason as its detail.
    if (status == visa::VI_ERROR_RSRC_NFOUND || status == visa::VI_ERROR_INV_RSRC_NAME)
        return reporter.Report<errors::MessageId::ResourceUnknown>(lastFailure_);
    if (status == visa::VI_ERROR_TMO)
        return reporter.Report<errors::MessageId::IoTimeout>(lastFailure_, "Failed to open VISA resource.");
    if (status < 0) return reporter.Report<errors::MessageId::IoGeneral>(lastFailure_, "Failed to open VISA resource.");
    auto made = std::make_unique<VisaConnection>(std::move(session), reporter);
    last_ = made.get();
    *connection = std::move(made);
    return S_OK;
}

}  // namespace zpv::io
