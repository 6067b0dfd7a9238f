// The driver's message-based session to the instrument. Until transports are registered with the
// resource manager, no resource can be opened and Open reports an unknown resource.
#pragma once

#include <string>
#include <string_view>

#include "errors/error_reporter.h"
#include "io/instr_error_poller.h"
#include "zpv4870_runtime.h"

namespace zpv::io {

// Timeout argument that keeps the session's own timeout.
inline constexpr LONG kUseSessionTimeout = -2;

// Hardware interface types as the session reports them.
enum class InterfaceType : LONG { Gpib = 0, Vxi = 1, GpibVxi = 2, Serial = 3, Pxi = 4, Tcpip = 5, Usb = 6, Other = 8 };

// Serial line settings applied at Initialize, in this order.
struct SerialSettings {
    LONG endIn = 2;      // end of read on the termination character
    LONG endOut = 0;     // no end-of-write action
    LONG baudRate = 9600;
    LONG dataBits = 8;
    LONG parity = 0;     // none
    LONG stopBits = 10;  // one stop bit
    LONG flowControl = 0;
};

class CVisaComSession {
public:
    CVisaComSession() = default;
    CVisaComSession(const CVisaComSession&) = delete;
    CVisaComSession& operator=(const CVisaComSession&) = delete;

    HRESULT Open(std::string_view descriptor, IInstrErrorPoller* poller, errors::IErrorReporter* reporter);
    HRESULT Close();
    bool IsOpen() const { return open_; }

    HRESULT GetInterfaceType(InterfaceType* type);
    HRESULT ConfigureSerial(const SerialSettings& settings);

    // Plain string transfers: no status poll (the poll itself uses these).
    HRESULT WriteString(std::string_view data, LONG timeoutMs = kUseSessionTimeout);
    HRESULT ReadString(std::string& data, LONG timeoutMs = kUseSessionTimeout);

    // Writes a command with END; then polls the instrument status.
    HRESULT WriteCommand(std::string_view command, LONG timeoutMs = kUseSessionTimeout);
    // Writes a command with END and reads one whole response as text; then polls.
    HRESULT QueryText(std::string_view command, std::string& response, LONG timeoutMs = kUseSessionTimeout);
    // As QueryText, the response read as a leading decimal integer.
    HRESULT QueryInteger(std::string_view command, LONG& value, LONG timeoutMs = kUseSessionTimeout);

    // Direct I/O: whole responses and raw writes, outside the formatted buffers.
    HRESULT ReadBytes(SAFEARRAY** data);
    HRESULT ReadString(BSTR* data);
    HRESULT WriteBytes(SAFEARRAY* data, LONG* written);
    HRESULT WriteString(BSTR data);
    HRESULT GetTimeout(LONG* timeoutMs);
    HRESULT SetTimeout(LONG timeoutMs);
    HRESULT DirectIoObject(IUnknown** object);

private:
    HRESULT NotConnected();

    bool open_ = false;
    IInstrErrorPoller* poller_ = nullptr;
    errors::IErrorReporter* reporter_ = nullptr;
};

}  // namespace zpv::io
