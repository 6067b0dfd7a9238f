// How a member of the command set reaches the instrument: its command formatted with the member's
// arguments and sent, or sent as a query whose response is parsed into the result.
#pragma once

#include "driver/call_context.h"
#include "driver/driver.h"

namespace zpv::commands {

// Who answers a member outside simulation.
enum class Access {
    Instrument,      // the instrument, through the member's command and response formats
    ClassCompliant,  // nobody: E_NOTIMPL (getters without a stored value read zero when simulating)
};

template <class T>
HRESULT Query(driver::CDriver& driver, const driver::MethodInfo&, const char*, const char*, T*) {
    return driver.Reporter().ReportNotInitialized();
}

template <class... Args>
HRESULT Send(driver::CDriver& driver, const driver::MethodInfo&, const char*, const Args&...) {
    return driver.Reporter().ReportNotInitialized();
}

}  // namespace zpv::commands
