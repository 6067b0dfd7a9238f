#include "io/visa_com_session.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <limits>
#include <type_traits>

#include "io/counted_read.h"
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

namespace {

// The whole length of a reply that begins with a definite-length block header ("#<n><length>"),
// terminator included; 0 when the bytes so far hold no such header.
std::size_t DefiniteLength(const BYTE* data, std::size_t size) {
    if (size < 2 || data[0] != '#' || data[1] < '1' || data[1] > '9') return 0;
    const std::size_t digits = static_cast<std::size_t>(data[1] - '0');
    if (size < 2 + digits) return 0;
    std::size_t length = 0;
    for (std::size_t i = 0; i < digits; ++i) {
        if (data[2 + i] < '0' || data[2 + i] > '9') return 0;
        length = length * 10 + static_cast<std::size_t>(data[2 + i] - '0');
    }
    return 2 + digits + length + 1;
}

}  // namespace

// Reads one whole response into storage of its final size, each byte copied once, by the
// transport. The first piece shows whether the reply is a definite-length block: then its header
// sizes the storage (a block kept from an earlier reply of that size where there is one) and the
// rest arrives in one counted read, line feeds in the data being data. Other long replies grow
// their storage as they arrive, in pieces that double from 4096 bytes.
HRESULT CVisaComSession::ReadResponse(com::OwnedBytes& response) {
    ReadOperation operation(*this);
    const auto outOfMemory = [&] {
        return reporter_->Report<errors::MessageId::OutOfMemory>("Could not allocate memory for Read.");
    };
    BYTE head[kDirectReadPiece];
    LONG actual = 0;
    HRESULT hr = Read(head, sizeof head, &actual, kUseSessionTimeout);
    if (FAILED(hr)) return hr;
    const auto first = static_cast<std::size_t>(actual);
    // A line feed in a block's data is data, although on a socket it stopped the read.
    const bool stoppedInData = hr == S_OK && first > 0 && MayHaveStoppedAtTermChar(*this, head[first - 1]);
    const bool more = hr == kStatusMoreData || stoppedInData;
    const std::size_t block = more ? DefiniteLength(head, first) : 0;
    const std::size_t sized = block > first ? std::min(block, MaxResponseBytes()) : first;
    if (!response.Reserve(sized)) return outOfMemory();
    if (first) std::memcpy(response.data(), head, first);
    response.Grow(first);
    if (more && sized > first) {
        hr = ReadCounted(response.data() + first, static_cast<LONG>(sized - first), &actual);
        if (FAILED(hr)) return hr;
        response.Grow(static_cast<std::size_t>(actual));
    }
    for (std::size_t piece = kDirectReadPiece * 2; hr == kStatusMoreData;
         piece = std::min(piece * 2, kLargestDirectReadPiece)) {
        if (!response.Reserve(piece)) return outOfMemory();
        hr = Read(response.data() + response.size(), static_cast<LONG>(piece), &actual, kUseSessionTimeout);
        if (FAILED(hr)) return hr;
        response.Grow(static_cast<std::size_t>(actual));
    }
    return S_OK;
}

HRESULT CVisaComSession::ReadBytes(SAFEARRAY** data) {
    com::OwnedBytes response;
    const HRESULT hr = ReadResponse(response);
    if (FAILED(hr)) return hr;
    *data = response.ReleaseAsSafeArray();
    return *data ? S_OK : reporter_->Report<errors::MessageId::OutOfMemory>("Could not allocate SAFEARRAY memory for Read.");
}

