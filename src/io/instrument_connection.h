// One open message-based resource: the byte transport plus the services the session offers on
// top of it. The session owns its connection and closes it at Close.
#pragma once

#include <string>
#include <string_view>

#include "io/low_level_io.h"

namespace zpv::io {

// Hardware interface types as the session reports them.
enum class InterfaceType : LONG { Gpib = 0, Vxi = 1, GpibVxi = 2, Serial = 3, Pxi = 4, Tcpip = 5, Usb = 6, Other = 8 };

class IInstrumentConnection : public ILowLevelIo {
public:
    virtual ~IInstrumentConnection() = default;

    virtual HRESULT Close() = 0;
    virtual HRESULT ReadStatusByte(SHORT* statusByte) = 0;
    virtual HRESULT Lock(LockMode mode, LONG timeoutMs, std::string_view requestedKey, std::string* accessKey) = 0;
    virtual HRESULT Unlock() = 0;
    // Drops what belongs to an answer abandoned after a failed read, also when it arrives late
    // (the transport's own means: device clear, or draining a byte stream until it is quiet).
    virtual HRESULT DiscardLateInput() = 0;

    // What the session needs to choose termination rules after opening.
    virtual HRESULT GetInterfaceType(InterfaceType* type) = 0;
    virtual HRESULT GetResourceClass(std::string* resourceClass) = 0;  // "INSTR", "SOCKET", ...
    virtual HRESULT GetResourceName(std::string* resourceName) = 0;
};

}  // namespace zpv::io
