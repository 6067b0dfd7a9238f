// What the method frame tells a call recorder. No recorder is attached while tracing is off, so
// the frame then pays one pointer test per call.
#pragma once

#include <cstdint>
#include <span>

#include "context/call_context.h"
#include "trace/parameter_record.h"
#include "zpv4870_runtime.h"

namespace zpv::trace {

// One call's state between BeginCall and EndCall, kept by the frame.
struct CallRecord {
    bool active = false;
    std::uint64_t start = 0;
};

class ICallTracer {
public:
    // A failure status from BeginCall fails the call before the member runs.
    virtual HRESULT BeginCall(const driver::MethodInfo& method, std::span<const ParameterRecord> parameters,
                              CallRecord& call) = 0;
    virtual void EndCall(const driver::MethodInfo& method, HRESULT status,
                         std::span<const ParameterRecord> parameters, CallRecord& call) = 0;

protected:
    ~ICallTracer() = default;
};

}  // namespace zpv::trace
