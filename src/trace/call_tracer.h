// What the method frame tells a call recorder. No recorder is attached while tracing is off, so
// the frame then pays one pointer test per call.
#pragma once

#include "context/call_context.h"
#include "zpv4870_runtime.h"

namespace zpv::trace {

class ICallTracer {
public:
    // A failure status from BeginCall fails the call before the member runs.
    virtual HRESULT BeginCall(const driver::MethodInfo& method) = 0;
    virtual void EndCall(const driver::MethodInfo& method, HRESULT status) = 0;

protected:
    ~ICallTracer() = default;
};

}  // namespace zpv::trace
