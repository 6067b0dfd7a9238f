#include "errors/zpv4870_error_reporter.h"

#include "ZPV4870.h"

namespace zpv::errors {

CZPV4870ErrorReporter::CZPV4870ErrorReporter(const driver::ICallContextProvider* callContext)
    : CErrorReporter(CLSID_ZPV4870, callContext) {}

}  // namespace zpv::errors
