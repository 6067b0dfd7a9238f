// The driver's I/O session over the VISA-like resource manager: the formatted session, plus what
// only a VISA resource offers (interface type, serial line settings) and the direct I/O members.
#pragma once

#include <string>

#include "io/io_session.h"
#include "io/visa_connection.h"
#include "platform/com/owned_bytes.h"

namespace zpv::io {

// Serial line settings applied at Initialize, in this order (VISA values).
struct SerialSettings {
    ULONG endIn = 2;        // end of read on the termination character
    ULONG endOut = 0;       // nothing added at the end of a write
    ULONG baudRate = 9600;
    ULONG dataBits = 8;
    ULONG parity = 0;       // none
    ULONG stopBits = 10;    // one stop bit
    ULONG flowControl = 0;  // none
};

class CVisaComSession final : public CIoSession {
public:
    CVisaComSession();

    // Opens the resource; poller runs after every formatted exchange, enums/context serve
    // "%{Name}s".
    HRESULT Open(std::string_view descriptor, IInstrErrorPoller* poller, errors::IErrorReporter* reporter,
                 const keywords::IEnumFormatter* enums, const IEnumLookupContext* context);
    using CIoSession::Open;

    HRESULT GetInterfaceType(InterfaceType* type);

    // VISA attributes by identifier, converted to the result type; a value that does not convert
    // is reported as such ("GetAttribute could not convert attribute with ID %d to a UINT8 value.").
    HRESULT GetAttribute(ULONG id, BYTE* value);
    HRESULT GetAttribute(ULONG id, USHORT* value);
    HRESULT GetAttribute(ULONG id, ULONG* value);
    HRESULT GetAttribute(ULONG id, ULONGLONG* value);
    HRESULT GetAttribute(ULONG id, VARIANT_BOOL* value);
    HRESULT GetAttribute(ULONG id, BSTR* value);

    // Unbuffered transfers with their own timeout (kUseSessionTimeout keeps the session's) and no
    // instrument status poll after them.
    HRESULT LowLevelReadNoPoll(BYTE* buffer, LONG count, LONG* actual, LONG timeoutMs);
    HRESULT LowLevelReadStringNoPoll(BSTR* text, LONG count, LONG timeoutMs);
    HRESULT LowLevelWriteNoPoll(const BYTE* buffer, LONG count, LONG* written, LONG timeoutMs);
    HRESULT LowLevelWriteStringNoPoll(BSTR text, LONG* written, LONG timeoutMs);

    // Register, memory and asynchronous operations of VISA (In16, MoveOut32, ReadAsync, ...): a
    // message-based session has none; each reports which kind it lacks. Unknown names: E_INVALIDARG.
    HRESULT VisaOperation(std::string_view name);
    // Why the last Open failed, in the transport's words; empty after a success.
    const std::string& OpenFailure() const { return connector_.LastFailure(); }
    HRESULT ConfigureSerial(const SerialSettings& settings);

    // Direct I/O: whole responses and raw writes, outside the formatted buffers.
    HRESULT ReadBytes(SAFEARRAY** data);
    HRESULT ReadString(BSTR* data);
    // At most count bytes of the response into buffer: kStatusMoreData when the response goes on
    // (the rest stays for the next read), S_OK with its last byte. count 0 or no buffer reads nothing.
    HRESULT ReadInto(BYTE* buffer, LONG count, LONG* actual);
    HRESULT WriteBytes(SAFEARRAY* data, LONG* written);
    HRESULT WriteString(BSTR data);
    HRESULT DirectIoObject(IUnknown** object);

private:
    template <class T>
    HRESULT ConvertedAttribute(ULONG id, T* value, const char* parameter, const char* typeName);
    // Appends one whole response, read in pieces of at most 4096 bytes.
    HRESULT ReadResponse(com::OwnedBytes& response);
    HRESULT WriteRaw(const BYTE* data, LONG count, LONG* written);

    VisaConnector connector_;  // its last connection is ours while the session is open
    errors::IErrorReporter* reporter_ = nullptr;
};

}  // namespace zpv::io
