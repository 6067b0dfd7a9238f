#include "io/visa_com_session.h"

#include <cstring>

#include "io/io_failure.h"
#include "platform/com/text_conversion.h"

namespace zpv::io {

namespace {

constexpr LONG kDirectReadPiece = 4096;

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

HRESULT CVisaComSession::ReadResponse(std::string& response) {
    ReadOperation operation(*this);
    BYTE piece[kDirectReadPiece];
    HRESULT hr;
    do {
        LONG actual = 0;
        hr = Read(piece, kDirectReadPiece, &actual, kUseSessionTimeout);
        if (FAILED(hr)) return hr;
        response.append(reinterpret_cast<const char*>(piece), static_cast<std::size_t>(actual));
    } while (hr == kStatusMoreData);
    return S_OK;
}

HRESULT CVisaComSession::ReadBytes(SAFEARRAY** data) {
    std::string response;
    HRESULT hr = ReadResponse(response);
    if (FAILED(hr)) return hr;
    SAFEARRAY* array = SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(response.size()));
    if (!array) return E_OUTOFMEMORY;
    void* bytes = nullptr;
    SafeArrayAccessData(array, &bytes);
    if (!response.empty()) std::memcpy(bytes, response.data(), response.size());
    SafeArrayUnaccessData(array);
    *data = array;
    return S_OK;
}

HRESULT CVisaComSession::ReadString(BSTR* data) {
    std::string response;
    HRESULT hr = ReadResponse(response);
    if (FAILED(hr)) return hr;
    *data = com::AllocBstr(std::string_view(response));
    return *data ? S_OK : E_OUTOFMEMORY;
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
