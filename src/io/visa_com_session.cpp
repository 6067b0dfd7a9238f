#include "io/visa_com_session.h"

#include <algorithm>
#include <cstring>

#include "io/io_failure.h"
#include "platform/com/text_conversion.h"

namespace zpv::io {

namespace {

constexpr std::size_t kDirectReadPiece = 4096;
constexpr std::size_t kLargestDirectReadPiece = 1u << 20;

}  // namespace

CVisaComSession::CVisaComSession() : CIoSession(nullptr, &connector_) {}

HRESULT CVisaComSession::Open(std::string_view descriptor, IInstrErrorPoller* poller,
                              errors::IErrorReporter* reporter, const keywords::IEnumFormatter* enums,
                              const IEnumLookupContext* context) {
    reporter_ = reporter;
    SetInstrErrorPoller(poller);
    SetEnumResolver(enums, context);
    const HRESULT hr = CIoSession::Open(descriptor, reporter);
    if (FAILED(hr)) connector_.Forget();
    return hr;
}

HRESULT CVisaComSession::GetInterfaceType(InterfaceType* type) {
    VisaConnection* connection = IsOpen() ? connector_.Last() : nullptr;
    if (!connection) return E_UNEXPECTED;
    return connection->GetInterfaceType(type);
}

HRESULT CVisaComSession::ConfigureSerial(const SerialSettings& s) {
    VisaConnection* connection = IsOpen() ? connector_.Last() : nullptr;
    if (!connection) return E_UNEXPECTED;
    const std::pair<visa::SerialAttribute, ULONG> settings[] = {
        {visa::SerialAttribute::EndIn, s.endIn},       {visa::SerialAttribute::EndOut, s.endOut},
        {visa::SerialAttribute::BaudRate, s.baudRate}, {visa::SerialAttribute::DataBits, s.dataBits},
        {visa::SerialAttribute::Parity, s.parity},     {visa::SerialAttribute::StopBits, s.stopBits},
        {visa::SerialAttribute::FlowControl, s.flowControl},
    };
    for (const auto& [attribute, value] : settings) {
        const HRESULT hr = connection->SetSerialAttribute(attribute, value);
        if (FAILED(hr)) return hr;
    }
    return S_OK;
}

// Reads one whole response straight into its final storage: each byte is copied once, by the
// transport. Pieces grow from 4096 bytes, so long replies take few transfers.
HRESULT CVisaComSession::ReadResponse(com::OwnedBytes& response) {
    ReadOperation operation(*this);
    std::size_t piece = kDirectReadPiece;
    HRESULT hr;
    do {
        if (!response.Reserve(piece)) return reporter_->Report<errors::MessageId::OutOfMemory>("Could not allocate memory for Read.");
        LONG actual = 0;
        hr = Read(response.data() + response.size(), static_cast<LONG>(piece), &actual, kUseSessionTimeout);
        if (FAILED(hr)) return hr;
        response.Grow(static_cast<std::size_t>(actual));
        piece = std::min<std::size_t>(piece * 2, kLargestDirectReadPiece);
    } while (hr == kStatusMoreData);
    return S_OK;
}

HRESULT CVisaComSession::ReadBytes(SAFEARRAY** data) {
    com::OwnedBytes response;
    const HRESULT hr = ReadResponse(response);
    if (FAILED(hr)) return hr;
    *data = response.ReleaseAsSafeArray();
    return *data ? S_OK : reporter_->Report<errors::MessageId::OutOfMemory>("Could not allocate SAFEARRAY memory for Read.");
}

HRESULT CVisaComSession::ReadString(BSTR* data) {
    com::OwnedBytes response;
    const HRESULT hr = ReadResponse(response);
    if (FAILED(hr)) return hr;
    *data = com::AllocBstr(std::string_view(reinterpret_cast<const char*>(response.data()), response.size()));
    return *data ? S_OK : reporter_->Report<errors::MessageId::OutOfMemory>("Could not allocate BSTR memory for Read.");
}

HRESULT CVisaComSession::WriteRaw(const BYTE* data, LONG count, LONG* written) {
    LONG total = 0;
    while (total < count) {
        LONG sent = 0;
        const HRESULT hr = Write(data + total, count - total, &sent, kUseSessionTimeout);
        total += sent;
        if (FAILED(hr)) {
            *written = total;
            return hr;
        }
        if (sent == 0) break;
    }
    *written = total;
    return total == count ? S_OK : ReportIoFailure(reporter_, "Write could not send all bytes.");
}

HRESULT CVisaComSession::WriteBytes(SAFEARRAY* data, LONG* written) {
    VARTYPE type = VT_EMPTY;
    if (!data || FAILED(SafeArrayGetVartype(data, &type)) || (type != VT_UI1 && type != VT_I1))
        return E_INVALIDARG;
    void* bytes = nullptr;
    if (FAILED(SafeArrayAccessData(data, &bytes))) return E_INVALIDARG;
    const HRESULT hr = WriteRaw(static_cast<const BYTE*>(bytes), static_cast<LONG>(data->rgsabound[0].cElements), written);
    SafeArrayUnaccessData(data);
    return hr;
}

HRESULT CVisaComSession::WriteString(BSTR data) {
    const std::string text = com::Utf8FromBstr(data);
    LONG written = 0;
    return WriteRaw(reinterpret_cast<const BYTE*>(text.data()), static_cast<LONG>(text.size()), &written);
}

HRESULT CVisaComSession::DirectIoObject(IUnknown** object) {
    *object = nullptr;
    return ReportIoFailure(reporter_, "The session has no separate formatted I/O object on this platform.");
}

}  // namespace zpv::io
