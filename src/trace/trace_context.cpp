#include "trace/trace_context.h"

namespace zpv::trace {

HRESULT CTraceContext::Prepare(const std::string& driverIdentifier) {
    driverIdentifier_ = driverIdentifier;
    // The trace writer attaches here; until then an enabled trace records nothing.
    return S_OK;
}

}  // namespace zpv::trace
