// The error reporter of the ZPV4870 driver object: publishes under the driver's coclass.
#pragma once

#include "errors/error_reporter.h"

namespace zpv::errors {

class CZPV4870ErrorReporter : public CErrorReporter {
public:
    explicit CZPV4870ErrorReporter(const driver::ICallContextProvider* callContext);
};

}  // namespace zpv::errors