HRESULT CVisaComSession::ReadInto(BYTE* buffer, LONG count, LONG* actual) {
    *actual = 0;
    if (!buffer || count <= 0) return S_OK;
    ReadOperation operation(*this);
    return Read(buffer, count, actual, kUseSessionTimeout);
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

namespace zpv::io {

// ----- VISA attributes by identifier

namespace {

using visa::AttributeValue;

// The value as the unsigned type T, as a variant conversion would make it; false when it cannot.
template <class T>
bool ConvertAttribute(const AttributeValue& value, T* out) {
    if constexpr (std::is_same_v<T, VARIANT_BOOL>) {
        switch (value.kind) {
            case AttributeValue::Kind::Boolean: *out = value.boolean ? VARIANT_TRUE : VARIANT_FALSE; return true;
            case AttributeValue::Kind::Number: *out = value.number ? VARIANT_TRUE : VARIANT_FALSE; return true;
            case AttributeValue::Kind::Text:
                if (value.text == "True" || value.text == "False") {
                    *out = value.text == "True" ? VARIANT_TRUE : VARIANT_FALSE;
                    return true;
                }
                return false;
        }
        return false;
    } else if constexpr (std::is_same_v<T, BSTR>) {
        const std::string text = value.kind == AttributeValue::Kind::Text      ? value.text
                                 : value.kind == AttributeValue::Kind::Boolean ? (value.boolean ? "True" : "False")
                                                                               : std::to_string(value.number);
        *out = com::AllocBstr(std::string_view(text));
        return *out != nullptr;
    } else {
        unsigned long long number = 0;
        switch (value.kind) {
            case AttributeValue::Kind::Number: number = value.number; break;
            case AttributeValue::Kind::Boolean:
                if (value.boolean) return false;  // VARIANT_TRUE is -1: no unsigned value
                break;
            case AttributeValue::Kind::Text: {
                const char* begin = value.text.data();
                const auto [end, ec] = std::from_chars(begin, begin + value.text.size(), number);
                if (ec != std::errc() || end != begin + value.text.size()) return false;
                break;
            }
        }
        if (number > std::numeric_limits<T>::max()) return false;
        *out = static_cast<T>(number);
        return true;
    }
}

}  // namespace

template <class T>
HRESULT CVisaComSession::ConvertedAttribute(ULONG id, T* value, const char* parameter, const char* typeName) {
    if (!value) return reporter_->Report<errors::MessageId::NullPointer>({}, "GetAttribute", parameter);
    VisaConnection* connection = IsOpen() ? connector_.Last() : nullptr;
    if (!connection) return E_UNEXPECTED;
    AttributeValue read;
    if (const HRESULT hr = connection->ReadAttribute(id, &read); FAILED(hr)) return hr;
    if (ConvertAttribute(read, value)) return S_OK;
    return ReportIoFailure(reporter_, FormatText("GetAttribute could not convert attribute with ID %ld to a %s value.",
                                                 static_cast<long>(id), typeName));
}

HRESULT CVisaComSession::GetAttribute(ULONG id, BYTE* value) { return ConvertedAttribute(id, value, "puchValue", "UINT8"); }
HRESULT CVisaComSession::GetAttribute(ULONG id, USHORT* value) { return ConvertedAttribute(id, value, "pusValue", "UINT16"); }
HRESULT CVisaComSession::GetAttribute(ULONG id, ULONG* value) { return ConvertedAttribute(id, value, "pulValue", "UINT32"); }
HRESULT CVisaComSession::GetAttribute(ULONG id, ULONGLONG* value) {
    return ConvertedAttribute(id, value, "pullValue", "UINT64");
}
HRESULT CVisaComSession::GetAttribute(ULONG id, VARIANT_BOOL* value) {
    return ConvertedAttribute(id, value, "pbValue", "boolean");
}
HRESULT CVisaComSession::GetAttribute(ULONG id, BSTR* value) {
    return ConvertedAttribute(id, value, "pbstrValue", "string");
}

// ----- low-level transfers

HRESULT CVisaComSession::LowLevelReadNoPoll(BYTE* buffer, LONG count, LONG* actual, LONG timeoutMs) {
    if (!buffer) return reporter_->Report<errors::MessageId::NullPointer>({}, "LowLevelReadNoPoll", "pBuf");
    LONG got = 0;
    const HRESULT hr = Read(buffer, std::max<LONG>(count, 0), &got, timeoutMs);
    if (actual) *actual = got;
    return hr;
}

HRESULT CVisaComSession::LowLevelReadStringNoPoll(BSTR* text, LONG count, LONG timeoutMs) {
    if (!text) return reporter_->Report<errors::MessageId::NullPointer>({}, "LowLevelReadStringNoPoll", "pbstrBuf");
    *text = nullptr;
    std::string bytes(static_cast<std::size_t>(std::max<LONG>(count, 0)), '\0');
    LONG got = 0;
    const HRESULT hr = Read(reinterpret_cast<BYTE*>(bytes.data()), static_cast<LONG>(bytes.size()), &got, timeoutMs);
    if (FAILED(hr)) return hr;
    *text = com::AllocBstr(std::string_view(bytes.data(), static_cast<std::size_t>(got)));
    return *text ? hr : reporter_->Report<errors::MessageId::OutOfMemory>("Could not allocate BSTR memory for Read.");
}

HRESULT CVisaComSession::LowLevelWriteNoPoll(const BYTE* buffer, LONG count, LONG* written, LONG timeoutMs) {
    if (!buffer) return reporter_->Report<errors::MessageId::NullPointer>({}, "LowLevelWriteNoPoll", "psaBuf");
    LONG sent = 0;
    const HRESULT hr = Write(buffer, std::max<LONG>(count, 0), &sent, timeoutMs);
    if (written) *written = sent;
    return hr;
}

HRESULT CVisaComSession::LowLevelWriteStringNoPoll(BSTR text, LONG* written, LONG timeoutMs) {
    if (!text) return reporter_->Report<errors::MessageId::NullPointer>({}, "LowLevelWriteStringNoPoll", "bstrBuf");
    const std::string narrow = com::Utf8FromBstr(text);
    LONG sent = 0;
    const HRESULT hr = Write(reinterpret_cast<const BYTE*>(narrow.data()), static_cast<LONG>(narrow.size()), &sent,
                             timeoutMs);
    if (written) *written = sent;
    return hr;
}

// ----- operations a message-based session does not have

namespace {

struct OperationFamily {
    std::string_view names[24];
    const char* message;
};

constexpr OperationFamily kUnsupportedOperations[] = {
    {{"In8", "In16", "In32", "Out8", "Out16", "Out32", "MoveIn8", "MoveIn16", "MoveIn32", "MoveOut8", "MoveOut16",
      "MoveOut32", "Move", "MapAddress", "UnmapAddress", "Peek8", "Peek16", "Peek32", "Poke8", "Poke16", "Poke32",
      "GetSourceBigEndian", "GetSourceIncrement", "GetManufacturerId"},
     "The VISA-COM session does not support register-based operations."},
    {{"GetDestinationBigEndian", "GetDestinationIncrement", "GetModelCode", "SetSourceBigEndian",
      "SetSourceIncrement", "SetDestinationBigEndian", "SetDestinationIncrement"},
     "The VISA-COM session does not support register-based operations."},
    {{"In64", "Out64", "MoveIn64", "MoveOut64", "Peek64", "Poke64", "MapAddress64", "Move64"},
     "The VISA-COM session does not support 64-bit register-based operations."},
    {{"AllocateMemory", "FreeMemory", "AllocateMemory64", "FreeMemory64"},
     "The VISA-COM session does not support shared memory register-based operations."},
    {{"ReadAsync", "WriteAsync"}, "The VISA-COM session does not support asynchronous messaging operations."},
    {{"MoveAsync", "MoveAsync64"}, "The VISA-COM session does not support the MoveAsync operation."},
};

}  // namespace

HRESULT CVisaComSession::VisaOperation(std::string_view name) {
    for (const OperationFamily& family : kUnsupportedOperations)
        for (std::string_view known : family.names)
            if (!known.empty() && known == name) return ReportIoFailure(reporter_, family.message);
    return E_INVALIDARG;
}

}  // namespace zpv::io
