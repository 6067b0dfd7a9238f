// Opens a connection by resource descriptor; the lead transport registry implements it.
#pragma once

#include <memory>
#include <string_view>

#include "errors/error_reporter.h"
#include "io/instrument_connection.h"

namespace zpv::io {

class IInstrumentConnector {
public:
    // Reports its own failures through reporter (e.g. "Failed to open VISA resource.").
    virtual HRESULT Connect(std::string_view descriptor, LONG openTimeoutMs, errors::IErrorReporter& reporter,
                            std::unique_ptr<IInstrumentConnection>* connection) = 0;

protected:
    ~IInstrumentConnector() = default;
};

}  // namespace zpv::io
