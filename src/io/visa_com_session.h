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
    // Why the last Open failed, in the transport's words; empty after a success.
    const std::string& OpenFailure() const { return connector_.LastFailure(); }
    HRESULT ConfigureSerial(const SerialSettings& settings);

    // Direct I/O: whole responses and raw writes, outside the formatted buffers.
    HRESULT ReadBytes(SAFEARRAY** data);
    HRESULT ReadString(BSTR* data);
    HRESULT WriteBytes(SAFEARRAY* data, LONG* written);
    HRESULT WriteString(BSTR data);
    HRESULT DirectIoObject(IUnknown** object);

private:
    // Appends one whole response, read in pieces of at most 4096 bytes.
    HRESULT ReadResponse(com::OwnedBytes& response);
    HRESULT WriteRaw(const BYTE* data, LONG count, LONG* written);

    VisaConnector connector_;  // its last connection is ours while the session is open
    errors::IErrorReporter* reporter_ = nullptr;
};

}  // namespace zpv::io
